#include "render/vg/VGPaint.h"

#include "render/vg/VGContextInternal.h"
#include "render/vg/VGTransform.h"

#include <cmath>
#include <cstring>

namespace {

// A gradient reaches far beyond its ends so that it saturates there.
constexpr float kLarge = 1e5f;

VGpaint blank_paint() {
    VGpaint p;
    std::memset(&p, 0, sizeof(p));
    vg_transform_identity(p.xform);
    return p;
}

} // namespace

void vg_set_paint_color(VGpaint* paint, VGcolor color) {
    *paint = blank_paint();
    paint->feather = 1.0f;
    paint->innerColor = color;
    paint->outerColor = color;
}

void vg_stroke_color(VGdrawContext* ctx, VGcolor color) {
    vg_set_paint_color(&vg_state(ctx).stroke, color);
}

void vg_fill_color(VGdrawContext* ctx, VGcolor color) {
    vg_set_paint_color(&vg_state(ctx).fill, color);
}

void vg_stroke_paint(VGdrawContext* ctx, VGpaint paint) {
    VGdrawState& state = vg_state(ctx);
    state.stroke = paint;
    vg_transform_multiply(state.stroke.xform, state.xform);
}

void vg_fill_paint(VGdrawContext* ctx, VGpaint paint) {
    VGdrawState& state = vg_state(ctx);
    state.fill = paint;
    vg_transform_multiply(state.fill.xform, state.xform);
}

VGpaint vg_linear_gradient(VGdrawContext*, float sx, float sy, float ex, float ey, VGcolor icol,
                           VGcolor ocol) {
    VGpaint p = blank_paint();
    float dx = ex - sx, dy = ey - sy;
    const float d = std::sqrt(dx * dx + dy * dy);
    if (d > 0.0001f) {
        dx /= d;
        dy /= d;
    } else {
        dx = 0;
        dy = 1;
    }
    p.xform[0] = dy;
    p.xform[1] = -dx;
    p.xform[2] = dx;
    p.xform[3] = dy;
    p.xform[4] = sx - dx * kLarge;
    p.xform[5] = sy - dy * kLarge;
    p.extent[0] = kLarge;
    p.extent[1] = kLarge + d * 0.5f;
    p.radius = 0.0f;
    p.feather = std::fmax(1.0f, d);
    p.innerColor = icol;
    p.outerColor = ocol;
    return p;
}

VGpaint vg_radial_gradient(VGdrawContext*, float cx, float cy, float inr, float outr, VGcolor icol,
                           VGcolor ocol) {
    VGpaint p = blank_paint();
    const float r = (inr + outr) * 0.5f;
    p.xform[4] = cx;
    p.xform[5] = cy;
    p.extent[0] = r;
    p.extent[1] = r;
    p.radius = r;
    p.feather = std::fmax(1.0f, outr - inr);
    p.innerColor = icol;
    p.outerColor = ocol;
    return p;
}

VGpaint vg_box_gradient(VGdrawContext*, float x, float y, float w, float h, float r, float f,
                        VGcolor icol, VGcolor ocol) {
    VGpaint p = blank_paint();
    p.xform[4] = x + w * 0.5f;
    p.xform[5] = y + h * 0.5f;
    p.extent[0] = w * 0.5f;
    p.extent[1] = h * 0.5f;
    p.radius = r;
    p.feather = std::fmax(1.0f, f);
    p.innerColor = icol;
    p.outerColor = ocol;
    return p;
}

VGpaint vg_image_pattern(VGdrawContext*, float ox, float oy, float ex, float ey, float angle,
                         VGimageId image, float alpha) {
    VGpaint p = blank_paint();
    vg_transform_rotate(p.xform, angle);
    p.xform[4] = ox;
    p.xform[5] = oy;
    p.extent[0] = ex;
    p.extent[1] = ey;
    p.image = image;
    p.innerColor.r = p.innerColor.g = p.innerColor.b = 1.0f;
    p.innerColor.a = alpha;
    p.outerColor = p.innerColor;
    return p;
}
