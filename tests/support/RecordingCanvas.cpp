#include "tests/support/RecordingCanvas.h"

#include <stb/stb_image.h>

#include <algorithm>

#include <cstdio>
#include <cstring>

namespace vx::test {

using namespace ui;

namespace {

class FakeBitmap : public APIBitmap {
public:
    using APIBitmap::APIBitmap;
};

class FakeFont : public PlatformFont {
public:
    FakeFont() { ++RecordingCanvas::liveFonts; }
    ~FakeFont() override { --RecordingCanvas::liveFonts; }
};

std::string Join(std::initializer_list<std::string> parts) {
    std::string out;
    for (const std::string& p : parts) {
        if (!out.empty())
            out += " ";
        out += p;
    }
    return out;
}

} // namespace

RecordingCanvas::~RecordingCanvas() {
    RemoveAllControls(); // controls may call back into the derived part while going
}

std::string RecordingCanvas::Num(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", v == 0.0 ? 0.0 : v);
    return buf;
}

std::string RecordingCanvas::Str(const IColor& c) {
    return Num(c.A) + "," + Num(c.R) + "," + Num(c.G) + "," + Num(c.B);
}

std::string RecordingCanvas::Str(const IRECT& r) {
    return Num(r.L) + "," + Num(r.T) + "," + Num(r.R) + "," + Num(r.B);
}

std::string RecordingCanvas::Str(const IBlendSetting* b) {
    return b ? "b(" + Num(b->type) + "," + Num(b->weight) + ")" : "-";
}

std::vector<std::string> RecordingCanvas::CallsStartingWith(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const std::string& c : calls)
        if (c.rfind(prefix, 0) == 0)
            out.push_back(c);
    return out;
}

void RecordingCanvas::DrawLine(const IColor& c, float x1, float y1, float x2, float y2,
                               const IBlendSetting* b, float t) {
    Record(Join({"DrawLine", Str(c), Num(x1), Num(y1), Num(x2), Num(y2), Str(b), Num(t)}));
    ICanvas::DrawLine(c, x1, y1, x2, y2, b, t);
}

void RecordingCanvas::DrawTriangle(const IColor& c, float x1, float y1, float x2, float y2,
                                   float x3, float y3, const IBlendSetting* b, float t) {
    Record(Join({"DrawTriangle", Str(c), Num(x1), Num(y1), Num(x2), Num(y2), Num(x3), Num(y3),
                 Str(b), Num(t)}));
    ICanvas::DrawTriangle(c, x1, y1, x2, y2, x3, y3, b, t);
}

void RecordingCanvas::DrawRect(const IColor& c, const IRECT& r, const IBlendSetting* b, float t) {
    Record(Join({"DrawRect", Str(c), Str(r), Str(b), Num(t)}));
    ICanvas::DrawRect(c, r, b, t);
}

void RecordingCanvas::DrawRoundRectCorners(const IColor& c, const IRECT& r, float tl, float tr,
                                           float bl, float br, const IBlendSetting* b, float t) {
    Record(Join({"DrawRoundRectCorners", Str(c), Str(r), Num(tl), Num(tr), Num(bl), Num(br), Str(b),
                 Num(t)}));
    ICanvas::DrawRoundRectCorners(c, r, tl, tr, bl, br, b, t);
}

void RecordingCanvas::DrawEllipse(const IColor& c, const IRECT& r, const IBlendSetting* b,
                                  float t) {
    Record(Join({"DrawEllipse", Str(c), Str(r), Str(b), Num(t)}));
    ICanvas::DrawEllipse(c, r, b, t);
}

void RecordingCanvas::FillTriangle(const IColor& c, float x1, float y1, float x2, float y2,
                                   float x3, float y3, const IBlendSetting* b) {
    Record(Join(
        {"FillTriangle", Str(c), Num(x1), Num(y1), Num(x2), Num(y2), Num(x3), Num(y3), Str(b)}));
    ICanvas::FillTriangle(c, x1, y1, x2, y2, x3, y3, b);
}

void RecordingCanvas::FillRect(const IColor& c, const IRECT& r, const IBlendSetting* b) {
    Record(Join({"FillRect", Str(c), Str(r), Str(b)}));
    ICanvas::FillRect(c, r, b);
}

