#pragma once

// Texture sampling as shaders do it, resolved once per draw into a view so
// the per-pixel work has no lookups. Texel centres at +0.5; R8 reads as
// (r, 0, 0, 1); no texture reads as 0.

#include "platform/mtl/MtlShader.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

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

// Planar colours of a run of samples.
struct SampleSpan {
    float* r;
    float* g;
    float* b;
    float* a;
};

namespace detail {

inline constexpr float kByteScale = 1.0f / 255.0f;

// safe_floor() for spans: the same integers, in a form loops can vectorise.
inline int span_floor(float v) {
    const float bounded = v > -1e9f ? (v > 1e9f ? 1e9f : v) : -1e9f;
    const int truncated = static_cast<int>(bounded);
    return truncated - (bounded < static_cast<float>(truncated) ? 1 : 0);
}

inline int clamp_index(int i, int n) {
    const int low = i > 0 ? i : 0;
    return low < n - 1 ? low : n - 1;
}

// Texel positions of a run with edge clamping: where each sample's (first)
// texel is and its bilinear weights, zero for nearest filtering.
struct SpanCoordinates {
    int x[kMaxSpan], y[kMaxSpan];
    float ax[kMaxSpan], ay[kMaxSpan];
};

template <bool Linear>
[[gnu::always_inline]] inline void
locate_run(float w, float h, const float* __restrict u, const float* __restrict v, int count,
           int* __restrict xs, int* __restrict ys, float* __restrict axs, float* __restrict ays) {
    for (int i = 0; i < count; ++i) {
        const float tx = u[i] * w, ty = v[i] * h;
        const float fx = Linear ? tx - 0.5f : tx, fy = Linear ? ty - 0.5f : ty;
        const int x0 = span_floor(fx), y0 = span_floor(fy);
        xs[i] = x0;
        ys[i] = y0;
        axs[i] = Linear ? fx - static_cast<float>(x0) : 0.0f;
        ays[i] = Linear ? fy - static_cast<float>(y0) : 0.0f;
    }
}

[[gnu::always_inline]] inline void locate(const TextureView& t, const float* u, const float* v,
                                          int count, SpanCoordinates& c) {
    const float w = static_cast<float>(t.width), h = static_cast<float>(t.height);
    if (t.linear)
        locate_run<true>(w, h, u, v, count, c.x, c.y, c.ax, c.ay);
    else
        locate_run<false>(w, h, u, v, count, c.x, c.y, c.ax, c.ay);
}

static_assert(std::endian::native == std::endian::little, "fetch_row reads bytes by shifts");

template <bool FourChannels>
[[gnu::always_inline]] inline void fetch_row(const TextureView& t, int x0, int y, int count,
                                             const SampleSpan& out) {
    const unsigned char* row = t.pixels + size_t(y) * t.pitch + size_t(x0) * t.bytesPerPixel;
    if (!FourChannels) {
        for (int i = 0; i < count; ++i) {
            out.r[i] = row[i] * kByteScale;
            out.g[i] = out.b[i] = 0.0f;
            out.a[i] = 1.0f;
        }
        return;
    }
    uint32_t pixels[kMaxSpan];
    std::memcpy(pixels, row, size_t(count) * 4);
    const int sr = 8 * t.r, sg = 8 * t.g, sb = 8 * t.b, sa = 8 * t.a; // little-endian bytes
    const auto byte = [](uint32_t p, int shift) {
        return static_cast<float>(static_cast<int>((p >> shift) & 0xFF));
    };
    for (int i = 0; i < count; ++i) {
        out.r[i] = byte(pixels[i], sr) * kByteScale;
        out.g[i] = byte(pixels[i], sg) * kByteScale;
        out.b[i] = byte(pixels[i], sb) * kByteScale;
        out.a[i] = byte(pixels[i], sa) * kByteScale;
    }
}

// Texels of a run of samples with edge clamping, filtered on whole arrays so
// the loops vectorise. Bilinear weights of zero reduce the filter to its first
// texel exactly (c + (d - c) * 0 == c for the finite texel values), so one
// loop serves centred and off-centre samples alike, and nearest filtering
// (weights always zero) takes only the first texel. Each sample's texels are
// read once for all four channels.
using PackedTexel = uint32_t __attribute__((may_alias));

// One channel of a texel as 0..1.
inline float texel_channel(uint32_t texel, int shift) {
    return static_cast<float>(static_cast<int>((texel >> shift) & 0xFF)) * kByteScale;
}

inline float bilinear(float c00, float c10, float c01, float c11, float ax, float ay) {
    const float top = c00 + (c10 - c00) * ax;
    const float bottom = c01 + (c11 - c01) * ax;
    return top + (bottom - top) * ay;
}

template <bool FourChannels, bool Linear>
[[gnu::always_inline]] inline void filter_run(const TextureView& t, const SpanCoordinates& c,
                                              int count, const SampleSpan& out) {
    const int w = static_cast<int>(t.width), h = static_cast<int>(t.height);
    const int pitch = static_cast<int>(t.pitch); // at most 16384 * 4 * 16384 bytes in all
    if (!FourChannels) {
        for (int i = 0; i < count; ++i) {
            const int xa = clamp_index(c.x[i], w), ya = clamp_index(c.y[i], h);
            const int xb = clamp_index(c.x[i] + 1, w), yb = clamp_index(c.y[i] + 1, h);
            const float c00 = t.pixels[ya * pitch + xa] * kByteScale;
            const float ax = c.ax[i], ay = c.ay[i];
            // The absent channels are filtered too: weights that are not
            // finite make them NaN, as they do for single samples.
            out.r[i] = Linear ? bilinear(c00, t.pixels[ya * pitch + xb] * kByteScale,
                                         t.pixels[yb * pitch + xa] * kByteScale,
                                         t.pixels[yb * pitch + xb] * kByteScale, ax, ay)
                              : c00;
            out.g[i] = out.b[i] = Linear ? bilinear(0.0f, 0.0f, 0.0f, 0.0f, ax, ay) : 0.0f;
            out.a[i] = Linear ? bilinear(1.0f, 1.0f, 1.0f, 1.0f, ax, ay) : 1.0f;
        }
        return;
    }
    const auto* texels = reinterpret_cast<const PackedTexel*>(t.pixels);
    const int stride = pitch / 4; // texels per row: texture rows hold whole texels
    const int sr = 8 * t.r, sg = 8 * t.g, sb = 8 * t.b, sa = 8 * t.a; // little-endian bytes
    for (int i = 0; i < count; ++i) {
        const int xa = clamp_index(c.x[i], w), ya = clamp_index(c.y[i], h);
        const uint32_t p00 = texels[ya * stride + xa];
        if (!Linear) {
            out.r[i] = texel_channel(p00, sr);
            out.g[i] = texel_channel(p00, sg);
            out.b[i] = texel_channel(p00, sb);
            out.a[i] = texel_channel(p00, sa);
            continue;
        }
        const int xb = clamp_index(c.x[i] + 1, w), yb = clamp_index(c.y[i] + 1, h);
        const uint32_t p10 = texels[ya * stride + xb];
        const uint32_t p01 = texels[yb * stride + xa];
        const uint32_t p11 = texels[yb * stride + xb];
        const float ax = c.ax[i], ay = c.ay[i];
        const auto filtered = [&](int shift) {
            return bilinear(texel_channel(p00, shift), texel_channel(p10, shift),
                            texel_channel(p01, shift), texel_channel(p11, shift), ax, ay);
        };
        out.r[i] = filtered(sr);
        out.g[i] = filtered(sg);
        out.b[i] = filtered(sb);
        out.a[i] = filtered(sa);
    }
}

// Whether the run reads consecutive texels of one row at their centres
// (where), as a run across an image drawn 1:1 does.
[[gnu::always_inline]] inline bool centred_row(const TextureView& t, const SpanCoordinates& c,
                                               int count, int& column, int& row) {
    // The row the run would read, guessed from its first sample.
    const long x0 = c.x[0] + (c.ax[0] > 0.5f ? 1 : 0), y0 = c.y[0] + (c.ay[0] > 0.5f ? 1 : 0);
    if (!(y0 >= 0 && y0 < t.height && x0 >= 0 && x0 + count <= t.width))
        return false;
    column = static_cast<int>(x0);
    row = static_cast<int>(y0);
    int astray = 0;
    for (int i = 0; i < count; ++i)
        astray |= (c.x[i] != column + i) | (c.y[i] != row) | (c.ax[i] != 0.0f) | (c.ay[i] != 0.0f);
    return !astray;
}

// A run across an image drawn 1:1 reads consecutive texels of one row at
// their centres, so the row is copied whole; any other run is filtered.
template <bool FourChannels>
[[gnu::always_inline]] inline void sample_clamped(const TextureView& t, const float* u,
                                                  const float* v, int count,
                                                  const SampleSpan& out) {
    if (count <= 0)
        return;
    SpanCoordinates c;
    locate(t, u, v, count, c);
    int column = 0, row = 0;
    if (centred_row(t, c, count, column, row))
        return fetch_row<FourChannels>(t, column, row, count, out);
    if (t.linear)
        filter_run<FourChannels, true>(t, c, count, out);
    else
        filter_run<FourChannels, false>(t, c, count, out);
}

} // namespace detail

