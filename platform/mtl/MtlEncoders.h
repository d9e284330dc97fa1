#pragma once

// Render and blit encoders. They only record: each call becomes a step run
// later on the queue's worker, and each step holds what it binds.

#include "platform/mtl/MtlRaster.h"

#include <functional>
#include <memory>
#include <vector>

namespace mtl {

class Device;

struct RenderPassColorAttachment {
    std::shared_ptr<Texture> texture;
    LoadAction loadAction = LoadActionDontCare;
    StoreAction storeAction = StoreActionStore;
    ClearColor clearColor{0, 0, 0, 1};
};

struct RenderPassStencilAttachment {
    std::shared_ptr<Texture> texture;
    LoadAction loadAction = LoadActionDontCare;
    StoreAction storeAction = StoreActionDontCare;
    uint32_t clearStencil = 0;
};

struct RenderPassDescriptor {
    RenderPassColorAttachment colorAttachment0;
    RenderPassStencilAttachment stencilAttachment;
};

// What a recorded step runs against on the worker.
struct BufferSlot {
    const Buffer* buffer = nullptr;
    size_t offset = 0;
};

struct PassContext {
    Device& device;
    RasterTarget target;
    DrawState state;
    BufferSlot vertexSlots[kMaxBuffers];
    BufferSlot fragmentSlots[kMaxBuffers];
    // The first of a pass's bands counts what happens once per draw.
    bool firstBand = true;
};

// A list of recorded steps with the textures they touch.
struct Pass {
    std::vector<std::function<void(PassContext&)>> steps;
    std::vector<std::shared_ptr<Texture>> textures;
    RenderPassDescriptor descriptor;
    bool isRender = false;
};

class RenderCommandEncoder {
public:
    explicit RenderCommandEncoder(std::shared_ptr<Pass> pass) : pass_(std::move(pass)) {}

    void setRenderPipelineState(std::shared_ptr<RenderPipelineState> state);
    void setDepthStencilState(std::shared_ptr<DepthStencilState> state);
    void setStencilReferenceValue(uint32_t value);
    void setCullMode(CullMode mode);
    void setFrontFacingWinding(Winding winding);
    void setViewport(const Viewport& viewport);
    void setScissorRect(const ScissorRect& rect);
    void setVertexBuffer(std::shared_ptr<Buffer> buffer, size_t offset, int index);
    void setVertexBufferOffset(size_t offset, int index);
    void setFragmentBuffer(std::shared_ptr<Buffer> buffer, size_t offset, int index);
    void setFragmentBufferOffset(size_t offset, int index);
    void setFragmentTexture(std::shared_ptr<Texture> texture, int index);
    void setFragmentSamplerState(std::shared_ptr<SamplerState> sampler, int index);
    void drawPrimitives(PrimitiveType type, size_t vertexStart, size_t vertexCount);
    void drawIndexedPrimitives(PrimitiveType type, size_t indexCount, IndexType indexType,
                               std::shared_ptr<Buffer> indexBuffer, size_t indexBufferOffset);
    void endEncoding() { ended_ = true; }

private:
    std::shared_ptr<Pass> pass_;
    bool ended_ = false;
    void draw(PrimitiveType type, size_t start, size_t count, std::shared_ptr<Buffer> indices,
              size_t indexOffset);
    void record(std::function<void(PassContext&)> step);
};

class BlitCommandEncoder {
public:
    explicit BlitCommandEncoder(std::shared_ptr<Pass> pass) : pass_(std::move(pass)) {}

    void copyFromBuffer(std::shared_ptr<Buffer> source, size_t sourceOffset, size_t bytesPerRow,
                        std::shared_ptr<Texture> destination, const Region& region);
    // Copies a region of one texture into another at `destinationOrigin`:
    // the same pixel format, or the two four-byte colour orders (the channels
    // then move to their places, as drawing the texels 1:1 would put them).
    // A region reaching past either texture, or other formats, copy nothing.
    void copyFromTexture(std::shared_ptr<Texture> source, const Region& region,
                         std::shared_ptr<Texture> destination, const Origin& destinationOrigin);
    void synchronizeResource(std::shared_ptr<Texture> texture); // memory is shared: nothing to do
    void generateMipmaps(std::shared_ptr<Texture> texture);     // only level 0 exists
    void endEncoding() {}

private:
    std::shared_ptr<Pass> pass_;
};

} // namespace mtl
