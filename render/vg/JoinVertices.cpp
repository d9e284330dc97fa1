#include "render/util/SafeConvert.h"
#include "render/vg/VGTessellate.h"

#include <cmath>

namespace {

// The two outer corner points of a join: both at the miter point, or at the
// ends of the two segments' offsets when the inner miter would be too long.
void choose_bevel(bool bevel, const VGtessPoint& p0, const VGtessPoint& p1, float w, float* x0,
                  float* y0, float* x1, float* y1) {
    if (bevel) {
        *x0 = p1.x + p0.dy * w;
        *y0 = p1.y - p0.dx * w;
        *x1 = p1.x + p1.dy * w;
        *y1 = p1.y - p1.dx * w;
    } else {
        *x0 = p1.x + p1.dmx * w;
        *y0 = p1.y + p1.dmy * w;
        *x1 = p1.x + p1.dmx * w;
        *y1 = p1.y + p1.dmy * w;
    }
}

int arc_steps(float sweep, int ncap) {
    return clamp_to_int(std::ceil(sweep / VG_PI * static_cast<float>(ncap)), 2, ncap);
}

} // namespace

VGvertex* vg_join_vertices(VGvertex* dst, const VGtessPoint& p0, const VGtessPoint& p1, float lw,
                           float rw, float lu, float ru) {
    const float dlx0 = p0.dy, dly0 = -p0.dx;
    const float dlx1 = p1.dy, dly1 = -p1.dx;
    const bool inner = (p1.flags & VG_PT_INNERBEVEL) != 0;
    const bool bevel = (p1.flags & VG_PT_BEVEL) != 0;
    float x0, y0, x1, y1;
    if (p1.flags & VG_PT_LEFT) {
        choose_bevel(inner, p0, p1, lw, &x0, &y0, &x1, &y1);
        dst = vg_vset(dst, x0, y0, lu, 1);
        dst = vg_vset(dst, p1.x - dlx0 * rw, p1.y - dly0 * rw, ru, 1);
        if (bevel) {
            dst = vg_vset(dst, x0, y0, lu, 1);
            dst = vg_vset(dst, p1.x - dlx0 * rw, p1.y - dly0 * rw, ru, 1);
            dst = vg_vset(dst, x1, y1, lu, 1);
            dst = vg_vset(dst, p1.x - dlx1 * rw, p1.y - dly1 * rw, ru, 1);
        } else {
            const float rx0 = p1.x - p1.dmx * rw, ry0 = p1.y - p1.dmy * rw;
            dst = vg_vset(dst, p1.x, p1.y, 0.5f, 1);
            dst = vg_vset(dst, p1.x - dlx0 * rw, p1.y - dly0 * rw, ru, 1);
            dst = vg_vset(dst, rx0, ry0, ru, 1);
            dst = vg_vset(dst, rx0, ry0, ru, 1);
            dst = vg_vset(dst, p1.x, p1.y, 0.5f, 1);
            dst = vg_vset(dst, p1.x - dlx1 * rw, p1.y - dly1 * rw, ru, 1);
        }
        dst = vg_vset(dst, x1, y1, lu, 1);
        dst = vg_vset(dst, p1.x - dlx1 * rw, p1.y - dly1 * rw, ru, 1);
    } else {
        choose_bevel(inner, p0, p1, -rw, &x0, &y0, &x1, &y1);
        dst = vg_vset(dst, p1.x + dlx0 * lw, p1.y + dly0 * lw, lu, 1);
        dst = vg_vset(dst, x0, y0, ru, 1);
        if (bevel) {
            dst = vg_vset(dst, p1.x + dlx0 * lw, p1.y + dly0 * lw, lu, 1);
            dst = vg_vset(dst, x0, y0, ru, 1);
            dst = vg_vset(dst, p1.x + dlx1 * lw, p1.y + dly1 * lw, lu, 1);
            dst = vg_vset(dst, x1, y1, ru, 1);
        } else {
            const float lx0 = p1.x + p1.dmx * lw, ly0 = p1.y + p1.dmy * lw;
            dst = vg_vset(dst, p1.x + dlx0 * lw, p1.y + dly0 * lw, lu, 1);
            dst = vg_vset(dst, p1.x, p1.y, 0.5f, 1);
            dst = vg_vset(dst, lx0, ly0, lu, 1);
            dst = vg_vset(dst, lx0, ly0, lu, 1);
            dst = vg_vset(dst, p1.x + dlx1 * lw, p1.y + dly1 * lw, lu, 1);
            dst = vg_vset(dst, p1.x, p1.y, 0.5f, 1);
        }
        dst = vg_vset(dst, p1.x + dlx1 * lw, p1.y + dly1 * lw, lu, 1);
        dst = vg_vset(dst, x1, y1, ru, 1);
    }
    return dst;
}

VGvertex* vg_round_join(VGvertex* dst, const VGtessPoint& p0, const VGtessPoint& p1, float w,
                        float u0, float u1, int ncap) {
    const float dlx0 = p0.dy, dly0 = -p0.dx;
    const float dlx1 = p1.dy, dly1 = -p1.dx;
    const bool inner = (p1.flags & VG_PT_INNERBEVEL) != 0;
    float x0, y0, x1, y1;
    if (p1.flags & VG_PT_LEFT) {
        choose_bevel(inner, p0, p1, w, &x0, &y0, &x1, &y1);
        const float a0 = std::atan2(-dly0, -dlx0);
        float a1 = std::atan2(-dly1, -dlx1);
        if (a1 > a0)
            a1 -= VG_PI * 2;
        dst = vg_vset(dst, x0, y0, u0, 1);
        dst = vg_vset(dst, p1.x - dlx0 * w, p1.y - dly0 * w, u1, 1);
        const int n = arc_steps(a0 - a1, ncap);
        for (int i = 0; i < n; ++i) {
            const float u = static_cast<float>(i) / static_cast<float>(n - 1);
            const float a = a0 + u * (a1 - a0);
            dst = vg_vset(dst, p1.x, p1.y, 0.5f, 1);
            dst = vg_vset(dst, p1.x + std::cos(a) * w, p1.y + std::sin(a) * w, u1, 1);
        }
        dst = vg_vset(dst, x1, y1, u0, 1);
        dst = vg_vset(dst, p1.x - dlx1 * w, p1.y - dly1 * w, u1, 1);
    } else {
        choose_bevel(inner, p0, p1, -w, &x0, &y0, &x1, &y1);
        const float a0 = std::atan2(dly0, dlx0);
        float a1 = std::atan2(dly1, dlx1);
        if (a1 < a0)
            a1 += VG_PI * 2;
        dst = vg_vset(dst, p1.x + dlx0 * w, p1.y + dly0 * w, u0, 1);
        dst = vg_vset(dst, x0, y0, u1, 1);
        const int n = arc_steps(a1 - a0, ncap);
        for (int i = 0; i < n; ++i) {
            const float u = static_cast<float>(i) / static_cast<float>(n - 1);
            const float a = a0 + u * (a1 - a0);
            dst = vg_vset(dst, p1.x + std::cos(a) * w, p1.y + std::sin(a) * w, u0, 1);
            dst = vg_vset(dst, p1.x, p1.y, 0.5f, 1);
        }
        dst = vg_vset(dst, p1.x + dlx1 * w, p1.y + dly1 * w, u0, 1);
        dst = vg_vset(dst, x1, y1, u1, 1);
    }
    return dst;
}