// The first of the four-byte texels a run of samples reads 1:1, as
// sample_span() would read them, or null when it reads anything else.
[[gnu::always_inline]] inline const unsigned char* texel_row(const TextureView& t, const float* u,
                                                             const float* v, int count) {
    if (!t.pixels || t.bytesPerPixel != 4 || t.g < 0 || t.repeatS || t.repeatT || count <= 0)
        return nullptr;
    detail::SpanCoordinates c;
    detail::locate(t, u, v, count, c);
    int column = 0, row = 0;
    if (!detail::centred_row(t, c, count, column, row))
        return nullptr;
    return t.pixels + size_t(row) * t.pitch + size_t(column) * 4;
}

// sample() over a run of at most kMaxSpan coordinates, giving the same values.
// Its loops are always inlined so callers built for a wider vector unit use it.
[[gnu::always_inline]] inline void sample_span(const TextureView& t, const float* u, const float* v,
                                               int count, const SampleSpan& out) {
    if (!t.pixels) {
        std::fill(out.r, out.r + count, 0.0f);
        std::fill(out.g, out.g + count, 0.0f);
        std::fill(out.b, out.b + count, 0.0f);
        std::fill(out.a, out.a + count, 0.0f);
        return;
    }
    if (t.repeatS || t.repeatT) {
        for (int i = 0; i < count; ++i) {
            float c[4];
            sample(t, u[i], v[i], c);
            out.r[i] = c[0];
            out.g[i] = c[1];
            out.b[i] = c[2];
            out.a[i] = c[3];
        }
    } else if (t.g >= 0) {
        detail::sample_clamped<true>(t, u, v, count, out);
    } else {
        detail::sample_clamped<false>(t, u, v, count, out);
    }
}

} // namespace mtl
