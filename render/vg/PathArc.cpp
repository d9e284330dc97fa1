#include "render/vg/VGPath.h"

#include "render/util/SafeConvert.h"
#include "render/vg/VGTessellate.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kTwoPi = 6.2831855f;

float dist_pt_seg_squared(float x, float y, float px, float py, float qx, float qy) {
    const float pqx = qx - px, pqy = qy - py;
    float dx = x - px, dy = y - py;
    const float d = pqx * pqx + pqy * pqy;
    float t = pqx * dx + pqy * dy;
    if (d > 0)
        t /= d;
    t = std::clamp(t, 0.0f, 1.0f);
    dx = px + t * pqx - x;
    dy = py + t * pqy - y;
    return dx * dx + dy * dy;
}

} // namespace

void vg_arc(VGdrawContext* ctx, float cx, float cy, float r, float a0, float a1, int dir) {
    float da = a1 - a0;
    if (dir == VG_CW) {
        if (std::fabs(da) >= kTwoPi)
            da = kTwoPi;
        else
            while (da < 0)
                da += kTwoPi;
    } else {
        if (std::fabs(da) >= kTwoPi)
            da = -kTwoPi;
        else
            while (da > 0)
                da -= kTwoPi;
    }

    const int ndivs = clamp_to_int(std::fabs(da) / (VG_PI * 0.5f) + 0.5f, 1, 5);
    const float hda = (da / static_cast<float>(ndivs)) / 2.0f;
    const float sinHalf = std::sin(hda);
    // A zero sweep has no tangents to scale.
    float kappa = sinHalf == 0 ? 0 : std::fabs(4.0f / 3.0f * (1.0f - std::cos(hda)) / sinHalf);
    if (dir == VG_CCW)
        kappa = -kappa;

    float vals[3 + 5 * 7];
    int nvals = 0;
    float px = 0, py = 0, ptanx = 0, ptany = 0;
    for (int i = 0; i <= ndivs; ++i) {
        const float a = a0 + da * (static_cast<float>(i) / static_cast<float>(ndivs));
        const float dx = std::cos(a), dy = std::sin(a);
        const float x = cx + dx * r, y = cy + dy * r;
        const float tanx = -dy * r * kappa, tany = dx * r * kappa;
        if (i == 0) {
            vals[nvals++] = static_cast<float>(ctx->ncommands > 0 ? VG_LINETO : VG_MOVETO);
            vals[nvals++] = x;
            vals[nvals++] = y;
        } else {
            vals[nvals++] = VG_BEZIERTO;
            vals[nvals++] = px + ptanx;
            vals[nvals++] = py + ptany;
            vals[nvals++] = x - tanx;
            vals[nvals++] = y - tany;
            vals[nvals++] = x;
            vals[nvals++] = y;
        }
        px = x;
        py = y;
        ptanx = tanx;
        ptany = tany;
    }
    vg_append_commands(ctx, vals, nvals);
}

void vg_arc_to(VGdrawContext* ctx, float x1, float y1, float x2, float y2, float radius) {
    if (ctx->ncommands == 0)
        return;
    const float x0 = ctx->commandx, y0 = ctx->commandy;
    const float tol = ctx->distTol;
    if (vg_pt_equals(x0, y0, x1, y1, tol) || vg_pt_equals(x1, y1, x2, y2, tol) ||
        dist_pt_seg_squared(x1, y1, x0, y0, x2, y2) < tol * tol || radius < tol) {
        vg_line_to(ctx, x1, y1);
        return;
    }

    float dx0 = x0 - x1, dy0 = y0 - y1;
    float dx1 = x2 - x1, dy1 = y2 - y1;
    vg_normalize(&dx0, &dy0);
    vg_normalize(&dx1, &dy1);
    // Rounding can push the dot product of unit vectors just past 1.
    const float a = std::acos(std::clamp(dx0 * dx1 + dy0 * dy1, -1.0f, 1.0f));
    const float d = radius / std::tan(a / 2.0f);
    if (d > 10000.0f) {
        vg_line_to(ctx, x1, y1);
        return;
    }

    float cx, cy, a0, a1;
    int dir;
    if (dx1 * dy0 - dx0 * dy1 > 0.0f) {
        cx = x1 + dx0 * d + dy0 * radius;
        cy = y1 + dy0 * d + -dx0 * radius;
        a0 = std::atan2(dx0, -dy0);
        a1 = std::atan2(-dx1, dy1);
        dir = VG_CW;
    } else {
        cx = x1 + dx0 * d + -dy0 * radius;
        cy = y1 + dy0 * d + dx0 * radius;
        a0 = std::atan2(-dx0, dy0);
        a1 = std::atan2(dx1, -dy1);
        dir = VG_CCW;
    }
    vg_arc(ctx, cx, cy, radius, a0, a1, dir);
}
