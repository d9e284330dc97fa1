#include "render/vg/VGPath.h"

#include "render/vg/VGTessellate.h"

#include <algorithm>
#include <cstdio>

namespace {

// Paths whose geometry could not be built reach the back end empty.
void clear_geometry(VGtessCache& cache) {
    for (int i = 0; i < cache.npaths; ++i) {
        VGpath& path = cache.paths[i];
        path.fill = path.stroke = nullptr;
        path.nfill = path.nstroke = 0;
    }
}

bool antialiased(VGdrawContext* ctx) {
    return ctx->params.edgeAntiAlias && vg_state(ctx).shapeAntiAlias;
}

} // namespace

void vg_fill(VGdrawContext* ctx) {
    const VGdrawState& state = vg_state(ctx);
    VGpaint paint = state.fill;
    vg_flatten_paths(ctx);
    const float w = antialiased(ctx) ? ctx->fringeWidth : 0.0f;
    if (!vg_expand_fill(ctx, w, VG_MITER, 2.4f))
        clear_geometry(*ctx->cache);
    paint.innerColor.a *= state.alpha;
    paint.outerColor.a *= state.alpha;
    VGtessCache& cache = *ctx->cache;
    ctx->params.renderFill(ctx->params.userPtr, &paint, state.compositeOperation, &state.scissor,
                           ctx->fringeWidth, cache.bounds, cache.paths.data(), cache.npaths);
}

void vg_stroke(VGdrawContext* ctx) {
    const VGdrawState& state = vg_state(ctx);
    const float scale = vg_average_scale(state.xform);
    float strokeWidth = std::clamp(state.strokeWidth * scale, 0.0f, 200.0f);
    VGpaint paint = state.stroke;
    if (strokeWidth < ctx->fringeWidth) {
        // A hairline: drawn one pixel wide, its coverage as alpha.
        const float alpha = std::clamp(strokeWidth / ctx->fringeWidth, 0.0f, 1.0f);
        paint.innerColor.a *= alpha * alpha;
        paint.outerColor.a *= alpha * alpha;
        strokeWidth = ctx->fringeWidth;
    }
    paint.innerColor.a *= state.alpha;
    paint.outerColor.a *= state.alpha;

    vg_flatten_paths(ctx);
    const float fringe = antialiased(ctx) ? ctx->fringeWidth : 0.0f;
    if (!vg_expand_stroke(ctx, strokeWidth * 0.5f, fringe, state.lineCap, state.lineJoin,
                          state.miterLimit))
        clear_geometry(*ctx->cache);
    VGtessCache& cache = *ctx->cache;
    ctx->params.renderStroke(ctx->params.userPtr, &paint, state.compositeOperation, &state.scissor,
                             ctx->fringeWidth, strokeWidth, cache.paths.data(), cache.npaths);
}

void vg_debug_dump_paths(VGdrawContext* ctx) {
    const VGtessCache& cache = *ctx->cache;
    std::printf("Dumping %d cached paths\n", cache.npaths);
    for (int i = 0; i < cache.npaths; ++i) {
        const VGpath& path = cache.paths[i];
        std::printf(" - Path %d\n", i);
        if (path.nfill) {
            std::printf("   - fill: %d\n", path.nfill);
            for (int j = 0; j < path.nfill; ++j)
                std::printf("%f\t%f\n", path.fill[j].x, path.fill[j].y);
        }
        if (path.nstroke) {
            std::printf("   - stroke: %d\n", path.nstroke);
            for (int j = 0; j < path.nstroke; ++j)
                std::printf("%f\t%f\n", path.stroke[j].x, path.stroke[j].y);
        }
    }
}