void RecordingCanvas::FillRoundRectCorners(const IColor& c, const IRECT& r, float tl, float tr,
                                           float bl, float br, const IBlendSetting* b) {
    Record(
        Join({"FillRoundRectCorners", Str(c), Str(r), Num(tl), Num(tr), Num(bl), Num(br), Str(b)}));
    ICanvas::FillRoundRectCorners(c, r, tl, tr, bl, br, b);
}

void RecordingCanvas::FillCircle(const IColor& c, float cx, float cy, float r,
                                 const IBlendSetting* b) {
    Record(Join({"FillCircle", Str(c), Num(cx), Num(cy), Num(r), Str(b)}));
    ICanvas::FillCircle(c, cx, cy, r, b);
}

void RecordingCanvas::FillEllipse(const IColor& c, const IRECT& r, const IBlendSetting* b) {
    Record(Join({"FillEllipse", Str(c), Str(r), Str(b)}));
    ICanvas::FillEllipse(c, r, b);
}

void RecordingCanvas::DrawArc(const IColor& c, float cx, float cy, float r, float a1, float a2,
                              const IBlendSetting* b, float t) {
    Record(Join({"DrawArc", Str(c), Num(cx), Num(cy), Num(r), Num(a1), Num(a2), Str(b), Num(t)}));
    ICanvas::DrawArc(c, cx, cy, r, a1, a2, b, t);
}

void RecordingCanvas::DrawCircle(const IColor& c, float cx, float cy, float r,
                                 const IBlendSetting* b, float t) {
    Record(Join({"DrawCircle", Str(c), Num(cx), Num(cy), Num(r), Str(b), Num(t)}));
    ICanvas::DrawCircle(c, cx, cy, r, b, t);
}

void RecordingCanvas::FillArc(const IColor& c, float cx, float cy, float r, float a1, float a2,
                              const IBlendSetting* b) {
    Record(Join({"FillArc", Str(c), Num(cx), Num(cy), Num(r), Num(a1), Num(a2), Str(b)}));
    ICanvas::FillArc(c, cx, cy, r, a1, a2, b);
}

void RecordingCanvas::DrawDashedLine(const IColor& c, float x1, float y1, float x2, float y2,
                                     const IBlendSetting* b, float t, float dash) {
    Record(Join(
        {"DrawDashedLine", Str(c), Num(x1), Num(y1), Num(x2), Num(y2), Str(b), Num(t), Num(dash)}));
    ICanvas::DrawDashedLine(c, x1, y1, x2, y2, b, t, dash);
}

void RecordingCanvas::DrawConvexPolygon(const IColor& c, const float* x, const float* y, int n,
                                        const IBlendSetting* b, float t) {
    Record(Join({"DrawConvexPolygon", Str(c), Num(n), Str(b), Num(t)}));
    ICanvas::DrawConvexPolygon(c, x, y, n, b, t);
}

void RecordingCanvas::FillConvexPolygon(const IColor& c, const float* x, const float* y, int n,
                                        const IBlendSetting* b) {
    Record(Join({"FillConvexPolygon", Str(c), Num(n), Str(b)}));
    ICanvas::FillConvexPolygon(c, x, y, n, b);
}

void RecordingCanvas::DrawGrid(const IColor& c, const IRECT& r, float w, float h,
                               const IBlendSetting* b, float t) {
    Record(Join({"DrawGrid", Str(c), Str(r), Num(w), Num(h), Str(b), Num(t)}));
    ICanvas::DrawGrid(c, r, w, h, b, t);
}

void RecordingCanvas::DrawData(const IColor& c, const IRECT& r, const float* y, int n,
                               const float* x, const IBlendSetting* b, float t,
                               const IColor* fill) {
    Record(Join({"DrawData", Str(c), Str(r), Num(n), Str(b), Num(t), fill ? Str(*fill) : "-"}));
    ICanvas::DrawData(c, r, y, n, x, b, t, fill);
}

