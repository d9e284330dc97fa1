#pragma once

// Per-span fragment operations after shading: stencil test with its face
// operation, then blending into the colour target. One arithmetic definition
// per pixel, whatever the span length.

#include "platform/mtl/MtlStates.h"

namespace mtl {

struct SpanColors {
    float r[kMaxSpan], g[kMaxSpan], b[kMaxSpan], a[kMaxSpan];
    unsigned char keep[kMaxSpan];
};

// Applies the face's stencil test and operation to the kept pixels; pixels
// failing the test lose keep. A null descriptor passes and keeps the value.
void stencil_span(const StencilDescriptor* face, uint32_t reference, unsigned char* stencil,
                  int count, unsigned char* keep);

// Blends kept pixels into `row` (the target's pixels from x0), per format:
// all of them, or those from `first` (row and colours still indexed from x0).
void blend_span(const ColorAttachmentDescriptor& blend, PixelFormat format, unsigned char* row,
                int count, const SpanColors& colors);
void blend_span(const ColorAttachmentDescriptor& blend, PixelFormat format, unsigned char* row,
                int first, int count, const SpanColors& colors);

// Writes the run a shader answered whole (see SpanShortcut) where the blend
// makes that a plain fill or copy; false leaves the row untouched for the
// planar path. `row` holds the target's pixels from x0.
bool blend_shortcut(const ColorAttachmentDescriptor& blend, PixelFormat format, unsigned char* row,
                    const SpanShortcut& shortcut);

// The planar colours and keep flags of the run a whole answer stands for.
void expand_shortcut(const SpanShortcut& shortcut, SpanColors& colors);

// 0..1 to a byte, rounded to nearest; NaN stores 0. Branch-free so span
// loops vectorise.
inline int to_unorm8_int(float v) {
    const float positive = v > 0.0f ? v : 0.0f;
    const float clamped = positive < 1.0f ? positive : 1.0f;
    return static_cast<int>(clamped * 255.0f + 0.5f); // 0..255
}
inline unsigned char to_unorm8(float v) {
    return static_cast<unsigned char>(to_unorm8_int(v));
}

} // namespace mtl
