#include "render/vg/VGContextInternal.h"

#include "render/vg/VGColor.h"
#include "render/vg/VGTransform.h"

#include <cstring>

namespace {

VGcompositeOperationState composite_of(int op) {
    struct Factors {
        int src, dst;
    };
    static constexpr Factors kTable[] = {
        {VG_ONE, VG_ONE_MINUS_SRC_ALPHA},                 // source over
        {VG_DST_ALPHA, VG_ZERO},                          // source in
        {VG_ONE_MINUS_DST_ALPHA, VG_ZERO},                // source out
        {VG_DST_ALPHA, VG_ONE_MINUS_SRC_ALPHA},           // atop
        {VG_ONE_MINUS_DST_ALPHA, VG_ONE},                 // destination over
        {VG_ZERO, VG_SRC_ALPHA},                          // destination in
        {VG_ZERO, VG_ONE_MINUS_SRC_ALPHA},                // destination out
        {VG_ONE_MINUS_DST_ALPHA, VG_SRC_ALPHA},           // destination atop
        {VG_ONE, VG_ONE},                                 // lighter
        {VG_ONE, VG_ZERO},                                // copy
        {VG_ONE_MINUS_DST_ALPHA, VG_ONE_MINUS_SRC_ALPHA}, // xor
    };
    Factors f{VG_ONE, VG_ZERO};
    if (op >= 0 && op < static_cast<int>(std::size(kTable)))
        f = kTable[op];
    return {f.src, f.dst, f.src, f.dst};
}

} // namespace

void vg_save(VGdrawContext* ctx) {
    if (ctx->nstates >= VG_MAX_STATES)
        return;
    if (ctx->nstates > 0)
        ctx->states[ctx->nstates] = ctx->states[ctx->nstates - 1];
    ++ctx->nstates;
}

void vg_restore(VGdrawContext* ctx) {
    if (ctx->nstates <= 1)
        return;
    --ctx->nstates;
}

void vg_reset(VGdrawContext* ctx) {
    VGdrawState& state = vg_state(ctx);
    std::memset(&state, 0, sizeof(state));
    vg_set_paint_color(&state.fill, vg_rgba(255, 255, 255, 255));
    vg_set_paint_color(&state.stroke, vg_rgba(0, 0, 0, 255));
    state.compositeOperation = composite_of(VG_SOURCE_OVER);
    state.shapeAntiAlias = 1;
    state.strokeWidth = 1.0f;
    state.miterLimit = 10.0f;
    state.lineCap = VG_BUTT;
    state.lineJoin = VG_MITER;
    state.alpha = 1.0f;
    vg_transform_identity(state.xform);
    state.scissor.extent[0] = -1.0f;
    state.scissor.extent[1] = -1.0f;
    state.fontSize = 16.0f;
    state.letterSpacing = 0.0f;
    state.lineHeight = 1.0f;
    state.fontBlur = 0.0f;
    state.textAlign = VG_ALIGN_LEFT | VG_ALIGN_BASELINE;
    state.fontId = 0;
}

void vg_set_shape_antialias(VGdrawContext* ctx, int enabled) {
    vg_state(ctx).shapeAntiAlias = enabled;
}

void vg_set_stroke_width(VGdrawContext* ctx, float width) {
    vg_state(ctx).strokeWidth = width;
}

void vg_set_miter_limit(VGdrawContext* ctx, float limit) {
    vg_state(ctx).miterLimit = limit;
}

void vg_set_line_cap(VGdrawContext* ctx, int cap) {
    vg_state(ctx).lineCap = cap;
}

void vg_set_line_join(VGdrawContext* ctx, int join) {
    vg_state(ctx).lineJoin = join;
}

void vg_set_global_alpha(VGdrawContext* ctx, float alpha) {
    vg_state(ctx).alpha = alpha;
}

void vg_composite_operation(VGdrawContext* ctx, int op) {
    vg_state(ctx).compositeOperation = composite_of(op);
}

void vg_composite_blend_func(VGdrawContext* ctx, int sfactor, int dfactor) {
    vg_composite_blend_func_separate(ctx, sfactor, dfactor, sfactor, dfactor);
}

void vg_composite_blend_func_separate(VGdrawContext* ctx, int srcRGB, int dstRGB, int srcAlpha,
                                      int dstAlpha) {
    vg_state(ctx).compositeOperation = {srcRGB, dstRGB, srcAlpha, dstAlpha};
}
