#include "benchmarks/RecordingCanvasVG.h"

#include "tests/support/RunFrame.h"

#include <stb/stb_image.h>

#include <cstring>

namespace bench {

namespace {

using Kind = DrawOp::Kind;
namespace ui = vx::ui;

// Marks a recorded call as running, so the calls it makes itself are not kept twice.
class Nested {
public:
    explicit Nested(int& depth) : depth(depth) { ++depth; }
    ~Nested() { --depth; }
    Nested(const Nested&) = delete;
    Nested& operator=(const Nested&) = delete;

private:
    int& depth;
};

ImagePixels Pixels(unsigned char* rgba, int w, int h) {
    ImagePixels image;
    if (!rgba)
        return image;
    image.width = w;
    image.height = h;
    image.rgba.assign(rgba, rgba + size_t(w) * size_t(h) * 4);
    stbi_image_free(rgba);
    return image;
}

} // namespace

DrawOp* RecordingCanvasVG::Record(Kind kind, const ui::IBlendSetting* blend) {
    if (!recording || depth > 0)
        return nullptr;
    DrawOp& op = ops.emplace_back();
    op.kind = kind;
    if (blend)
        op.blend = *blend;
    return &op;
}

bool RecordingCanvasVG::RecordFrame() {
    ops.clear();
    MarkAllControlsDirty();
    recording = true;
    const bool drew = vx::test::RunFrame(*this);
    recording = false;
    return drew;
}

void RecordingCanvasVG::Replay(const DrawOps& frame) {
    BeginContextUse();
    StartDrawFrame();
    for (const DrawOp& op : frame)
        Play(op);
    FinishDrawFrame();
    EndContextUse();
}

void RecordingCanvasVG::Play(const DrawOp& op) {
    const float* v = op.v;
    switch (op.kind) {
    case Kind::PathReset:
        return ICanvasVG::PathReset();
    case Kind::PathClose:
        return ICanvasVG::PathAddClose();
    case Kind::PathArc:
        return ICanvasVG::PathAddArc(v[0], v[1], v[2], v[3], v[4], op.i);
    case Kind::PathMove:
        return ICanvasVG::PathAddMove(v[0], v[1]);
    case Kind::PathLine:
        return ICanvasVG::PathAddLine(v[0], v[1]);
    case Kind::PathCubic:
        return ICanvasVG::PathAddCubic(v[0], v[1], v[2], v[3], v[4], v[5]);
    case Kind::PathQuad:
        return ICanvasVG::PathAddQuad(v[0], v[1], v[2], v[3]);
    case Kind::PathHole:
        return ICanvasVG::PathSetFillRule(op.flag);
    case Kind::Stroke:
        return ICanvasVG::PathStrokeCurrent(op.pattern, v[0], op.stroke, op.Blend());
    case Kind::Fill:
        return ICanvasVG::PathFillCurrent(op.pattern, op.fill, op.Blend());
    case Kind::Transform:
        // Through the toolkit's own transform, which text restores when it is done.
        PathMatrixReset(false);
        return PathMatrixMultiply(op.matrix);
    case Kind::Clip:
        return ICanvasVG::SetClipRect(op.rect);
    case Kind::Text:
        return ICanvasVG::DrawTextString(op.text, op.str.c_str(), op.rect, op.Blend());
    case Kind::WrappedText:
        return ICanvasVG::DrawWrappedText(op.text, op.str.c_str(), op.rect, op.Blend());
    case Kind::Bitmap:
        return ICanvasVG::DrawBitmapRegion(op.bitmap, op.rect, op.i, int(v[0]), op.Blend());
    case Kind::RectShadow:
        return ICanvasVG::DrawRectShadowFast(op.rect, op.rect2, op.Blend(), v[0], v[1], v[2]);
    }
}

void RecordingCanvasVG::PathReset() {
    Record(Kind::PathReset);
    ICanvasVG::PathReset();
}

void RecordingCanvasVG::PathAddClose() {
    Record(Kind::PathClose);
    ICanvasVG::PathAddClose();
}

void RecordingCanvasVG::PathAddArc(float cx, float cy, float r, float a1, float a2, int winding) {
    if (DrawOp* op = Record(Kind::PathArc)) {
        op->v[0] = cx, op->v[1] = cy, op->v[2] = r, op->v[3] = a1, op->v[4] = a2;
        op->i = winding;
    }
    ICanvasVG::PathAddArc(cx, cy, r, a1, a2, winding);
}

void RecordingCanvasVG::PathAddMove(float x, float y) {
    if (DrawOp* op = Record(Kind::PathMove))
        op->v[0] = x, op->v[1] = y;
    ICanvasVG::PathAddMove(x, y);
}

void RecordingCanvasVG::PathAddLine(float x, float y) {
    if (DrawOp* op = Record(Kind::PathLine))
        op->v[0] = x, op->v[1] = y;
    ICanvasVG::PathAddLine(x, y);
}

void RecordingCanvasVG::PathSetFillRule(bool hole) {
    if (DrawOp* op = Record(Kind::PathHole))
        op->flag = hole;
    ICanvasVG::PathSetFillRule(hole);
}

void RecordingCanvasVG::PathAddCubic(float c1x, float c1y, float c2x, float c2y, float x2,
                                     float y2) {
    if (DrawOp* op = Record(Kind::PathCubic)) {
        const float v[6] = {c1x, c1y, c2x, c2y, x2, y2};
        std::memcpy(op->v, v, sizeof v);
    }
    ICanvasVG::PathAddCubic(c1x, c1y, c2x, c2y, x2, y2);
}

void RecordingCanvasVG::PathAddQuad(float cx, float cy, float x2, float y2) {
    if (DrawOp* op = Record(Kind::PathQuad))
        op->v[0] = cx, op->v[1] = cy, op->v[2] = x2, op->v[3] = y2;
    ICanvasVG::PathAddQuad(cx, cy, x2, y2);
}

void RecordingCanvasVG::PathStrokeCurrent(const ui::IFillPattern& pattern, float thickness,
                                          const ui::IStrokeStyle& style,
                                          const ui::IBlendSetting* blend) {
    if (DrawOp* op = Record(Kind::Stroke, blend)) {
        op->pattern = pattern;
        op->v[0] = thickness;
        op->stroke = style;
    }
    const Nested nested(depth);
    ICanvasVG::PathStrokeCurrent(pattern, thickness, style, blend);
}

void RecordingCanvasVG::PathFillCurrent(const ui::IFillPattern& pattern,
                                        const ui::IFillStyle& style,
                                        const ui::IBlendSetting* blend) {
    if (DrawOp* op = Record(Kind::Fill, blend)) {
        op->pattern = pattern;
        op->fill = style;
    }
    const Nested nested(depth);
    ICanvasVG::PathFillCurrent(pattern, style, blend);
}

void RecordingCanvasVG::PathSetTransform(const ui::IAffineMatrix& matrix) {
    if (DrawOp* op = Record(Kind::Transform))
        op->matrix = matrix;
    ICanvasVG::PathSetTransform(matrix);
}

void RecordingCanvasVG::SetClipRect(const ui::IRECT& r) {
    if (DrawOp* op = Record(Kind::Clip))
        op->rect = r;
    ICanvasVG::SetClipRect(r);
}

void RecordingCanvasVG::DrawTextString(const ui::IText& text, const char* str,
                                       const ui::IRECT& bounds, const ui::IBlendSetting* blend) {
    if (!str)
        return ICanvasVG::DrawTextString(text, str, bounds, blend);
    if (DrawOp* op = Record(Kind::Text, blend))
        op->text = text, op->str = str, op->rect = bounds;
    const Nested nested(depth);
    ICanvasVG::DrawTextString(text, str, bounds, blend);
}

void RecordingCanvasVG::DrawWrappedText(const ui::IText& text, const char* str,
                                        const ui::IRECT& bounds, const ui::IBlendSetting* blend) {
    if (!str)
        return ICanvasVG::DrawWrappedText(text, str, bounds, blend);
    if (DrawOp* op = Record(Kind::WrappedText, blend))
        op->text = text, op->str = str, op->rect = bounds;
    const Nested nested(depth);
    ICanvasVG::DrawWrappedText(text, str, bounds, blend);
}

void RecordingCanvasVG::DrawBitmapRegion(const ui::IBitmapHandle& bitmap, const ui::IRECT& dest,
                                         int srcX, int srcY, const ui::IBlendSetting* blend) {
    if (DrawOp* op = Record(Kind::Bitmap, blend)) {
        op->bitmap = bitmap;
        op->rect = dest;
        op->i = srcX;
        op->v[0] = float(srcY);
    }
    const Nested nested(depth);
    ICanvasVG::DrawBitmapRegion(bitmap, dest, srcX, srcY, blend);
}

void RecordingCanvasVG::DrawRectShadowFast(const ui::IRECT& inner, const ui::IRECT& outer,
                                           const ui::IBlendSetting* blend, float offset,
                                           float roundness, float blur) {
    if (DrawOp* op = Record(Kind::RectShadow, blend)) {
        op->rect = inner, op->rect2 = outer;
        op->v[0] = offset, op->v[1] = roundness, op->v[2] = blur;
    }
    const Nested nested(depth);
    ICanvasVG::DrawRectShadowFast(inner, outer, blend, offset, roundness, blur);
}

std::unique_ptr<ui::APIBitmap> RecordingCanvasVG::DecodeImageFile(const char* path, int scale,
                                                                  int location, const char* ext) {
    auto bitmap = ICanvasVG::DecodeImageFile(path, scale, location, ext);
    if (bitmap && path) {
        int w = 0, h = 0, n = 0;
        unsigned char* rgba = stbi_load(path, &w, &h, &n, 4);
        images[bitmap.get()] = Pixels(rgba, w, h);
    }
    return bitmap;
}

std::unique_ptr<ui::APIBitmap>
RecordingCanvasVG::DecodeImageData(const char* name, const void* data, int size, int scale) {
    auto bitmap = ICanvasVG::DecodeImageData(name, data, size, scale);
    if (bitmap) {
        int w = 0, h = 0, n = 0;
        unsigned char* rgba =
            stbi_load_from_memory(static_cast<const stbi_uc*>(data), size, &w, &h, &n, 4);
        images[bitmap.get()] = Pixels(rgba, w, h);
    }
    return bitmap;
}

bool RecordingCanvasVG::RegisterFont(const char* fontID, const ui::PlatformFont& font) {
    const bool registered = ICanvasVG::RegisterFont(fontID, font);
    if (registered && fontID && !fonts.count(fontID))
        if (auto data = font.GetFontData(); data && data->IsValid())
            fonts[fontID] = std::move(data);
    return registered;
}

} // namespace bench
