#include "render/metal/MVGclip.h"

#include <algorithm>
#include <cmath>

namespace {

// Float rounding of the mask's inverse transform moves its edge by far less
// than this many pixels.
constexpr double kSparePixels = 2.0;

bool keeps_destination(mtl::BlendFactor f) {
    return f == mtl::BlendFactorOne || f == mtl::BlendFactorOneMinusSourceAlpha ||
           f == mtl::BlendFactorOneMinusSourceColor;
}

} // namespace

bool mvg_scissor_box(const VGscissor& s, float fringe, const float toDevice[2],
                     const unsigned viewport[2], mtl::ScissorRect& box) {
    if (s.extent[0] < -0.5f || s.extent[1] < -0.5f)
        return false;
    const double t0 = s.xform[0], t1 = s.xform[1], t2 = s.xform[2], t3 = s.xform[3];
    const double t4 = s.xform[4], t5 = s.xform[5];
    if (std::fabs(t0 * t3 - t2 * t1) < 1e-6) // the mask then runs through the identity
        return false;
    // The mask fades over half a fringe, measured with these lengths.
    const double lengthX = std::sqrt(t0 * t0 + t2 * t2), lengthY = std::sqrt(t1 * t1 + t3 * t3);
    const double ex = s.extent[0] + 0.5 * fringe / lengthX;
    const double ey = s.extent[1] + 0.5 * fringe / lengthY;
    double x0 = HUGE_VAL, y0 = HUGE_VAL, x1 = -HUGE_VAL, y1 = -HUGE_VAL;
    for (const double sx : {-ex, ex}) {
        for (const double sy : {-ey, ey}) {
            const double x = (t0 * sx + t2 * sy + t4) * toDevice[0];
            const double y = (t1 * sx + t3 * sy + t5) * toDevice[1];
            x0 = std::min(x0, x), x1 = std::max(x1, x);
            y0 = std::min(y0, y), y1 = std::max(y1, y);
        }
    }
    if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1))
        return false;
    const auto clamped = [](double v, unsigned side) {
        return static_cast<size_t>(std::clamp(v, 0.0, static_cast<double>(side)));
    };
    const size_t left = clamped(std::floor(x0 - kSparePixels), viewport[0]);
    const size_t top = clamped(std::floor(y0 - kSparePixels), viewport[1]);
    const size_t right = clamped(std::ceil(x1 + kSparePixels), viewport[0]);
    const size_t bottom = clamped(std::ceil(y1 + kSparePixels), viewport[1]);
    box = {left, top, right - left, bottom - top};
    return true;
}

bool mvg_blend_keeps_unreached(const MVGblend& blend) {
    return keeps_destination(blend.dstRGB) && keeps_destination(blend.dstAlpha);
}