void RecordingCanvas::DrawSVG(const ISVGHandle& svg, const IRECT& r, const IBlendSetting* b,
                              const IColor* stroke, const IColor* fill) {
    std::string call = Join({"DrawSVG", Str(r), Str(b)});
    if (stroke)
        call += " stroke " + Str(*stroke);
    if (fill)
        call += " fill " + Str(*fill);
    Record(call);
    ICanvas::DrawSVG(svg, r, b, stroke, fill);
}

void RecordingCanvas::DrawRotatedSVG(const ISVGHandle& svg, float cx, float cy, float w, float h,
                                     double angle, const IBlendSetting* b) {
    Record(Join({"DrawRotatedSVG", Num(cx), Num(cy), Num(w), Num(h), Num(angle), Str(b)}));
    ICanvas::DrawRotatedSVG(svg, cx, cy, w, h, angle, b);
}

void RecordingCanvas::DrawRotatedBitmap(const IBitmapHandle& bmp, float cx, float cy, double angle,
                                        const IBlendSetting* b) {
    Record(Join({"DrawRotatedBitmap", bmp.name.Get(), Num(cx), Num(cy), Num(angle), Str(b)}));
    ICanvas::DrawRotatedBitmap(bmp, cx, cy, angle, b);
}

bool RecordingCanvas::RunColorPicker(IColor& color, const char* title,
                                     ColorPickerCompletion completion) {
    Record(Join({"RunColorPicker", Str(color), title ? title : ""}));
    if (colorPickerAnswers.empty())
        return false;
    const IColor answer = colorPickerAnswers.front();
    colorPickerAnswers.pop_front();
    color = answer;
    if (completion)
        pendingColorAnswer = [completion, answer] { completion(answer); };
    return true;
}

bool RecordingCanvas::AnswerTextEntry() {
    if (textEntryAnswers.empty())
        return false;
    const std::string text = textEntryAnswers.front();
    textEntryAnswers.pop_front();
    ApplyTextEntryValue(text.c_str());
    return true;
}

void RecordingCanvas::DrawBitmapRegion(const IBitmapHandle& bmp, const IRECT& dest, int sx, int sy,
                                       const IBlendSetting* b) {
    Record(Join({"DrawBitmapRegion", bmp.name.Get(), Str(dest), Num(sx), Num(sy), Str(b)}));
}

bool RecordingCanvas::IsImageExtensionSupported(const char* ext) const {
    return ext && (std::strcmp(ext, "png") == 0 || std::strcmp(ext, "jpg") == 0);
}

void RecordingCanvas::PathAddArc(float cx, float cy, float r, float a1, float a2, int winding) {
    Record(Join({"PathAddArc", Num(cx), Num(cy), Num(r), Num(a1), Num(a2), Num(winding)}));
}

void RecordingCanvas::PathAddMove(float x, float y) {
    Record(Join({"PathAddMove", Num(x), Num(y)}));
}

void RecordingCanvas::PathAddLine(float x, float y) {
    Record(Join({"PathAddLine", Num(x), Num(y)}));
}

void RecordingCanvas::PathAddCubic(float a, float b, float c, float d, float e, float f) {
    Record(Join({"PathAddCubic", Num(a), Num(b), Num(c), Num(d), Num(e), Num(f)}));
}

void RecordingCanvas::PathAddQuad(float a, float b, float c, float d) {
    Record(Join({"PathAddQuad", Num(a), Num(b), Num(c), Num(d)}));
}

void RecordingCanvas::PathStrokeCurrent(const IFillPattern& p, float t, const IStrokeStyle& s,
                                        const IBlendSetting* b) {
    Record(Join({"PathStrokeCurrent", Str(p.stops[0].color), Num(t), Num(s.dashCount), Str(b)}));
}

void RecordingCanvas::PathFillCurrent(const IFillPattern& p, const IFillStyle& s,
                                      const IBlendSetting* b) {
    Record(
        Join({"PathFillCurrent", Str(p.stops[0].color), Num(s.fillRule), Num(s.keepPath), Str(b)}));
}

void RecordingCanvas::PathSetTransform(const IAffineMatrix& m) {
    Record(Join(
        {"PathSetTransform", Num(m.xx), Num(m.yx), Num(m.xy), Num(m.yy), Num(m.tx), Num(m.ty)}));
}

void RecordingCanvas::SetClipRect(const IRECT& r) {
    Record(Join({"SetClipRect", Str(r)}));
}

