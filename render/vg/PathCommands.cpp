#include "render/vg/VGPath.h"

#include "render/util/TryAlloc.h"
#include "render/vg/VGTessellate.h"
#include "render/vg/VGTransform.h"

#include <algorithm>
#include <cmath>

void vg_append_commands(VGdrawContext* ctx, const float* vals, int nvals) {
    if (nvals <= 0)
        return;
    if (!try_grow_to(ctx->commands, static_cast<std::size_t>(ctx->ncommands) + nvals))
        return;
    const int first = static_cast<int>(vals[0]);
    if (first != VG_CLOSE && first != VG_WINDING) {
        ctx->commandx = vals[nvals - 2];
        ctx->commandy = vals[nvals - 1];
    }

    float* dst = ctx->commands.data() + ctx->ncommands;
    std::copy(vals, vals + nvals, dst);
    const float* xform = vg_state(ctx).xform;
    auto transform_at = [&](int i) {
        vg_transform_point(&dst[i], &dst[i + 1], xform, dst[i], dst[i + 1]);
    };
    int i = 0;
    while (i < nvals) {
        switch (static_cast<int>(dst[i])) {
        case VG_MOVETO:
        case VG_LINETO:
            transform_at(i + 1);
            i += 3;
            break;
        case VG_BEZIERTO:
            transform_at(i + 1);
            transform_at(i + 3);
            transform_at(i + 5);
            i += 7;
            break;
        case VG_WINDING:
            i += 2;
            break;
        default:
            i += 1;
            break;
        }
    }
    ctx->ncommands += nvals;
}

void vg_begin_path(VGdrawContext* ctx) {
    ctx->ncommands = 0;
    ctx->cache->npoints = 0;
    ctx->cache->npaths = 0;
}

void vg_move_to(VGdrawContext* ctx, float x, float y) {
    const float vals[] = {VG_MOVETO, x, y};
    vg_append_commands(ctx, vals, 3);
}

void vg_line_to(VGdrawContext* ctx, float x, float y) {
    const float vals[] = {VG_LINETO, x, y};
    vg_append_commands(ctx, vals, 3);
}

void vg_bezier_to(VGdrawContext* ctx, float c1x, float c1y, float c2x, float c2y, float x,
                  float y) {
    const float vals[] = {VG_BEZIERTO, c1x, c1y, c2x, c2y, x, y};
    vg_append_commands(ctx, vals, 7);
}

void vg_quad_to(VGdrawContext* ctx, float cx, float cy, float x, float y) {
    const float x0 = ctx->commandx, y0 = ctx->commandy;
    const float k = 0.6666667f;
    const float vals[] = {VG_BEZIERTO,
                          x0 + k * (cx - x0),
                          y0 + k * (cy - y0),
                          x + k * (cx - x),
                          y + k * (cy - y),
                          x,
                          y};
    vg_append_commands(ctx, vals, 7);
}

void vg_close_path(VGdrawContext* ctx) {
    const float vals[] = {VG_CLOSE};
    vg_append_commands(ctx, vals, 1);
}

void vg_path_winding(VGdrawContext* ctx, int dir) {
    const float vals[] = {VG_WINDING, static_cast<float>(dir)};
    vg_append_commands(ctx, vals, 2);
}

void vg_rect(VGdrawContext* ctx, float x, float y, float w, float h) {
    // clang-format off
    const float vals[] = {
        VG_MOVETO, x, y,
        VG_LINETO, x, y + h,
        VG_LINETO, x + w, y + h,
        VG_LINETO, x + w, y,
        VG_CLOSE,
    };
    // clang-format on
    vg_append_commands(ctx, vals, 13);
}

void vg_rounded_rect(VGdrawContext* ctx, float x, float y, float w, float h, float r) {
    vg_rounded_rect_corners(ctx, x, y, w, h, r, r, r, r);
}

void vg_rounded_rect_corners(VGdrawContext* ctx, float x, float y, float w, float h,
                             float radTopLeft, float radTopRight, float radBottomRight,
                             float radBottomLeft) {
    if (radTopLeft < 0.1f && radTopRight < 0.1f && radBottomRight < 0.1f && radBottomLeft < 0.1f) {
        vg_rect(ctx, x, y, w, h);
        return;
    }
    const float halfw = std::fabs(w) * 0.5f, halfh = std::fabs(h) * 0.5f;
    const float sx = w >= 0 ? 1.0f : -1.0f, sy = h >= 0 ? 1.0f : -1.0f;
    const float rxBL = std::min(radBottomLeft, halfw) * sx;
    const float ryBL = std::min(radBottomLeft, halfh) * sy;
    const float rxBR = std::min(radBottomRight, halfw) * sx;
    const float ryBR = std::min(radBottomRight, halfh) * sy;
    const float rxTR = std::min(radTopRight, halfw) * sx;
    const float ryTR = std::min(radTopRight, halfh) * sy;
    const float rxTL = std::min(radTopLeft, halfw) * sx;
    const float ryTL = std::min(radTopLeft, halfh) * sy;
    const float c = 1.0f - VG_KAPPA90;
    // clang-format off
    const float vals[] = {
        VG_MOVETO, x, y + ryTL,
        VG_LINETO, x, y + h - ryBL,
        VG_BEZIERTO, x, y + h - ryBL * c, x + rxBL * c, y + h, x + rxBL, y + h,
        VG_LINETO, x + w - rxBR, y + h,
        VG_BEZIERTO, x + w - rxBR * c, y + h, x + w, y + h - ryBR * c, x + w, y + h - ryBR,
        VG_LINETO, x + w, y + ryTR,
        VG_BEZIERTO, x + w, y + ryTR * c, x + w - rxTR * c, y, x + w - rxTR, y,
        VG_LINETO, x + rxTL, y,
        VG_BEZIERTO, x + rxTL * c, y, x, y + ryTL * c, x, y + ryTL,
        VG_CLOSE,
    };
    // clang-format on
    vg_append_commands(ctx, vals, 44);
}

void vg_ellipse(VGdrawContext* ctx, float cx, float cy, float rx, float ry) {
    const float k = VG_KAPPA90;
    // clang-format off
    const float vals[] = {
        VG_MOVETO, cx - rx, cy,
        VG_BEZIERTO, cx - rx, cy + ry * k, cx - rx * k, cy + ry, cx, cy + ry,
        VG_BEZIERTO, cx + rx * k, cy + ry, cx + rx, cy + ry * k, cx + rx, cy,
        VG_BEZIERTO, cx + rx, cy - ry * k, cx + rx * k, cy - ry, cx, cy - ry,
        VG_BEZIERTO, cx - rx * k, cy - ry, cx - rx, cy - ry * k, cx - rx, cy,
        VG_CLOSE,
    };
    // clang-format on
    vg_append_commands(ctx, vals, 32);
}

void vg_circle(VGdrawContext* ctx, float cx, float cy, float r) {
    vg_ellipse(ctx, cx, cy, r, r);
}
