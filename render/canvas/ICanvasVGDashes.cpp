// Dashed lines and rectangles, and the fast rectangle shadow.
#include "render/canvas/ICanvasVG.h"
#include "render/vg/VG.h"
#include "toolkit/ICanvasConstants.h"

#include <algorithm>
#include <cmath>

namespace vx::ui {

namespace {

// More pieces than this are a mistake, not a dash pattern.
constexpr float kMaxDashPieces = 100000.f;

bool UsablePieceCount(float n) {
    return std::isfinite(n) && n <= kMaxDashPieces;
}

} // namespace

void ICanvasVG::StrokeSolidPath(const IColor& color, float thickness, const IBlendSetting* blend) {
    IStrokeStyle style;
    style.miterLimit = 10.f;
    PathStrokeCurrent(IFillPattern(color), thickness, style, blend);
}

void ICanvasVG::DrawDashedLine(const IColor& color, float x1, float y1, float x2, float y2,
                               const IBlendSetting* blend, float thickness, float dashLen) {
    if (!context)
        return;
    const float dx = x2 - x1, dy = y2 - y1;
    const float n = std::round(std::sqrt(dx * dx + dy * dy) / dashLen);
    PathAddMove(x1, y1);
    if (dashLen <= 0.f || !UsablePieceCount(n)) {
        PathAddLine(x2, y2); // no sensible dash: the solid line
    } else {
        for (int i = 1; float(i) < n; i += 2) {
            PathAddLine(x1 + dx * float(i) / n, y1 + dy * float(i) / n);
            PathAddMove(x1 + dx * float(i + 1) / n, y1 + dy * float(i + 1) / n);
        }
    }
    StrokeSolidPath(color, thickness, blend);
}

void ICanvasVG::DrawDashedRect(const IColor& color, const IRECT& r, const IBlendSetting* blend,
                               float thickness, float d) {
    if (!context)
        return;
    const float nx = std::ceil((r.R - r.L) / (2.f * d)), ny = std::ceil((r.B - r.T) / (2.f * d));
    if (d <= 0.f || !UsablePieceCount(nx) || !UsablePieceCount(ny)) {
        PathAddRect(r); // no sensible dash: the solid outline
        StrokeSolidPath(color, thickness, blend);
        return;
    }
    float x = r.L, y = r.T;
    // One edge: `count` drawn pieces, each followed by a skipped one, kept inside r.
    const auto walk = [&](float dx, float dy, float count) {
        const auto step = [&] {
            x = std::clamp(x + dx, r.L, r.R);
            y = std::clamp(y + dy, r.T, r.B);
        };
        for (int i = 0; float(i) < count; ++i) {
            step();
            PathAddLine(x, y);
            step();
            PathAddMove(x, y);
        }
    };
    PathAddMove(x, y);
    if (nx >= 1.f && ny >= 1.f) {
        walk(d, 0.f, nx);
        walk(0.f, d, ny);
        walk(-d, 0.f, nx);
        walk(0.f, -d, ny);
    } else if (nx < 1.f) {
        walk(0.f, d, ny);
        walk(0.f, -d, ny);
    } else {
        walk(d, 0.f, nx);
        walk(-d, 0.f, nx);
    }
    StrokeSolidPath(color, thickness, blend);
}

void ICanvasVG::DrawRectShadowFast(const IRECT& i, const IRECT& o, const IBlendSetting* blend,
                                   float offset, float roundness, float blur) {
    if (!context)
        return;
    const VGpaint paint =
        vg_box_gradient(context, i.L + offset, i.T + offset, i.R - i.L, i.B - i.T, roundness, blur,
                        ColorOf(kColorBlackDropShadow, blend), vg_rgba_f(0.f, 0.f, 0.f, 0.f));
    vg_begin_path(context);
    vg_rect(context, o.L, o.T, o.R - o.L, o.B - o.T);
    vg_fill_paint(context, paint);
    vg_composite_operation(context, 0);
    vg_fill(context);
    vg_begin_path(context);
}

} // namespace vx::ui
