// Text: measuring, single strings and wrapped rows.
#include "render/canvas/ICanvasVG.h"
#include "render/vg/VG.h"

#include <cstring>

namespace vx::ui {

namespace {

constexpr int kRowsPerBreak = 3;

struct Anchor {
    float x = 0.f, y = 0.f, factor = 0.f;
    int flags = 0;
};

// Where text is anchored in r and how the renderer aligns it there;
// alignments outside 0-2 leave their coordinate at 0 with no flag.
Anchor AnchorIn(const IText& t, const IRECT& r) {
    Anchor a;
    switch (t.align) {
    case 0:
        a.x = r.L, a.flags |= VG_ALIGN_LEFT;
        break;
    case 1:
        a.x = (r.L + r.R) / 2.f, a.flags |= VG_ALIGN_CENTER;
        break;
    case 2:
        a.x = r.R, a.flags |= VG_ALIGN_RIGHT;
        break;
    default:
        break;
    }
    switch (t.vAlign) {
    case 0:
        a.y = r.T, a.flags |= VG_ALIGN_TOP;
        break;
    case 1:
        a.y = (r.T + r.B) / 2.f, a.factor = 0.5f, a.flags |= VG_ALIGN_MIDDLE;
        break;
    case 2:
        a.y = r.B, a.factor = 1.f, a.flags |= VG_ALIGN_BOTTOM;
        break;
    default:
        break;
    }
    return a;
}

// Runs `row` on every wrapped row of the string, in order; answers the count.
template <class RowFunc>
int ForEachRow(VGdrawContext* ctx, const char* str, float width, RowFunc&& row) {
    const char* start = str;
    const char* end = str + std::strlen(str);
    VGwrapRow rows[kRowsPerBreak];
    int total = 0;
    while (int n = vg_text_break_lines(ctx, start, end, width, rows, kRowsPerBreak)) {
        for (int i = 0; i < n; ++i)
            row(rows[i]);
        total += n;
        start = rows[n - 1].next;
    }
    return total;
}

} // namespace

void ICanvasVG::PrepareText(const IText& t, const char* str, IRECT& r, float& x, float& y) const {
    vg_font_blur(context, 0.f);
    vg_font_size(context, t.size);
    vg_font_face(context, t.font);
    const Anchor a = AnchorIn(t, r);
    x = a.x, y = a.y;
    vg_text_align(context, a.flags);
    float bounds[4] = {};
    vg_text_bounds(context, x, y, str, nullptr, bounds);
    r = IRECT{bounds[0], bounds[1], bounds[2], bounds[3]};
}

float ICanvasVG::MeasureTextBounds(const IText& text, const char* str, IRECT& bounds) const {
    if (!context || !str)
        return 0.f;
    const IRECT original = bounds;
    float x = 0.f, y = 0.f;
    PrepareText(text, str, bounds, x, y);
    MeasureRotatedText(text, original, bounds);
    return bounds.W();
}

void ICanvasVG::DrawTextString(const IText& text, const char* str, const IRECT& bounds,
                               const IBlendSetting* blend) {
    if (!context || !str)
        return;
    IRECT measured = bounds;
    float x = 0.f, y = 0.f;
    PrepareText(text, str, measured, x, y);
    PathMatrixPush();
    if (text.angle != 0.f) {
        float dx = 0.f, dy = 0.f;
        TextRotationOffset(text, bounds, measured, dx, dy);
        PathMatrixTranslate(dx, dy);
        PathMatrixRotate(text.angle);
    }
    vg_fill_color(context, ColorOf(text.FGColor, blend));
    ApplyBlend(blend);
    vg_text(context, x, y, str, nullptr);
    vg_composite_operation(context, 0);
    PathMatrixPop();
}

void ICanvasVG::DrawWrappedText(const IText& text, const char* str, const IRECT& r,
                                const IBlendSetting* blend) {
    if (!context || !str)
        return;
    vg_save(context);
    vg_font_size(context, text.size);
    vg_font_face(context, text.font);
    const Anchor a = AnchorIn(text, r);
    vg_text_align(context, a.flags);
    float lineHeight = 0.f;
    vg_text_metrics(context, nullptr, nullptr, &lineHeight);
    vg_fill_color(context, ColorOf(text.FGColor, blend));
    const float width = r.R - r.L;
    const int rows = ForEachRow(context, str, width, [](const VGwrapRow&) {});
    float y = a.y - lineHeight * float(rows) * a.factor;
    ForEachRow(context, str, width, [&](const VGwrapRow& row) {
        vg_text(context, a.x, y, row.start, row.end);
        y += lineHeight;
    });
    vg_restore(context);
}

} // namespace vx::ui
