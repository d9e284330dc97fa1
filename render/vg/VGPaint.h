#pragma once

// Paints of the current state, gradient and pattern paints, and scissoring.

#include "render/vg/VGTypes.h"

struct VGdrawContext;

void vg_stroke_color(VGdrawContext* ctx, VGcolor color);
void vg_fill_color(VGdrawContext* ctx, VGcolor color);
void vg_stroke_paint(VGdrawContext* ctx, VGpaint paint);
void vg_fill_paint(VGdrawContext* ctx, VGpaint paint);

VGpaint vg_linear_gradient(VGdrawContext* ctx, float sx, float sy, float ex, float ey, VGcolor icol,
                           VGcolor ocol);
VGpaint vg_radial_gradient(VGdrawContext* ctx, float cx, float cy, float inr, float outr,
                           VGcolor icol, VGcolor ocol);
VGpaint vg_box_gradient(VGdrawContext* ctx, float x, float y, float w, float h, float r, float f,
                        VGcolor icol, VGcolor ocol);
VGpaint vg_image_pattern(VGdrawContext* ctx, float ox, float oy, float ex, float ey, float angle,
                         VGimageId image, float alpha);

void vg_scissor(VGdrawContext* ctx, float x, float y, float w, float h);
void vg_intersect_scissor(VGdrawContext* ctx, float x, float y, float w, float h);
void vg_reset_scissor(VGdrawContext* ctx);
