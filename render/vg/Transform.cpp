#include "render/vg/VGTransform.h"

#include "render/vg/VGContextInternal.h"

#include <cmath>

void vg_transform_identity(float* t) {
    t[0] = 1.0f;
    t[1] = 0.0f;
    t[2] = 0.0f;
    t[3] = 1.0f;
    t[4] = 0.0f;
    t[5] = 0.0f;
}

void vg_transform_translate(float* t, float tx, float ty) {
    vg_transform_identity(t);
    t[4] = tx;
    t[5] = ty;
}

void vg_transform_scale(float* t, float sx, float sy) {
    vg_transform_identity(t);
    t[0] = sx;
    t[3] = sy;
}

void vg_transform_rotate(float* t, float angle) {
    const float cs = std::cos(angle), sn = std::sin(angle);
    t[0] = cs;
    t[1] = sn;
    t[2] = -sn;
    t[3] = cs;
    t[4] = 0.0f;
    t[5] = 0.0f;
}

void vg_transform_skew_x(float* t, float angle) {
    vg_transform_identity(t);
    t[2] = std::tan(angle);
}

void vg_transform_skew_y(float* t, float angle) {
    vg_transform_identity(t);
    t[1] = std::tan(angle);
}

void vg_transform_multiply(float* t, const float* s) {
    const float t0 = t[0] * s[0] + t[1] * s[2];
    const float t2 = t[2] * s[0] + t[3] * s[2];
    const float t4 = t[4] * s[0] + t[5] * s[2] + s[4];
    t[1] = t[0] * s[1] + t[1] * s[3];
    t[3] = t[2] * s[1] + t[3] * s[3];
    t[5] = t[4] * s[1] + t[5] * s[3] + s[5];
    t[0] = t0;
    t[2] = t2;
    t[4] = t4;
}

void vg_transform_premultiply(float* t, const float* s) {
    float s2[6];
    for (int i = 0; i < 6; ++i)
        s2[i] = s[i];
    vg_transform_multiply(s2, t);
    for (int i = 0; i < 6; ++i)
        t[i] = s2[i];
}

int vg_transform_inverse(float* inv, const float* t) {
    const double det = static_cast<double>(t[0]) * t[3] - static_cast<double>(t[2]) * t[1];
    if (det > -1e-6 && det < 1e-6) {
        vg_transform_identity(inv);
        return 0;
    }
    const double invdet = 1.0 / det;
    inv[0] = static_cast<float>(t[3] * invdet);
    inv[2] = static_cast<float>(-t[2] * invdet);
    inv[4] = static_cast<float>(
        (static_cast<double>(t[2]) * t[5] - static_cast<double>(t[3]) * t[4]) * invdet);
    inv[1] = static_cast<float>(-t[1] * invdet);
    inv[3] = static_cast<float>(t[0] * invdet);
    inv[5] = static_cast<float>(
        (static_cast<double>(t[1]) * t[4] - static_cast<double>(t[0]) * t[5]) * invdet);
    return 1;
}

void vg_transform_point(float* dx, float* dy, const float* t, float sx, float sy) {
    *dx = sx * t[0] + sy * t[2] + t[4];
    *dy = sx * t[1] + sy * t[3] + t[5];
}

float vg_deg_to_rad(float deg) {
    return deg / 180.0f * 3.1415927f;
}

float vg_rad_to_deg(float rad) {
    return rad / 3.1415927f * 180.0f;
}

float vg_average_scale(const float* t) {
    const float sx = std::sqrt(t[0] * t[0] + t[2] * t[2]);
    const float sy = std::sqrt(t[1] * t[1] + t[3] * t[3]);
    return (sx + sy) * 0.5f;
}

namespace {

void apply(VGdrawContext* ctx, const float* t) {
    vg_transform_premultiply(vg_state(ctx).xform, t);
}

} // namespace

void vg_transform(VGdrawContext* ctx, float a, float b, float c, float d, float e, float f) {
    const float t[6] = {a, b, c, d, e, f};
    apply(ctx, t);
}

void vg_translate(VGdrawContext* ctx, float x, float y) {
    float t[6];
    vg_transform_translate(t, x, y);
    apply(ctx, t);
}

void vg_rotate(VGdrawContext* ctx, float angle) {
    float t[6];
    vg_transform_rotate(t, angle);
    apply(ctx, t);
}

void vg_skew_x(VGdrawContext* ctx, float angle) {
    float t[6];
    vg_transform_skew_x(t, angle);
    apply(ctx, t);
}

void vg_skew_y(VGdrawContext* ctx, float angle) {
    float t[6];
    vg_transform_skew_y(t, angle);
    apply(ctx, t);
}

void vg_scale(VGdrawContext* ctx, float x, float y) {
    float t[6];
    vg_transform_scale(t, x, y);
    apply(ctx, t);
}

void vg_reset_transform(VGdrawContext* ctx) {
    vg_transform_identity(vg_state(ctx).xform);
}

void vg_current_transform(VGdrawContext* ctx, float* xform) {
    if (!xform)
        return;
    const float* t = vg_state(ctx).xform;
    for (int i = 0; i < 6; ++i)
        xform[i] = t[i];
}
