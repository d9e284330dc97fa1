#pragma once

// A device with pass-through test shaders: vertices in pixels (x, y) plus a
// colour (r, g, b, a) that becomes the fragment colour.

#include "platform/mtl/MtlLayer.h"

#include <array>
#include <vector>

namespace mtl_test {

struct Vertex {
    float x, y, r, g, b, a;
};

struct Kit {
    Kit();
    std::shared_ptr<mtl::Device> device = std::make_shared<mtl::Device>();
    std::shared_ptr<mtl::CommandQueue> queue = device->newCommandQueue();
    std::shared_ptr<mtl::Library> library;

    // "solid" paints the vertex colour; "oddDiscard" discards odd columns;
    // null gives a stencil-only pipeline.
    std::shared_ptr<mtl::RenderPipelineState> pipeline(const char* fragment,
                                                       const mtl::ColorAttachmentDescriptor& color);
    std::shared_ptr<mtl::Texture> target(mtl::PixelFormat format, int w, int h);
    std::shared_ptr<mtl::Buffer> vertices(const std::vector<Vertex>& v);
    std::shared_ptr<mtl::Buffer> viewSize(int w, int h);

    // One pass over `color` and `stencil` (either may be null), run to completion.
    void draw(const std::shared_ptr<mtl::Texture>& color,
              const std::shared_ptr<mtl::Texture>& stencil,
              const std::function<void(mtl::RenderCommandEncoder&)>& encode);
};

mtl::ColorAttachmentDescriptor source_over(mtl::PixelFormat format);
// Stencil incremented (wrapping) by every covered pixel of either face.
mtl::DepthStencilDescriptor counting_stencil();
// 240 random triangles (a list, then a strip) with random translucent colours,
// source-over into 64×64 BGRA and counting into a stencil, scissored; answers
// the colour bytes followed by the stencil bytes.
std::vector<unsigned char> random_scene(Kit& kit, unsigned seed);
mtl::ColorAttachmentDescriptor replace(mtl::PixelFormat format);
std::vector<unsigned char> bytes_of(const mtl::Texture& t);

} // namespace mtl_test
