#include "render/util/SafeConvert.h"
#include "render/vg/VGTessellate.h"

#include <climits>
#include <cmath>

namespace {

// Segments per half circle for a radius at the tessellation tolerance.
int curve_divisions(float r, float arc, float tol) {
    const float da = std::acos(r / (r + tol)) * 2.0f;
    return clamp_to_int(std::ceil(arc / da), 2, 1000);
}

long long stroke_vertex_bound(const VGtessCache& cache, int lineCap, int lineJoin, int ncap) {
    long long bound = 0;
    for (int i = 0; i < cache.npaths; ++i) {
        const VGpath& path = cache.paths[i];
        if (lineJoin == VG_ROUND)
            bound += (path.count + path.nbevel * (ncap + 2LL) + 1) * 2;
        else
            bound += (path.count + path.nbevel * 5LL + 1) * 2;
        if (!path.closed)
            bound += lineCap == VG_ROUND ? (ncap * 2LL + 2) * 2 : (3 + 3) * 2;
    }
    return bound;
}

struct StrokeStyle {
    float w, aa, u0, u1;
    int lineCap, lineJoin, ncap;
};

VGvertex* join(VGvertex* dst, const VGtessPoint& p0, const VGtessPoint& p1, const StrokeStyle& s) {
    if (p1.flags & (VG_PT_BEVEL | VG_PT_INNERBEVEL)) {
        if (s.lineJoin == VG_ROUND)
            return vg_round_join(dst, p0, p1, s.w, s.u0, s.u1, s.ncap);
        return vg_join_vertices(dst, p0, p1, s.w, s.w, s.u0, s.u1);
    }
    dst = vg_vset(dst, p1.x + p1.dmx * s.w, p1.y + p1.dmy * s.w, s.u0, 1);
    return vg_vset(dst, p1.x - p1.dmx * s.w, p1.y - p1.dmy * s.w, s.u1, 1);
}

// The cap at the start (p0) or the end (p1) of the segment p0-p1.
VGvertex* cap(VGvertex* dst, const VGtessPoint& p0, const VGtessPoint& p1, bool atEnd,
              const StrokeStyle& s) {
    float dx = p1.x - p0.x, dy = p1.y - p0.y;
    vg_normalize(&dx, &dy);
    const VGtessPoint& p = atEnd ? p1 : p0;
    const auto butt = atEnd ? vg_butt_cap_end : vg_butt_cap_start;
    const auto round = atEnd ? vg_round_cap_end : vg_round_cap_start;
    switch (s.lineCap) {
    case VG_BUTT:
        return butt(dst, p, dx, dy, s.w, -s.aa * 0.5f, s.aa, s.u0, s.u1);
    case VG_SQUARE:
        return butt(dst, p, dx, dy, s.w, s.w - s.aa, s.aa, s.u0, s.u1);
    case VG_ROUND:
        return round(dst, p, dx, dy, s.w, s.ncap, s.u0, s.u1);
    default:
        return dst;
    }
}

} // namespace

int vg_expand_stroke(VGdrawContext* ctx, float w, float fringe, int lineCap, int lineJoin,
                     float miterLimit) {
    VGtessCache& cache = *ctx->cache;
    StrokeStyle s{};
    s.aa = fringe;
    s.ncap = curve_divisions(w, VG_PI, ctx->tessTol);
    s.w = w + s.aa * 0.5f;
    s.u0 = 0.0f;
    s.u1 = 1.0f;
    if (s.aa == 0.0f) // no gradient across the stroke
        s.u0 = s.u1 = 0.5f;
    s.lineCap = lineCap;
    s.lineJoin = lineJoin;
    vg_calculate_joins(ctx, s.w, lineJoin, miterLimit);

    const long long bound = stroke_vertex_bound(cache, lineCap, lineJoin, s.ncap);
    VGvertex* verts = bound > INT_MAX ? nullptr : vg_alloc_temp_verts(ctx, static_cast<int>(bound));
    if (!verts)
        return 0;

    for (int i = 0; i < cache.npaths; ++i) {
        VGpath& path = cache.paths[i];
        const VGtessPoint* pts = cache.points.data() + path.first;
        path.fill = nullptr;
        path.nfill = 0;
        VGvertex* dst = verts;

        if (path.closed) {
            for (int j = 0; j < path.count; ++j)
                dst = join(dst, pts[j == 0 ? path.count - 1 : j - 1], pts[j], s);
            dst = vg_close_loop(dst, verts, cache, i, s.u0, s.u1);
        } else if (path.count >= 2) {
            dst = cap(dst, pts[0], pts[1], false, s);
            for (int j = 1; j < path.count - 1; ++j)
                dst = join(dst, pts[j - 1], pts[j], s);
            dst = cap(dst, pts[path.count - 2], pts[path.count - 1], true, s);
        }
        path.stroke = verts;
        path.nstroke = static_cast<int>(dst - verts);
        verts = dst;
    }
    return 1;
}
