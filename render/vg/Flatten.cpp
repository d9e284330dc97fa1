#include "render/util/SafeConvert.h"
#include "render/util/TryAlloc.h"
#include "render/vg/VGTessellate.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

namespace {

VGpath* last_path(VGtessCache& cache) {
    return cache.npaths > 0 ? &cache.paths[cache.npaths - 1] : nullptr;
}

void add_path(VGtessCache& cache) {
    if (!try_grow_to(cache.paths, static_cast<std::size_t>(cache.npaths) + 1))
        return;
    VGpath& path = cache.paths[cache.npaths++];
    std::memset(&path, 0, sizeof(path));
    path.first = cache.npoints;
    path.winding = VG_SOLID;
}

float poly_area(const VGtessPoint* pts, int npts) {
    float area = 0;
    for (int i = 2; i < npts; ++i) {
        const VGtessPoint &a = pts[0], &b = pts[i - 1], &c = pts[i];
        area += (c.x - a.x) * (b.y - a.y) - (b.x - a.x) * (c.y - a.y);
    }
    return area * 0.5f;
}

void walk_commands(VGdrawContext* ctx) {
    VGtessCache& cache = *ctx->cache;
    const float* cmd = ctx->commands.data();
    int i = 0;
    while (i < ctx->ncommands) {
        switch (static_cast<int>(cmd[i])) {
        case VG_MOVETO:
            add_path(cache);
            vg_add_point(ctx, cmd[i + 1], cmd[i + 2], VG_PT_CORNER);
            i += 3;
            break;
        case VG_LINETO:
            vg_add_point(ctx, cmd[i + 1], cmd[i + 2], VG_PT_CORNER);
            i += 3;
            break;
        case VG_BEZIERTO:
            if (cache.npoints > 0) {
                const VGtessPoint& last = cache.points[cache.npoints - 1];
                vg_tessellate_bezier(ctx, last.x, last.y, cmd[i + 1], cmd[i + 2], cmd[i + 3],
                                     cmd[i + 4], cmd[i + 5], cmd[i + 6], 0, VG_PT_CORNER);
            }
            i += 7;
            break;
        case VG_CLOSE:
            if (VGpath* path = last_path(cache))
                path->closed = 1;
            i += 1;
            break;
        case VG_WINDING:
            if (VGpath* path = last_path(cache))
                path->winding = clamp_to_int(cmd[i + 1], INT_MIN, INT_MAX);
            i += 2;
            break;
        default:
            i += 1;
            break;
        }
    }
}

} // namespace

float vg_normalize(float* x, float* y) {
    const float d = std::sqrt((*x) * (*x) + (*y) * (*y));
    if (d > 1e-6f) {
        const float id = 1.0f / d;
        *x *= id;
        *y *= id;
    }
    return d;
}

void vg_add_point(VGdrawContext* ctx, float x, float y, int flags) {
    VGtessCache& cache = *ctx->cache;
    VGpath* path = last_path(cache);
    if (!path)
        return;
    if (path->count > 0 && cache.npoints > 0) {
        VGtessPoint& last = cache.points[cache.npoints - 1];
        if (vg_pt_equals(last.x, last.y, x, y, ctx->distTol)) {
            last.flags = static_cast<unsigned char>(last.flags | flags);
            return;
        }
    }
    if (!try_grow_to(cache.points, static_cast<std::size_t>(cache.npoints) + 1))
        return;
    VGtessPoint& pt = cache.points[cache.npoints++];
    std::memset(&pt, 0, sizeof(pt));
    pt.x = x;
    pt.y = y;
    pt.flags = static_cast<unsigned char>(flags);
    path->count++;
}

