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
#include <type_traits>

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

// What a draw's fragment stage keeps from its bindings.
struct FragmentState {
    MVGfragUniforms u;
    mtl::TextureView texture;
    // Untinted four-channel texels read as they are (not as alpha): a run
    // reading them 1:1 may hand them on whole.
    bool texelRuns;
};
static_assert(sizeof(FragmentState) <= mtl::kFragmentStateBytes);
static_assert(std::is_trivially_copyable_v<FragmentState>);

// Whether every pixel of the run is kept at full coverage.
inline bool fully_covered(const float* factor, const unsigned char* keep, int count) {
    int partial = 0;
    for (int i = 0; i < count; ++i)
        partial |= (factor[i] != 1.0f) | (keep[i] == 0);
    return !partial;
}

// Shorter runs are not worth a whole answer.
constexpr int kMinWholeRun = 8;

// Whole answers for the fully covered run [first, last) of a span: a solid
// colour, or opaque texels read 1:1. Each gives the colours the planar loops
// of shade_planar would.
template <int Type>
[[gnu::always_inline]] inline bool answer_whole(const FragmentState& f, const mtl::SpanOut& out,
                                                const float* s, const float* t, int first,
                                                int last) {
    mtl::SpanShortcut& whole = *out.shortcut;
    whole.begin = first;
    whole.end = last;
    if (Type == kMVGshaderGradient) {
        for (int k = 0; k < 4; ++k)
            whole.colour[k] = clamp01(f.u.innerCol[k] * 1.0f);
        whole.kind = mtl::SpanShortcut::Uniform;
        return true;
    }
    if (!f.texelRuns)
        return false;
    const int count = last - first;
    const unsigned char* texels = mtl::texel_row(f.texture, s + first, t + first, count);
    if (!texels)
        return false;
    // Opaque texels only: alpha read as 255 / 255 is exactly one, so the
    // straight-alpha premultiplication leaves the colour as read.
    const int alpha = f.texture.a;
    int translucent = 0;
    for (int i = 0; i < count; ++i)
        translucent |= texels[4 * i + alpha] != 255;
    if (translucent)
        return false;
    whole.kind = mtl::SpanShortcut::Texels;
    whole.texels = texels;
    whole.r = f.texture.r;
    whole.g = f.texture.g;
    whole.b = f.texture.b;
    whole.a = alpha;
    return true;
}

// The colours of pixels [first, last) of the span, given their coverage;
// s and t are the texture coordinates of images and triangles.
template <int Type>
[[gnu::always_inline]] inline void
shade_planar(const FragmentState& f, const mtl::SpanIn& in, const mtl::SpanOut& out,
             const float* factor, const float* s, const float* t, bool solid, int first, int last) {
    if (first >= last)
        return;
    const MVGfragUniforms& u = f.u;
    float* channels[4] = {out.r, out.g, out.b, out.a};
    if (Type == kMVGshaderGradient) {
        if (solid) {
            // inner + (outer - inner) * mix is inner for every mix in 0..1.
            for (int k = 0; k < 4; ++k) {
                const float inner = u.innerCol[k];
                for (int i = first; i < last; ++i)
                    channels[k][i] = clamp01(inner * factor[i]);
            }
            return;
        }
        const float *xs = in.varyings[kPosX], *ys = in.varyings[kPosY];
        float mixes[mtl::kMaxSpan];
        for (int i = first; i < last; ++i)
            mixes[i] = gradient_mix(u, xs[i], ys[i]);
        for (int k = 0; k < 4; ++k) {
            const float inner = u.innerCol[k], outer = u.outerCol[k];
            for (int i = first; i < last; ++i)
                channels[k][i] = clamp01((inner + (outer - inner) * mixes[i]) * factor[i]);
        }
        return;
    }
    tint_span(u, f.texture, s + first, t + first, last - first,
              {out.r + first, out.g + first, out.b + first, out.a + first, out.keep + first});
    for (float* c : channels)
        for (int i = first; i < last; ++i)
            c[i] = clamp01(c[i] * factor[i]);
}

