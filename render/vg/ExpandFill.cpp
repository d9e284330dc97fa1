#include "render/vg/VGTessellate.h"

#include <climits>

namespace {

long long fill_vertex_bound(const VGtessCache& cache, bool fringe) {
    long long bound = 0;
    for (int i = 0; i < cache.npaths; ++i) {
        const VGpath& path = cache.paths[i];
        bound += path.count + path.nbevel + 1;
        if (fringe)
            bound += (path.count + path.nbevel * 5LL + 1) * 2;
    }
    return bound;
}

VGvertex* fill_vertices(VGvertex* dst, const VGtessPoint* pts, int count, bool fringe, float woff) {
    for (int j = 0; j < count; ++j) {
        const VGtessPoint& p0 = pts[j == 0 ? count - 1 : j - 1];
        const VGtessPoint& p1 = pts[j];
        if (!fringe) {
            dst = vg_vset(dst, p1.x, p1.y, 0.5f, 1);
        } else if ((p1.flags & VG_PT_BEVEL) && !(p1.flags & VG_PT_LEFT)) {
            dst = vg_vset(dst, p1.x + p0.dy * woff, p1.y - p0.dx * woff, 0.5f, 1);
            dst = vg_vset(dst, p1.x + p1.dy * woff, p1.y - p1.dx * woff, 0.5f, 1);
        } else {
            dst = vg_vset(dst, p1.x + p1.dmx * woff, p1.y + p1.dmy * woff, 0.5f, 1);
        }
    }
    return dst;
}

} // namespace

int vg_expand_fill(VGdrawContext* ctx, float w, int lineJoin, float miterLimit) {
    VGtessCache& cache = *ctx->cache;
    const float aa = ctx->fringeWidth;
    const bool fringe = w > 0.0f;
    vg_calculate_joins(ctx, w, lineJoin, miterLimit);

    const long long bound = fill_vertex_bound(cache, fringe);
    VGvertex* verts = bound > INT_MAX ? nullptr : vg_alloc_temp_verts(ctx, static_cast<int>(bound));
    if (!verts)
        return 0;

    const bool convex = cache.npaths == 1 && cache.paths[0].convex;
    for (int i = 0; i < cache.npaths; ++i) {
        VGpath& path = cache.paths[i];
        const VGtessPoint* pts = cache.points.data() + path.first;
        const float woff = 0.5f * aa;

        VGvertex* dst = fill_vertices(verts, pts, path.count, fringe, woff);
        path.fill = verts;
        path.nfill = static_cast<int>(dst - verts);
        verts = dst;

        if (!fringe) {
            path.stroke = nullptr;
            path.nstroke = 0;
            continue;
        }
        float lw = w + woff, lu = 0.0f;
        const float rw = w - woff, ru = 1.0f;
        // A single convex path is drawn without its stencil pass: only the
        // outer half of its fringe is built.
        if (convex) {
            lw = woff;
            lu = 0.5f;
        }
        for (int j = 0; j < path.count; ++j) {
            const VGtessPoint& p0 = pts[j == 0 ? path.count - 1 : j - 1];
            const VGtessPoint& p1 = pts[j];
            if (p1.flags & (VG_PT_BEVEL | VG_PT_INNERBEVEL)) {
                dst = vg_join_vertices(dst, p0, p1, lw, rw, lu, ru);
            } else {
                dst = vg_vset(dst, p1.x + p1.dmx * lw, p1.y + p1.dmy * lw, lu, 1);
                dst = vg_vset(dst, p1.x - p1.dmx * rw, p1.y - p1.dmy * rw, ru, 1);
            }
        }
        dst = vg_close_loop(dst, verts, cache, i, lu, ru);
        path.stroke = verts;
        path.nstroke = static_cast<int>(dst - verts);
        verts = dst;
    }
    return 1;
}
