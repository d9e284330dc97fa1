// Paths, paints, blends, the transform and the clip on the renderer.
#include "render/canvas/ICanvasVG.h"
#include "render/vg/VG.h"

#include <algorithm>
#include <cmath>

namespace vx::ui {

namespace {

constexpr float kPi = 3.1415927f;

struct Point {
    float x, y;
};

// Maps (x, y) through the pattern transform's inverse; a singular transform
// counts as the identity, as the renderer's own inverse does.
Point InversePoint(const IAffineMatrix& m, double x, double y) {
    const double det = m.xx * m.yy - m.xy * m.yx;
    if (std::fabs(det) < 1e-6)
        return {float(x), float(y)};
    const double ix = (m.yy * x - m.xy * y + (m.xy * m.ty - m.yy * m.tx)) / det;
    const double iy = (-m.yx * x + m.xx * y + (m.yx * m.tx - m.xx * m.ty)) / det;
    return {float(ix), float(iy)};
}

// A gradient without stops draws nothing (it has no last stop).
bool IsEmptyGradient(const IFillPattern& pattern) {
    return pattern.type != IFillPattern::Solid && pattern.nStops <= 0;
}

} // namespace

VGcolor ICanvasVG::ColorOf(const IColor& c, const IBlendSetting* blend) const {
    const float weight = blend ? blend->weight : 1.f;
    return vg_rgba_f(float(c.R) / 255.f, float(c.G) / 255.f, float(c.B) / 255.f,
                     float(c.A) * weight / 255.f);
}

void ICanvasVG::ApplyBlend(const IBlendSetting* blend) {
    if (!blend || blend->type == 0)
        vg_composite_operation(context, 0);
    else if (blend->type >= 1 && blend->type <= 7)
        vg_composite_operation(context, blend->type);
    else if (blend->type == 8)
        vg_composite_blend_func(context, VG_SRC_ALPHA, VG_DST_ALPHA);
    else if (blend->type == 9)
        vg_composite_operation(context, 10);
}

VGpaint ICanvasVG::PatternToPaint(const IFillPattern& pattern, const IBlendSetting* blend) {
    const IAffineMatrix& m = pattern.transform;
    const int count = std::min(pattern.nStops, IFillPattern::kMaxStops);
    const VGcolor inner = ColorOf(pattern.stops[0].color, blend);
    const VGcolor outer = ColorOf(pattern.stops[std::max(count, 1) - 1].color, blend);
    const Point s = InversePoint(m, 0.0, 0.0);
    if (pattern.type == IFillPattern::Radial) {
        const double det = m.xx * m.yy - m.xy * m.yx;
        const float radius = std::fabs(det) < 1e-6 ? 1.f : float(m.yy / det);
        return vg_radial_gradient(context, s.x, s.y, pattern.stops[0].offset * radius, radius,
                                  inner, outer);
    }
    const Point e = InversePoint(m, 0.0, 1.0);
    return vg_linear_gradient(context, s.x, s.y, e.x, e.y, inner, outer);
}

void ICanvasVG::PathReset() {
    if (context)
        vg_begin_path(context);
}

void ICanvasVG::PathAddClose() {
    if (context)
        vg_close_path(context);
}

void ICanvasVG::PathAddArc(float cx, float cy, float r, float a1, float a2, int winding) {
    if (context)
        vg_arc(context, cx, cy, r, (a1 - 90.f) / 180.f * kPi, (a2 - 90.f) / 180.f * kPi,
               winding == 0 ? VG_CW : VG_CCW);
}

void ICanvasVG::PathAddMove(float x, float y) {
    if (context)
        vg_move_to(context, x, y);
}

void ICanvasVG::PathAddLine(float x, float y) {
    if (context)
        vg_line_to(context, x, y);
}

void ICanvasVG::PathSetFillRule(bool hole) {
    if (context)
        vg_path_winding(context, int(hole) + 1);
}

void ICanvasVG::PathAddCubic(float c1x, float c1y, float c2x, float c2y, float x2, float y2) {
    if (context)
        vg_bezier_to(context, c1x, c1y, c2x, c2y, x2, y2);
}

void ICanvasVG::PathAddQuad(float cx, float cy, float x2, float y2) {
    if (context)
        vg_quad_to(context, cx, cy, x2, y2);
}

void ICanvasVG::PathStrokeCurrent(const IFillPattern& pattern, float thickness,
                                  const IStrokeStyle& style, const IBlendSetting* blend) {
    if (!context)
        return;
    if (IsEmptyGradient(pattern))
        return EndPath(style.keepPath);
    if (style.cap >= 0 && style.cap <= 2)
        vg_set_line_cap(context, style.cap);
    static constexpr int kJoins[] = {VG_MITER, VG_ROUND, VG_BEVEL};
    if (style.join >= 0 && style.join <= 2)
        vg_set_line_join(context, kJoins[style.join]);
    vg_set_miter_limit(context, style.miterLimit);
    vg_set_stroke_width(context, thickness);
    if (pattern.type == IFillPattern::Solid)
        vg_stroke_color(context, ColorOf(pattern.stops[0].color, blend));
    else
        vg_stroke_paint(context, PatternToPaint(pattern, blend));
    vg_path_winding(context, VG_SOLID);
    PaintPath(vg_stroke, blend, style.keepPath);
}

void ICanvasVG::PathFillCurrent(const IFillPattern& pattern, const IFillStyle& style,
                                const IBlendSetting* blend) {
    if (!context)
        return;
    if (IsEmptyGradient(pattern))
        return EndPath(style.keepPath);
    if (style.fillRule == IFillStyle::Winding)
        vg_path_winding(context, VG_SOLID);
    else if (style.fillRule == IFillStyle::EvenOdd)
        vg_path_winding(context, VG_HOLE);
    if (pattern.type == IFillPattern::Solid)
        vg_fill_color(context, ColorOf(pattern.stops[0].color, blend));
    else
        vg_fill_paint(context, PatternToPaint(pattern, blend));
    PaintPath(vg_fill, blend, style.keepPath);
}

void ICanvasVG::PaintPath(void (*paint)(VGdrawContext*), const IBlendSetting* blend,
                          bool keepPath) {
    ApplyBlend(blend);
    paint(context);
    vg_composite_operation(context, 0);
    EndPath(keepPath);
}

void ICanvasVG::EndPath(bool keepPath) {
    if (!keepPath)
        vg_begin_path(context);
}

void ICanvasVG::PathSetTransform(const IAffineMatrix& m) {
    if (!context)
        return;
    const IOffscreenLayer* top = TopLayer();
    const float ox = top ? -top->bounds.L : 0.f, oy = top ? -top->bounds.T : 0.f;
    vg_reset_transform(context);
    vg_scale(context, drawScale, drawScale);
    vg_translate(context, ox, oy);
    vg_transform(context, float(m.xx), float(m.yx), float(m.xy), float(m.yy), float(m.tx),
                 float(m.ty));
}

void ICanvasVG::SetClipRect(const IRECT& r) {
    if (context)
        vg_scissor(context, r.L, r.T, r.R - r.L, r.B - r.T);
}

} // namespace vx::ui
