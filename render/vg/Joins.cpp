#include "render/vg/VGTessellate.h"

#include <algorithm>

void vg_calculate_joins(VGdrawContext* ctx, float w, int lineJoin, float miterLimit) {
    VGtessCache& cache = *ctx->cache;
    const float iw = w > 0.0f ? 1.0f / w : 0.0f;
    for (int i = 0; i < cache.npaths; ++i) {
        VGpath& path = cache.paths[i];
        path.nbevel = 0;
        int nleft = 0;
        VGtessPoint* pts = cache.points.data() + path.first;
        for (int j = 0; j < path.count; ++j) {
            const VGtessPoint& p0 = pts[j == 0 ? path.count - 1 : j - 1];
            VGtessPoint& p1 = pts[j];
            const float dlx0 = p0.dy, dly0 = -p0.dx;
            const float dlx1 = p1.dy, dly1 = -p1.dx;
            p1.dmx = (dlx0 + dlx1) * 0.5f;
            p1.dmy = (dly0 + dly1) * 0.5f;
            const float dmr2 = p1.dmx * p1.dmx + p1.dmy * p1.dmy;
            if (dmr2 > 0.000001f) {
                const float scale = std::min(600.0f, 1.0f / dmr2);
                p1.dmx *= scale;
                p1.dmy *= scale;
            }
            p1.flags = (p1.flags & VG_PT_CORNER) ? VG_PT_CORNER : 0;

            if (p1.dx * p0.dy - p0.dx * p1.dy > 0.0f) {
                nleft++;
                p1.flags |= VG_PT_LEFT;
            }
            const float limit = std::max(1.01f, std::min(p0.len, p1.len) * iw);
            if (dmr2 * limit * limit < 1.0f)
                p1.flags |= VG_PT_INNERBEVEL;
            if ((p1.flags & VG_PT_CORNER) && (dmr2 * miterLimit * miterLimit < 1.0f ||
                                              lineJoin == VG_BEVEL || lineJoin == VG_ROUND))
                p1.flags |= VG_PT_BEVEL;
            if (p1.flags & (VG_PT_BEVEL | VG_PT_INNERBEVEL))
                path.nbevel++;
        }
        path.convex = nleft == path.count ? 1 : 0;
    }
}
