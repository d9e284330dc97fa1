#pragma once

// The rasteriser: triangles to row spans from fixed-point edges, then shading,
// stencil and blending over each span. A plain per-pixel reference path makes
// the same bytes and exists to check the span path.

#include "platform/mtl/MtlStates.h"

namespace mtl {

enum class RasterPath { Spans, Reference };

struct DrawState {
    const RenderPipelineState* pipeline = nullptr;
    const DepthStencilState* depthStencil = nullptr;
    uint32_t stencilReference = 0;
    CullMode cullMode = CullModeNone;
    Winding frontFacingWinding = WindingClockwise;
    Viewport viewport;
    bool hasScissor = false;
    ScissorRect scissor;
    BufferView vertexBuffers[kMaxBuffers];
    FragmentBindings fragment;
};

struct RasterTarget {
    Texture* color = nullptr;
    Texture* stencil = nullptr;
    // The band of rows this replay may touch; the rest belongs to other bands.
    int rowBegin = 0, rowEnd = 1 << 30;
};

struct DrawRange {
    PrimitiveType type = PrimitiveTypeTriangle;
    size_t start = 0;                    // first vertex, or first index
    size_t count = 0;                    // vertices or indices
    const BufferView* indices = nullptr; // 32-bit indices, or null for a plain draw
};

// Draws into the target; false when the draw was skipped (no pipeline, or
// it reads past one of its buffers). The counts (when given) grow by the
// pixels the draw shaded or tested, and by those it wrote from whole-span answers.
struct RasterCounts {
    long visited = 0;
    long whole = 0;
};
bool rasterise(const RasterTarget& target, const DrawState& state, const DrawRange& range,
               RasterPath path, RasterCounts* counts = nullptr);

} // namespace mtl