void vg_tessellate_bezier(VGdrawContext* ctx, float x1, float y1, float x2, float y2, float x3,
                          float y3, float x4, float y4, int level, int flags) {
    if (level > 10)
        return;
    const float dx = x4 - x1, dy = y4 - y1;
    const float d2 = std::fabs((x2 - x4) * dy - (y2 - y4) * dx);
    const float d3 = std::fabs((x3 - x4) * dy - (y3 - y4) * dx);
    if ((d2 + d3) * (d2 + d3) < ctx->tessTol * (dx * dx + dy * dy)) {
        vg_add_point(ctx, x4, y4, flags);
        return;
    }
    const float x12 = (x1 + x2) * 0.5f, y12 = (y1 + y2) * 0.5f;
    const float x23 = (x2 + x3) * 0.5f, y23 = (y2 + y3) * 0.5f;
    const float x34 = (x3 + x4) * 0.5f, y34 = (y3 + y4) * 0.5f;
    const float x123 = (x12 + x23) * 0.5f, y123 = (y12 + y23) * 0.5f;
    const float x234 = (x23 + x34) * 0.5f, y234 = (y23 + y34) * 0.5f;
    const float x1234 = (x123 + x234) * 0.5f, y1234 = (y123 + y234) * 0.5f;
    vg_tessellate_bezier(ctx, x1, y1, x12, y12, x123, y123, x1234, y1234, level + 1, 0);
    vg_tessellate_bezier(ctx, x1234, y1234, x234, y234, x34, y34, x4, y4, level + 1, flags);
}

void vg_flatten_paths(VGdrawContext* ctx) {
    VGtessCache& cache = *ctx->cache;
    if (cache.npaths > 0)
        return;
    walk_commands(ctx);

    cache.bounds[0] = cache.bounds[1] = 1e6f;
    cache.bounds[2] = cache.bounds[3] = -1e6f;
    for (int j = 0; j < cache.npaths; ++j) {
        VGpath& path = cache.paths[j];
        VGtessPoint* pts = cache.points.data() + path.first;
        if (path.count > 0) {
            const VGtessPoint &first = pts[0], &last = pts[path.count - 1];
            if (vg_pt_equals(last.x, last.y, first.x, first.y, ctx->distTol)) {
                path.count--;
                path.closed = 1;
            }
        }
        if (path.count > 2) {
            const float area = poly_area(pts, path.count);
            if ((path.winding == VG_SOLID && area < 0.0f) ||
                (path.winding == VG_HOLE && area > 0.0f))
                std::reverse(pts, pts + path.count);
        }
        for (int i = 0; i < path.count; ++i) {
            VGtessPoint& p = pts[i];
            const VGtessPoint& q = pts[(i + 1) % path.count];
            p.dx = q.x - p.x;
            p.dy = q.y - p.y;
            p.len = vg_normalize(&p.dx, &p.dy);
            cache.bounds[0] = std::min(cache.bounds[0], p.x);
            cache.bounds[1] = std::min(cache.bounds[1], p.y);
            cache.bounds[2] = std::max(cache.bounds[2], p.x);
            cache.bounds[3] = std::max(cache.bounds[3], p.y);
        }
    }
}

void vg_empty_path_anchor(const VGtessCache& cache, int pathIndex, float* x, float* y) {
    const VGpath& path = cache.paths[pathIndex];
    const int end = pathIndex + 1 < cache.npaths ? cache.paths[pathIndex + 1].first : cache.npoints;
    *x = 0;
    *y = 0;
    if (path.first < end) {
        *x = cache.points[path.first].x;
        *y = cache.points[path.first].y;
    }
}

VGvertex* vg_close_loop(VGvertex* dst, const VGvertex* first, const VGtessCache& cache,
                        int pathIndex, float u0, float u1) {
    float x0, y0, x1, y1;
    if (dst - first >= 2) {
        x0 = first[0].x;
        y0 = first[0].y;
        x1 = first[1].x;
        y1 = first[1].y;
    } else {
        vg_empty_path_anchor(cache, pathIndex, &x0, &y0);
        x1 = x0;
        y1 = y0;
    }
    dst = vg_vset(dst, x0, y0, u0, 1);
    return vg_vset(dst, x1, y1, u1, 1);
}
