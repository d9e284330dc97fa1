#include "render/vg/VGPaint.h"

#include "render/vg/VGContextInternal.h"
#include "render/vg/VGTransform.h"

#include <cmath>

void vg_scissor(VGdrawContext* ctx, float x, float y, float w, float h) {
    VGdrawState& state = vg_state(ctx);
    w = std::fmax(0.0f, w);
    h = std::fmax(0.0f, h);
    vg_transform_identity(state.scissor.xform);
    state.scissor.xform[4] = x + w * 0.5f;
    state.scissor.xform[5] = y + h * 0.5f;
    vg_transform_multiply(state.scissor.xform, state.xform);
    state.scissor.extent[0] = w * 0.5f;
    state.scissor.extent[1] = h * 0.5f;
}

void vg_intersect_scissor(VGdrawContext* ctx, float x, float y, float w, float h) {
    VGdrawState& state = vg_state(ctx);
    if (state.scissor.extent[0] < 0) {
        vg_scissor(ctx, x, y, w, h);
        return;
    }
    // The old scissor as an axis-aligned box in the current coordinates.
    float pxform[6], invxform[6];
    for (int i = 0; i < 6; ++i)
        pxform[i] = state.scissor.xform[i];
    const float ex = state.scissor.extent[0];
    const float ey = state.scissor.extent[1];
    vg_transform_inverse(invxform, state.xform);
    vg_transform_multiply(pxform, invxform);
    const float tex = ex * std::fabs(pxform[0]) + ey * std::fabs(pxform[2]);
    const float tey = ex * std::fabs(pxform[1]) + ey * std::fabs(pxform[3]);

    const float minx = std::fmax(pxform[4] - tex, x);
    const float miny = std::fmax(pxform[5] - tey, y);
    const float maxx = std::fmin(pxform[4] + tex, x + w);
    const float maxy = std::fmin(pxform[5] + tey, y + h);
    vg_scissor(ctx, minx, miny, std::fmax(0.0f, maxx - minx), std::fmax(0.0f, maxy - miny));
}

void vg_reset_scissor(VGdrawContext* ctx) {
    VGdrawState& state = vg_state(ctx);
    for (float& v : state.scissor.xform)
        v = 0.0f;
    state.scissor.extent[0] = -1.0f;
    state.scissor.extent[1] = -1.0f;
}
