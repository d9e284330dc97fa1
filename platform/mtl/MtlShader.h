#pragma once

// How shader functions look: plain C++ functions registered by name. A vertex
// function turns fetched attributes into a clip position and varyings; a
// fragment function is a factory that, once per draw, inspects its bindings
// and returns a span shader colouring runs of pixels of one row.

#include "platform/mtl/MtlResources.h"

#include <cstddef>
#include <string>

namespace mtl {

inline constexpr int kMaxBuffers = 4;
inline constexpr int kMaxAttributes = 4;
inline constexpr int kMaxVaryings = 4;
inline constexpr int kMaxSpan = 256; // pixels a span shader gets at once

struct BufferView {
    const unsigned char* data = nullptr;
    size_t size = 0; // bytes from the bound offset to the buffer's end
};

struct VertexOut {
    float position[2]; // clip space, w = 1
    float varyings[kMaxVaryings];
};

using VertexFunction = void (*)(const float (*attributes)[4], const BufferView* buffers,
                                VertexOut& out);

struct FragmentBindings {
    BufferView buffers[kMaxBuffers];
    const Texture* texture0 = nullptr;
    const SamplerState* sampler0 = nullptr;
};

// Varyings of each pixel of the span; colours come back premultiplied in
// planar arrays. keep[i] = 0 discards pixel i. Varyings the draw's program
// does not read are null.
struct SpanIn {
    int x0 = 0, y = 0, count = 0;
    const float* varyings[kMaxVaryings] = {};
};

// A shorter answer a shader may give for a run of a span's pixels, [begin,
// end), instead of filling the planar arrays there, when the rasteriser
// offers it; the other pixels are answered in the arrays as usual. Each form
// stands for exactly the colours the arrays would have held, so the result
// is the same bytes.
struct SpanShortcut {
    enum Kind { None, Uniform, Texels };
    Kind kind = None;
    int begin = 0, end = 0;
    // Uniform: every pixel of the run kept, with this colour.
    float colour[4] = {};
    // Texels: every pixel of the run kept and opaque; channel c of pixel
    //   begin + i is texels[4 i + c's byte] / 255, where the bytes are r, g, b, a below.
    const unsigned char* texels = nullptr;
    int r = 0, g = 1, b = 2, a = 3;
};

struct SpanOut {
    float* r;
    float* g;
    float* b;
    float* a;
    unsigned char* keep;
    SpanShortcut* shortcut = nullptr; // null: only the planar answer is taken
};

// A draw's fragment stage, set up once per draw by its factory: one plain
// function called per span with the state the factory stored.
inline constexpr size_t kFragmentStateBytes = 512;
struct FragmentProgram {
    void (*shade)(const void* state, const SpanIn&, const SpanOut&) = nullptr;
    unsigned varyings = (1u << kMaxVaryings) - 1; // bit k: varying k is read
    alignas(16) unsigned char state[kFragmentStateBytes];

    void operator()(const SpanIn& in, const SpanOut& out) const { shade(state, in, out); }
    explicit operator bool() const { return shade != nullptr; }
};
using FragmentFactory = void (*)(const FragmentBindings&, FragmentProgram& program);

// What a function reads: the buffers that must hold at least so many bytes
// from their bound offset, else the draw is skipped.
struct BufferNeed {
    int index = -1;
    size_t bytes = 0;
};

struct ShaderFunctionInfo {
    VertexFunction vertex = nullptr;
    FragmentFactory fragment = nullptr;
    BufferNeed needs[2];
};

// Registers a function under a name a library blob may list; re-registering
// the same name replaces it.
void register_shader_function(const std::string& name, const ShaderFunctionInfo& info);
bool find_shader_function(const std::string& name, ShaderFunctionInfo& info);

} // namespace mtl
