#include "render/metal/MVGshaders.h"

#include "platform/mtl/MtlLibrary.h"
#include "platform/mtl/MtlSampler.h"
#include "platform/mtl/MtlSpanClones.h"
#include "render/metal/MVGuniforms.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <mutex>

namespace {

// Varyings the vertex function hands on: tcoord, then pos.
enum { kU, kV, kPosX, kPosY };

const char kLibrary[] = "MTLBvertexShader\0fragmentShader\0fragmentShaderAA";

// Clip position with (0, 0) the top-left and the view size the bottom-right.
void vertex_shader(const float (*attributes)[4], const mtl::BufferView* buffers,
                   mtl::VertexOut& out) {
    float viewSize[2];
    std::memcpy(viewSize, buffers[1].data, sizeof(viewSize));
    const float x = attributes[0][0], y = attributes[0][1];
    out.position[0] = 2.0f * x / viewSize[0] - 1.0f;
    out.position[1] = 1.0f - 2.0f * y / viewSize[1];
    out.varyings[kU] = attributes[1][0];
    out.varyings[kV] = attributes[1][1];
    out.varyings[kPosX] = x;
    out.varyings[kPosY] = y;
}

inline float clamp01(float v) {
    return v > 0.0f ? (v < 1.0f ? v : 1.0f) : 0.0f;
}

struct Point {
    float x, y;
};

inline Point apply(const float m[12], float x, float y) {
    return {m[0] * x + m[4] * y + m[8], m[1] * x + m[5] * y + m[9]};
}

inline float scissor_mask(const MVGfragUniforms& u, float x, float y) {
    const Point p = apply(u.scissorMat, x, y);
    const float sx = (std::fabs(p.x) - u.scissorExt[0]) * u.scissorScale[0];
    const float sy = (std::fabs(p.y) - u.scissorExt[1]) * u.scissorScale[1];
    return clamp01(0.5f - sx) * clamp01(0.5f - sy);
}

inline float stroke_mask(const MVGfragUniforms& u, float tu, float tv) {
    return std::min(1.0f, (1.0f - std::fabs(tu * 2.0f - 1.0f)) * u.strokeMult) * std::min(1.0f, tv);
}

inline float gradient_mix(const MVGfragUniforms& u, float x, float y) {
    const Point p = apply(u.paintMat, x, y);
    const float qx = std::fabs(p.x) - u.extent[0] + u.radius;
    const float qy = std::fabs(p.y) - u.extent[1] + u.radius;
    const float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
    const float sd = std::min(std::max(qx, qy), 0.0f) + std::sqrt(ox * ox + oy * oy) - u.radius;
    if (u.feather > 0.0f)
        return clamp01((sd + u.feather * 0.5f) / u.feather);
    return sd >= 0.0f ? 1.0f : 0.0f;
}

// A paint whose two colours are the same finite values: its gradient mix
// cannot change the colour.
inline bool is_solid(const MVGfragUniforms& u) {
    for (int k = 0; k < 4; ++k)
        if (!(u.innerCol[k] == u.outerCol[k]) || !std::isfinite(u.innerCol[k]))
            return false;
    return true;
}

// Texels as the paint reads them, tinted by the inner colour, into `out`.
[[gnu::always_inline]] inline void tint_span(const MVGfragUniforms& u,
                                             const mtl::TextureView& texture, const float* s,
                                             const float* t, int count, const mtl::SpanOut& out) {
    mtl::sample_span(texture, s, t, count, {out.r, out.g, out.b, out.a});
    if (u.texType == 1) {
        for (int i = 0; i < count; ++i) {
            out.r[i] *= out.a[i];
            out.g[i] *= out.a[i];
            out.b[i] *= out.a[i];
        }
    } else if (u.texType == 2) {
        for (int i = 0; i < count; ++i)
            out.g[i] = out.b[i] = out.a[i] = out.r[i];
    }
    float* channels[4] = {out.r, out.g, out.b, out.a};
    for (int k = 0; k < 4; ++k) {
        const float inner = u.innerCol[k];
        if (inner == 1.0f) // an untinted image: texels times one are the texels
            continue;
        for (int i = 0; i < count; ++i)
            channels[k][i] *= inner;
    }
}

// Coverage of each pixel: scissor, then (AA) the stroke factor, discarding
// below the threshold. Triangles take no stroke factor.
template <int Type, bool AA, bool Scissor>
[[gnu::always_inline]] inline void coverage(const MVGfragUniforms& u, const mtl::SpanIn& in,
                                            const mtl::SpanOut& out, float* factor) {
    const float *xs = in.varyings[kPosX], *ys = in.varyings[kPosY];
    const float *us = in.varyings[kU], *vs = in.varyings[kV];
    for (int i = 0; i < in.count; ++i)
        factor[i] = Scissor ? scissor_mask(u, xs[i], ys[i]) : 1.0f;
    if (!AA)
        return;
    // Locals, as keep's bytes could otherwise alias the count and uniforms.
    const int count = in.count;
    const float threshold = u.strokeThr;
    unsigned char* __restrict keep = out.keep;
    for (int i = 0; i < count; ++i) {
        const float stroke = stroke_mask(u, us[i], vs[i]);
        keep[i] = stroke < threshold ? 0 : keep[i];
        if (Type != kMVGshaderTriangles)
            factor[i] *= stroke;
    }
}

// One shader per paint type, edge anti-aliasing and scissor, picked per
// draw; each stage is a plain loop over the span.
template <int Type, bool AA, bool Scissor>
MTL_SPAN_CLONES void shade(const MVGfragUniforms& u, const mtl::TextureView& b,
                           const mtl::SpanIn& in, const mtl::SpanOut& out) {
    float factor[mtl::kMaxSpan];
    coverage<Type, AA, Scissor>(u, in, out, factor);
    const float *xs = in.varyings[kPosX], *ys = in.varyings[kPosY];
    if (Type == kMVGshaderGradient) {
        float* channels[4] = {out.r, out.g, out.b, out.a};
        if (is_solid(u)) {
            // inner + (outer - inner) * mix is inner for every mix in 0..1.
            for (int k = 0; k < 4; ++k) {
                const float inner = u.innerCol[k];
                for (int i = 0; i < in.count; ++i)
                    channels[k][i] = clamp01(inner * factor[i]);
            }
            return;
        }
        float mixes[mtl::kMaxSpan];
        for (int i = 0; i < in.count; ++i)
            mixes[i] = gradient_mix(u, xs[i], ys[i]);
        for (int k = 0; k < 4; ++k) {
            const float inner = u.innerCol[k], outer = u.outerCol[k];
            for (int i = 0; i < in.count; ++i)
                channels[k][i] = clamp01((inner + (outer - inner) * mixes[i]) * factor[i]);
        }
        return;
    }
    // Images map the position through the paint; triangles carry texture coordinates.
    if constexpr (Type == kMVGshaderImage) {
        float s[mtl::kMaxSpan], t[mtl::kMaxSpan];
        for (int i = 0; i < in.count; ++i) {
            const Point p = apply(u.paintMat, xs[i], ys[i]);
            s[i] = p.x / u.extent[0];
            t[i] = p.y / u.extent[1];
        }
        tint_span(u, b, s, t, in.count, out);
    } else {
        tint_span(u, b, in.varyings[kU], in.varyings[kV], in.count, out);
    }
    float* channels[4] = {out.r, out.g, out.b, out.a};
    for (float* c : channels)
        for (int i = 0; i < in.count; ++i)
            c[i] = clamp01(c[i] * factor[i]);
}

// No scissor gives a factor of exactly 1, so such draws skip computing it.
bool scissor_is_open(const MVGfragUniforms& u) {
    for (float m : u.scissorMat)
        if (m != 0.0f)
            return false;
    const float sx = (0.0f - u.scissorExt[0]) * u.scissorScale[0];
    const float sy = (0.0f - u.scissorExt[1]) * u.scissorScale[1];
    return clamp01(0.5f - sx) * clamp01(0.5f - sy) == 1.0f;
}

template <bool AA>
mtl::SpanShader make_fragment(const mtl::FragmentBindings& b) {
    MVGfragUniforms u;
    std::memcpy(&u, b.buffers[0].data, sizeof(u));
    const bool scissor = !scissor_is_open(u);
    using Shade = void (*)(const MVGfragUniforms&, const mtl::TextureView&, const mtl::SpanIn&,
                           const mtl::SpanOut&);
    static constexpr Shade table[3][2] = {
        {shade<0, AA, false>, shade<0, AA, true>},
        {shade<1, AA, false>, shade<1, AA, true>},
        {shade<2, AA, false>, shade<2, AA, true>},
    };
    const int type = std::clamp(u.type, 0, 2);
    const Shade chosen = table[type][scissor ? 1 : 0];
    const mtl::TextureView texture = mtl::TextureView::of(b.texture0, b.sampler0);
    return [chosen, u, texture](const mtl::SpanIn& in, const mtl::SpanOut& out) {
        chosen(u, texture, in, out);
    };
}

} // namespace

