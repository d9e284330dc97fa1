#pragma once

// 2x3 transforms [a, b, c, d, e, f] mapping (x, y) to (ax + cy + e, bx + dy + f).

struct VGdrawContext;

// The current state's transform; each new one applies before the current one.
void vg_transform(VGdrawContext* ctx, float a, float b, float c, float d, float e, float f);
void vg_translate(VGdrawContext* ctx, float x, float y);
void vg_rotate(VGdrawContext* ctx, float angle);
void vg_skew_x(VGdrawContext* ctx, float angle);
void vg_skew_y(VGdrawContext* ctx, float angle);
void vg_scale(VGdrawContext* ctx, float x, float y);
void vg_reset_transform(VGdrawContext* ctx);
void vg_current_transform(VGdrawContext* ctx, float* xform);

void vg_transform_identity(float* t);
void vg_transform_translate(float* t, float tx, float ty);
void vg_transform_scale(float* t, float sx, float sy);
void vg_transform_rotate(float* t, float angle);
void vg_transform_skew_x(float* t, float angle);
void vg_transform_skew_y(float* t, float angle);
void vg_transform_multiply(float* t, const float* s);
void vg_transform_premultiply(float* t, const float* s);
int vg_transform_inverse(float* inv, const float* t);
void vg_transform_point(float* dx, float* dy, const float* t, float sx, float sy);

float vg_deg_to_rad(float deg);
float vg_rad_to_deg(float rad);