void RecordingCanvas::QueryMousePosition(float& x, float& y) const {
    x = mouseX;
    y = mouseY;
}

void RecordingCanvas::SetCursorHidden(bool hide, bool lock) {
    Record(Join({"SetCursorHidden", Num(hide), Num(lock)}));
    cursorHidden = hide;
}

int RecordingCanvas::SetCursorShape(int kind) {
    Record(Join({"SetCursorShape", Num(kind)}));
    return ICanvas::SetCursorShape(kind);
}

void RecordingCanvas::WarpMouseCursor(float x, float y) {
    Record(Join({"WarpMouseCursor", Num(x), Num(y)}));
    mouseX = x;
    mouseY = y;
}

bool RecordingCanvas::ReadClipboardText(VxString& out) {
    out.SetBounded(clipboard.Get());
    return clipboard.GetLength() > 0;
}

bool RecordingCanvas::WriteClipboardText(const char* utf8) {
    clipboard.SetBounded(utf8);
    return true;
}

EMsgBoxResult RecordingCanvas::RunMessageBox(const char* text, const char* caption,
                                             EMsgBoxButtons buttons, MsgBoxCompletion completion) {
    ClearMouseCapture();
    Record(Join({"RunMessageBox", text, caption, Num(static_cast<int>(buttons))}));
    EMsgBoxResult result = EMsgBoxResult::OK;
    if (!messageBoxAnswers.empty()) {
        result = messageBoxAnswers.front();
        messageBoxAnswers.pop_front();
    }
    if (messageBoxAnswersLater) {
        pendingMessageBoxAnswers.push_back([completion, result] {
            if (completion)
                completion(result);
        });
        return EMsgBoxResult::None;
    }
    if (completion)
        completion(result);
    return result;
}

bool RecordingCanvas::AnswerMessageBox() {
    if (pendingMessageBoxAnswers.empty())
        return false;
    const std::function<void()> answer = std::move(pendingMessageBoxAnswers.front());
    pendingMessageBoxAnswers.pop_front();
    answer();
    return true;
}

void RecordingCanvas::RunFileDialog(VxString& fileName, VxString& dir, EFileAction action,
                                    const char* extensions, FileDialogCompletion completion) {
    Record(Join({"RunFileDialog", Num(static_cast<int>(action)), extensions ? extensions : ""}));
    fileDialogStartNames.emplace_back(fileName.Get());
    fileName.SetBounded("");
    if (!fileDialogAnswers.empty()) {
        const std::string path = fileDialogAnswers.front();
        fileDialogAnswers.pop_front();
        fileName.SetBounded(path.c_str());
        const size_t slash = path.rfind('/');
        dir.SetBounded(slash == std::string::npos ? "" : path.substr(0, slash + 1).c_str());
    }
    if (completion)
        completion(fileName, dir);
}

void RecordingCanvas::RunFolderDialog(VxString& dir, FileDialogCompletion completion) {
    VxString none;
    RunFileDialog(none, dir, EFileAction::Open, "", nullptr);
    dir.SetBounded(none.Get());
    if (completion)
        completion(none, dir);
}

bool RecordingCanvas::OpenInBrowser(const char* url) {
    Record(Join({"OpenInBrowser", url}));
    return browserOpens;
}

int RecordingCanvas::liveFonts = 0;

std::unique_ptr<PlatformFont> RecordingCanvas::FontFromResourceFile(const char*, const char* file) {
    return file && *file ? std::make_unique<FakeFont>() : nullptr;
}

std::unique_ptr<PlatformFont> RecordingCanvas::FontFromMemory(const char*, const void* data,
                                                              int size) {
    return data && size > 0 ? std::make_unique<FakeFont>() : nullptr;
}

std::unique_ptr<PlatformFont> RecordingCanvas::FontFromFamilyStyle(const char*, const char* family,
                                                                   const char*) {
    return family && *family ? std::make_unique<FakeFont>() : nullptr;
}

bool RecordingCanvas::RegisterFont(const char* fontID, const PlatformFont&) {
    Record(Join({"RegisterFont", fontID}));
    return fontsRegister;
}