void mvg_register_shaders() {
    static std::once_flag once;
    std::call_once(once, [] {
        mtl::ShaderFunctionInfo vertex;
        vertex.vertex = vertex_shader;
        vertex.needs[0] = {1, 2 * sizeof(float)};
        mtl::register_shader_function("vertexShader", vertex);
        mtl::ShaderFunctionInfo fragment;
        fragment.needs[0] = {0, sizeof(MVGfragUniforms)};
        fragment.fragment = make_fragment<false>;
        mtl::register_shader_function("fragmentShader", fragment);
        fragment.fragment = make_fragment<true>;
        mtl::register_shader_function("fragmentShaderAA", fragment);
    });
}

namespace {

std::atomic<const unsigned char*> g_libraryOverride{nullptr};
std::atomic<size_t> g_libraryOverrideSize{0};

} // namespace

void mvg_use_shader_library(const unsigned char* data, size_t size) {
    g_libraryOverrideSize = size;
    g_libraryOverride = data;
}

const unsigned char* mvg_shader_library_data() {
    if (const unsigned char* data = g_libraryOverride)
        return data;
    return reinterpret_cast<const unsigned char*>(kLibrary);
}

size_t mvg_shader_library_size() {
    return g_libraryOverride ? g_libraryOverrideSize.load() : sizeof(kLibrary);
}
