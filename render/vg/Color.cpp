#include "render/vg/VGColor.h"

#include <algorithm>
#include <cmath>

namespace {

float hue(float h, float m1, float m2) {
    if (h < 0)
        h += 1;
    if (h > 1)
        h -= 1;
    if (h < 1.0f / 6.0f)
        return m1 + (m2 - m1) * h * 6.0f;
    if (h < 3.0f / 6.0f)
        return m2;
    if (h < 4.0f / 6.0f)
        return m1 + (m2 - m1) * (2.0f / 3.0f - h) * 6.0f;
    return m1;
}

} // namespace

VGcolor vg_rgb(unsigned char r, unsigned char g, unsigned char b) {
    return vg_rgba(r, g, b, 255);
}

VGcolor vg_rgba(unsigned char r, unsigned char g, unsigned char b, unsigned char a) {
    return vg_rgba_f(r / 255.0f, g / 255.0f, b / 255.0f, a / 255.0f);
}

VGcolor vg_rgb_f(float r, float g, float b) {
    return vg_rgba_f(r, g, b, 1.0f);
}

VGcolor vg_rgba_f(float r, float g, float b, float a) {
    VGcolor color;
    color.r = r;
    color.g = g;
    color.b = b;
    color.a = a;
    return color;
}

VGcolor vg_with_alpha(VGcolor c, unsigned char a) {
    c.a = a / 255.0f;
    return c;
}

VGcolor vg_with_alpha_f(VGcolor c, float a) {
    c.a = a;
    return c;
}

VGcolor vg_lerp_rgba(VGcolor c0, VGcolor c1, float u) {
    u = std::clamp(u, 0.0f, 1.0f);
    const float oneminu = 1.0f - u;
    VGcolor out;
    for (int i = 0; i < 4; ++i)
        out.rgba[i] = c0.rgba[i] * oneminu + c1.rgba[i] * u;
    return out;
}

VGcolor vg_hsl(float h, float s, float l) {
    return vg_hsla(h, s, l, 255);
}

VGcolor vg_hsla(float h, float s, float l, unsigned char a) {
    h = std::fmod(h, 1.0f);
    if (h < 0.0f)
        h += 1.0f;
    s = std::clamp(s, 0.0f, 1.0f);
    l = std::clamp(l, 0.0f, 1.0f);
    const float m2 = l <= 0.5f ? (l * (1 + s)) : (l + s - l * s);
    const float m1 = 2 * l - m2;
    return vg_rgba_f(std::clamp(hue(h + 1.0f / 3.0f, m1, m2), 0.0f, 1.0f),
                     std::clamp(hue(h, m1, m2), 0.0f, 1.0f),
                     std::clamp(hue(h - 1.0f / 3.0f, m1, m2), 0.0f, 1.0f), a / 255.0f);
}