void RecordingCanvas::CachePlatformFont(const char* fontID, std::unique_ptr<PlatformFont> font) {
    cachedFonts.push_back(fontID);
    fontCache.push_back(std::move(font));
}

void RecordingCanvas::ShowNativeTextEntry(int paramIdx, const IText&, const IRECT& bounds,
                                          int length, const char* initial) {
    Record(Join({"ShowNativeTextEntry", Num(paramIdx), Str(bounds), Num(length), initial}));
}

IPopupMenu* RecordingCanvas::ShowNativePopupMenu(IPopupMenu& menu, bool& answersLater,
                                                 const IRECT& bounds) {
    Record(Join({"ShowNativePopupMenu", Num(menu.NItems()), Str(bounds)}));
    lastNativeMenu = &menu;
    answersLater = nativeMenuAnswersLater;
    menu.SetChosenItemIdx(nativeMenuChoice);
    return nativeMenuChoice >= 0 ? &menu : nullptr;
}

std::unique_ptr<APIBitmap> RecordingCanvas::DecodeImageFile(const char* path, int scale, int,
                                                            const char*) {
    ++decodeCount;
    decodedPaths.push_back(path);
    int w = 0, h = 0, comp = 0;
    if (!stbi_info(path, &w, &h, &comp))
        return nullptr;
    return std::make_unique<FakeBitmap>(w, h, float(scale), 1.f);
}

std::unique_ptr<APIBitmap> RecordingCanvas::DecodeImageData(const char*, const void* data, int size,
                                                            int scale) {
    ++decodeCount;
    int w = 0, h = 0, comp = 0;
    if (!stbi_info_from_memory(static_cast<const stbi_uc*>(data), size, &w, &h, &comp))
        return nullptr;
    return std::make_unique<FakeBitmap>(w, h, float(scale), 1.f);
}

std::unique_ptr<APIBitmap>
RecordingCanvas::CreateOffscreenBitmap(int w, int h, bool, float screenScale, float drawScale) {
    Record(Join({"CreateOffscreenBitmap", Num(w), Num(h), Num(screenScale), Num(drawScale)}));
    return std::make_unique<FakeBitmap>(w, h, screenScale, drawScale);
}

void RecordingCanvas::ReadLayerPixels(const IOffscreenLayer& layer, VxHeapBuf& out) {
    const int size = layer.bitmap ? layer.bitmap->width * layer.bitmap->height * 4 : 0;
    out.Resize(size);
    if (size > 0) {
        std::memset(out.Get(), 0, static_cast<size_t>(size));
        std::memcpy(out.Get(), layerPixels.data(), std::min(layerPixels.size(), size_t(size)));
    }
}

void RecordingCanvas::ApplyLayerShadow(IOffscreenLayer&, const VxHeapBuf& mask,
                                       const ILayerShadow&) {
    const auto* bytes = static_cast<const uint8_t*>(mask.Get());
    lastShadowMask.assign(bytes, bytes + mask.GetSize());
    Record("ApplyLayerShadow");
}

APIBitmap* RecordingCanvas::MakeBitmap(int width, int height, float scale) {
    return new FakeBitmap(width, height, scale, 1.f);
}

float RecordingCanvas::MeasureTextBounds(const IText& text, const char* str, IRECT& bounds) const {
    float w = float(std::strlen(str)) * text.size * 0.5f;
    if (kerningPair.size() == 2)
        for (const char* p = std::strstr(str, kerningPair.c_str()); p;
             p = std::strstr(p + 1, kerningPair.c_str()))
            w -= kerningAdjust;
    bounds = {bounds.L, bounds.T, bounds.L + w, bounds.T + text.size};
    return w;
}

void RecordingCanvas::DrawTextString(const IText& text, const char* str, const IRECT& bounds,
                                     const IBlendSetting* blend) {
    Record(Join({"DrawTextString", str, Str(bounds), Num(text.size), Str(blend)}));
}

void RecordingCanvas::StartDrawFrame() {
    Record("StartDrawFrame");
    ICanvas::StartDrawFrame();
}

void RecordingCanvas::ResizeNativeView(bool flag) {
    Record(Join({"ResizeNativeView", Num(flag)}));
}

} // namespace vx::test