// One shader per paint type, edge anti-aliasing and scissor, picked per
// draw; each stage is a plain loop over the span.
template <int Type, bool AA, bool Scissor>
MTL_SPAN_CLONES void shade(const void* state, const mtl::SpanIn& in, const mtl::SpanOut& out) {
    const FragmentState& f = *static_cast<const FragmentState*>(state);
    const MVGfragUniforms& u = f.u;
    float factor[mtl::kMaxSpan];
    coverage<Type, AA, Scissor>(u, in, out, factor);
    // Images map the position through the paint; triangles carry texture coordinates.
    float imageS[mtl::kMaxSpan], imageT[mtl::kMaxSpan];
    const float *s = in.varyings[kU], *t = in.varyings[kV];
    if constexpr (Type == kMVGshaderImage) {
        const float *xs = in.varyings[kPosX], *ys = in.varyings[kPosY];
        for (int i = 0; i < in.count; ++i) {
            const Point p = apply(u.paintMat, xs[i], ys[i]);
            imageS[i] = p.x / u.extent[0];
            imageT[i] = p.y / u.extent[1];
        }
        s = imageS;
        t = imageT;
    }
    const bool solid = Type == kMVGshaderGradient && is_solid(u);
    if (out.shortcut && (Type != kMVGshaderGradient || solid)) {
        // The fully covered middle of the span, between partly covered ends.
        int first = 0, last = in.count;
        while (first < last && !(factor[first] == 1.0f && out.keep[first] != 0))
            ++first;
        while (last > first && !(factor[last - 1] == 1.0f && out.keep[last - 1] != 0))
            --last;
        if (last - first >= kMinWholeRun &&
            fully_covered(factor + first, out.keep + first, last - first) &&
            answer_whole<Type>(f, out, s, t, first, last)) {
            shade_planar<Type>(f, in, out, factor, s, t, solid, 0, first);
            shade_planar<Type>(f, in, out, factor, s, t, solid, last, in.count);
            return;
        }
    }
    shade_planar<Type>(f, in, out, factor, s, t, solid, 0, in.count);
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

// The varyings a shader variant reads: texture coordinates for the stroke
// factor and for triangles, positions for the scissor, images and gradients.
unsigned varyings_read(int type, bool aa, bool scissor, bool solid) {
    unsigned mask = 0;
    if (aa || type == kMVGshaderTriangles)
        mask |= 1u << kU | 1u << kV;
    if (scissor || type == kMVGshaderImage || (type == kMVGshaderGradient && !solid))
        mask |= 1u << kPosX | 1u << kPosY;
    return mask;
}

// Whether an image paint steps one texel per pixel along rows and columns,
// give or take rounding: only such draws look for runs of texels read 1:1
// (each run is still checked exactly).
bool maps_one_to_one(const MVGfragUniforms& u, const mtl::TextureView& t) {
    if (!t.pixels || u.extent[0] == 0.0f || u.extent[1] == 0.0f)
        return false;
    const double w = double(t.width) / u.extent[0], h = double(t.height) / u.extent[1];
    const auto near = [](double v, double to) { return std::fabs(v - to) < 1e-3; };
    return near(u.paintMat[0] * w, 1) && near(u.paintMat[1] * h, 0) && near(u.paintMat[4] * w, 0) &&
           near(u.paintMat[5] * h, 1);
}

template <bool AA>
void make_fragment(const mtl::FragmentBindings& b, mtl::FragmentProgram& program) {
    FragmentState f;
    std::memcpy(&f.u, b.buffers[0].data, sizeof(f.u));
    const MVGfragUniforms& u = f.u;
    const bool scissor = !scissor_is_open(u);
    using Shade = void (*)(const void*, const mtl::SpanIn&, const mtl::SpanOut&);
    static constexpr Shade table[3][2] = {
        {shade<0, AA, false>, shade<0, AA, true>},
        {shade<1, AA, false>, shade<1, AA, true>},
        {shade<2, AA, false>, shade<2, AA, true>},
    };
    const int type = std::clamp(u.type, 0, 2);
    f.texture = mtl::TextureView::of(b.texture0, b.sampler0);
    f.texelRuns = (u.texType == 0 || u.texType == 1) && u.innerCol[0] == 1.0f &&
                  u.innerCol[1] == 1.0f && u.innerCol[2] == 1.0f && u.innerCol[3] == 1.0f &&
                  (type != kMVGshaderImage || maps_one_to_one(u, f.texture));
    program.shade = table[type][scissor ? 1 : 0];
    program.varyings = varyings_read(type, AA, scissor, is_solid(u));
    std::memcpy(program.state, &f, sizeof(f));
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
