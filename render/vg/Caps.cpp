#include "render/vg/VGTessellate.h"

#include <cmath>

VGvertex* vg_butt_cap_start(VGvertex* dst, const VGtessPoint& p, float dx, float dy, float w,
                            float offset, float aa, float u0, float u1) {
    const float px = p.x - dx * offset, py = p.y - dy * offset;
    const float dlx = dy, dly = -dx;
    dst = vg_vset(dst, px + dlx * w - dx * aa, py + dly * w - dy * aa, u0, 0);
    dst = vg_vset(dst, px - dlx * w - dx * aa, py - dly * w - dy * aa, u1, 0);
    dst = vg_vset(dst, px + dlx * w, py + dly * w, u0, 1);
    dst = vg_vset(dst, px - dlx * w, py - dly * w, u1, 1);
    return dst;
}

VGvertex* vg_butt_cap_end(VGvertex* dst, const VGtessPoint& p, float dx, float dy, float w,
                          float offset, float aa, float u0, float u1) {
    const float px = p.x + dx * offset, py = p.y + dy * offset;
    const float dlx = dy, dly = -dx;
    dst = vg_vset(dst, px + dlx * w, py + dly * w, u0, 1);
    dst = vg_vset(dst, px - dlx * w, py - dly * w, u1, 1);
    dst = vg_vset(dst, px + dlx * w + dx * aa, py + dly * w + dy * aa, u0, 0);
    dst = vg_vset(dst, px - dlx * w + dx * aa, py - dly * w + dy * aa, u1, 0);
    return dst;
}

VGvertex* vg_round_cap_start(VGvertex* dst, const VGtessPoint& p, float dx, float dy, float w,
                             int ncap, float u0, float u1) {
    const float dlx = dy, dly = -dx;
    for (int i = 0; i < ncap; ++i) {
        const float a = static_cast<float>(i) / static_cast<float>(ncap - 1) * VG_PI;
        const float ax = std::cos(a) * w, ay = std::sin(a) * w;
        dst = vg_vset(dst, p.x - dlx * ax - dx * ay, p.y - dly * ax - dy * ay, u0, 1);
        dst = vg_vset(dst, p.x, p.y, 0.5f, 1);
    }
    dst = vg_vset(dst, p.x + dlx * w, p.y + dly * w, u0, 1);
    dst = vg_vset(dst, p.x - dlx * w, p.y - dly * w, u1, 1);
    return dst;
}

VGvertex* vg_round_cap_end(VGvertex* dst, const VGtessPoint& p, float dx, float dy, float w,
                           int ncap, float u0, float u1) {
    const float dlx = dy, dly = -dx;
    dst = vg_vset(dst, p.x + dlx * w, p.y + dly * w, u0, 1);
    dst = vg_vset(dst, p.x - dlx * w, p.y - dly * w, u1, 1);
    for (int i = 0; i < ncap; ++i) {
        const float a = static_cast<float>(i) / static_cast<float>(ncap - 1) * VG_PI;
        const float ax = std::cos(a) * w, ay = std::sin(a) * w;
        dst = vg_vset(dst, p.x, p.y, 0.5f, 1);
        dst = vg_vset(dst, p.x - dlx * ax + dx * ay, p.y - dly * ax + dy * ay, u0, 1);
    }
    return dst;
}
