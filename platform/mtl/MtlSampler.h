#pragma once

// Texture sampling as shaders do it, resolved once per draw into a view so
// the per-pixel work has no lookups. Texel centres at +0.5; R8 reads as
// (r, 0, 0, 1); no texture reads as 0.

#include "platform/mtl/MtlResources.h"

#include <algorithm>
#include <cmath>

namespace mtl {

struct TextureView {
    const unsigned char* pixels = nullptr; // null: no texture bound
    long width = 0, height = 0;
    size_t pitch = 0;
    int bytesPerPixel = 0;
    int r = 0, g = -1, b = -1, a = -1; // byte of each channel; -1: absent
    bool linear = false;
    bool repeatS = false, repeatT = false;

    static TextureView of(const Texture* texture, const SamplerState* sampler);
};

namespace detail {

inline long safe_floor(float v) {
    if (!(v > -1e9f))
        return -1000000000L;
    if (v > 1e9f)
        return 1000000000L;
    // floor() without a library call: truncate, then step down for negatives.
    const long truncated = static_cast<long>(v);
    return truncated - (v < static_cast<float>(truncated) ? 1 : 0);
}

inline long wrap(long i, long n, bool repeat) {
    return repeat ? ((i % n) + n) % n : std::clamp(i, 0L, n - 1);
}

inline void fetch(const TextureView& t, long x, long y, float out[4]) {
    constexpr float k = 1.0f / 255.0f;
    const unsigned char* p = t.pixels + size_t(y) * t.pitch + size_t(x) * t.bytesPerPixel;
    out[0] = p[t.r] * k;
    out[1] = t.g >= 0 ? p[t.g] * k : 0.0f;
    out[2] = t.b >= 0 ? p[t.b] * k : 0.0f;
    out[3] = t.a >= 0 ? p[t.a] * k : 1.0f;
}

} // namespace detail

inline void sample(const TextureView& t, float u, float v, float out[4]) {
    if (!t.pixels) {
        out[0] = out[1] = out[2] = out[3] = 0;
        return;
    }
    const float tx = u * static_cast<float>(t.width), ty = v * static_cast<float>(t.height);
    if (!t.linear) {
        detail::fetch(t, detail::wrap(detail::safe_floor(tx), t.width, t.repeatS),
                      detail::wrap(detail::safe_floor(ty), t.height, t.repeatT), out);
        return;
    }
    const float fx = tx - 0.5f, fy = ty - 0.5f;
    const long x0 = detail::safe_floor(fx), y0 = detail::safe_floor(fy);
    const float ax = fx - static_cast<float>(x0), ay = fy - static_cast<float>(y0);
    const long xa = detail::wrap(x0, t.width, t.repeatS);
    const long xb = detail::wrap(x0 + 1, t.width, t.repeatS);
    const long ya = detail::wrap(y0, t.height, t.repeatT);
    const long yb = detail::wrap(y0 + 1, t.height, t.repeatT);
    float c00[4], c10[4], c01[4], c11[4];
    detail::fetch(t, xa, ya, c00);
    detail::fetch(t, xb, ya, c10);
    detail::fetch(t, xa, yb, c01);
    detail::fetch(t, xb, yb, c11);
    for (int i = 0; i < 4; ++i) {
        const float top = c00[i] + (c10[i] - c00[i]) * ax;
        const float bottom = c01[i] + (c11[i] - c01[i]) * ax;
        out[i] = top + (bottom - top) * ay;
    }
}

} // namespace mtl
