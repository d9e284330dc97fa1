#pragma once

// How shader functions look: plain C++ functions registered by name. A vertex
// function turns fetched attributes into a clip position and varyings; a
// fragment function is a factory that, once per draw, inspects its bindings
// and returns a span shader colouring runs of pixels of one row.

#include "platform/mtl/MtlResources.h"

#include <functional>
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
// planar arrays. keep[i] = 0 discards pixel i.
struct SpanIn {
    int x0 = 0, y = 0, count = 0;
    const float* varyings[kMaxVaryings] = {};
};
struct SpanOut {
    float* r;
    float* g;
    float* b;
    float* a;
    unsigned char* keep;
};
using SpanShader = std::function<void(const SpanIn&, const SpanOut&)>;
using FragmentFactory = SpanShader (*)(const FragmentBindings&);

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
