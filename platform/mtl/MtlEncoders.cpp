#include "platform/mtl/MtlEncoders.h"

#include "platform/mtl/MtlDevice.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace mtl {

namespace {

BufferView view_of(const Buffer* buffer, size_t offset) {
    if (!buffer || offset > buffer->length())
        return {};
    return {static_cast<const unsigned char*>(buffer->contents()) + offset,
            buffer->length() - offset};
}

bool four_byte_colour(PixelFormat format) {
    return format == PixelFormatRGBA8Unorm || format == PixelFormatBGRA8Unorm;
}

// RGBA to BGRA or back: the bytes of each pixel with the first and third swapped.
void swap_red_blue(unsigned char* out, const unsigned char* in, size_t pixels) {
    for (size_t i = 0; i < pixels; ++i, in += 4, out += 4) {
        out[0] = in[2];
        out[1] = in[1];
        out[2] = in[0];
        out[3] = in[3];
    }
}

bool valid_slot(int index) {
    return index >= 0 && index < kMaxBuffers;
}

} // namespace

void RenderCommandEncoder::record(std::function<void(PassContext&)> step) {
    if (ended_) {
        std::fprintf(stderr, "mtl: a render encoder was used after endEncoding\n");
        std::abort();
    }
    pass_->steps.push_back(std::move(step));
}

void RenderCommandEncoder::setRenderPipelineState(std::shared_ptr<RenderPipelineState> state) {
    record([state](PassContext& c) { c.state.pipeline = state.get(); });
}

void RenderCommandEncoder::setDepthStencilState(std::shared_ptr<DepthStencilState> state) {
    record([state](PassContext& c) { c.state.depthStencil = state.get(); });
}

void RenderCommandEncoder::setStencilReferenceValue(uint32_t value) {
    record([value](PassContext& c) { c.state.stencilReference = value; });
}

void RenderCommandEncoder::setCullMode(CullMode mode) {
    record([mode](PassContext& c) { c.state.cullMode = mode; });
}

void RenderCommandEncoder::setFrontFacingWinding(Winding winding) {
    record([winding](PassContext& c) { c.state.frontFacingWinding = winding; });
}

void RenderCommandEncoder::setViewport(const Viewport& viewport) {
    record([viewport](PassContext& c) { c.state.viewport = viewport; });
}

void RenderCommandEncoder::setScissorRect(const ScissorRect& rect) {
    record([rect](PassContext& c) {
        c.state.hasScissor = true;
        c.state.scissor = rect;
    });
}

void RenderCommandEncoder::setVertexBuffer(std::shared_ptr<Buffer> buffer, size_t offset,
                                           int index) {
    if (valid_slot(index))
        record([buffer, offset, index](PassContext& c) {
            c.vertexSlots[index] = {buffer.get(), offset};
        });
}

void RenderCommandEncoder::setVertexBufferOffset(size_t offset, int index) {
    if (valid_slot(index))
        record([offset, index](PassContext& c) { c.vertexSlots[index].offset = offset; });
}

void RenderCommandEncoder::setFragmentBuffer(std::shared_ptr<Buffer> buffer, size_t offset,
                                             int index) {
    if (valid_slot(index))
        record([buffer, offset, index](PassContext& c) {
            c.fragmentSlots[index] = {buffer.get(), offset};
        });
}

void RenderCommandEncoder::setFragmentBufferOffset(size_t offset, int index) {
    if (valid_slot(index))
        record([offset, index](PassContext& c) { c.fragmentSlots[index].offset = offset; });
}

void RenderCommandEncoder::setFragmentTexture(std::shared_ptr<Texture> texture, int index) {
    if (index != 0)
        return;
    if (texture)
        pass_->textures.push_back(texture);
    record([texture](PassContext& c) { c.state.fragment.texture0 = texture.get(); });
}

void RenderCommandEncoder::setFragmentSamplerState(std::shared_ptr<SamplerState> sampler,
                                                   int index) {
    if (index == 0)
        record([sampler](PassContext& c) { c.state.fragment.sampler0 = sampler.get(); });
}

void RenderCommandEncoder::drawPrimitives(PrimitiveType type, size_t vertexStart,
                                          size_t vertexCount) {
    draw(type, vertexStart, vertexCount, nullptr, 0);
}

void RenderCommandEncoder::drawIndexedPrimitives(PrimitiveType type, size_t indexCount,
                                                 IndexType indexType,
                                                 std::shared_ptr<Buffer> indexBuffer,
                                                 size_t indexBufferOffset) {
    if (indexType != IndexTypeUInt32 || !indexBuffer || indexBufferOffset % 4 != 0) {
        record([](PassContext& c) {
            if (c.firstBand)
                c.device.countSkippedDraw();
        });
        return;
    }
    draw(type, 0, indexCount, std::move(indexBuffer), indexBufferOffset);
}

void RenderCommandEncoder::draw(PrimitiveType type, size_t start, size_t count,
                                std::shared_ptr<Buffer> indices, size_t indexOffset) {
    record([type, start, count, indices, indexOffset](PassContext& c) {
        for (int i = 0; i < kMaxBuffers; ++i) {
            c.state.vertexBuffers[i] = view_of(c.vertexSlots[i].buffer, c.vertexSlots[i].offset);
            c.state.fragment.buffers[i] =
                view_of(c.fragmentSlots[i].buffer, c.fragmentSlots[i].offset);
        }
        const BufferView indexView = view_of(indices.get(), indexOffset);
        const DrawRange range{type, start, count, indices ? &indexView : nullptr};
        RasterCounts counts;
        if (!rasterise(c.target, c.state, range, c.device.rasterPath(), &counts) && c.firstBand)
            c.device.countSkippedDraw();
        c.device.countVisitedPixels(counts.visited);
        c.device.countWholeSpanPixels(counts.whole);
    });
}

void BlitCommandEncoder::copyFromBuffer(std::shared_ptr<Buffer> source, size_t sourceOffset,
                                        size_t bytesPerRow, std::shared_ptr<Texture> destination,
                                        const Region& region) {
    if (!source || !destination)
        return;
    pass_->textures.push_back(destination);
    pass_->steps.push_back([=](PassContext&) {
        const size_t rowBytes = region.size.width * bytes_per_pixel(destination->pixelFormat());
        const size_t need =
            sourceOffset +
            (region.size.height ? (region.size.height - 1) * bytesPerRow + rowBytes : 0);
        if (!destination->contains(region) || bytesPerRow < rowBytes || need > source->length())
            return;
        const auto* src = static_cast<const unsigned char*>(source->contents()) + sourceOffset;
        const size_t pitch = destination->bytesPerRow();
        const size_t x = region.origin.x * bytes_per_pixel(destination->pixelFormat());
        for (size_t row = 0; row < region.size.height; ++row)
            std::memcpy(destination->pixels() + (region.origin.y + row) * pitch + x,
                        src + row * bytesPerRow, rowBytes);
    });
}

void BlitCommandEncoder::copyFromTexture(std::shared_ptr<Texture> source, const Region& region,
                                         std::shared_ptr<Texture> destination,
                                         const Origin& destinationOrigin) {
    if (!source || !destination)
        return;
    pass_->textures.push_back(source);
    pass_->textures.push_back(destination);
    pass_->steps.push_back([=](PassContext&) {
        const Region target{destinationOrigin, region.size};
        const PixelFormat from = source->pixelFormat(), to = destination->pixelFormat();
        const bool swap = from != to;
        if ((swap && !(four_byte_colour(from) && four_byte_colour(to))) ||
            !source->contains(region) || !destination->contains(target))
            return;
        const size_t size = bytes_per_pixel(from);
        for (size_t row = 0; row < region.size.height; ++row) {
            unsigned char* out = destination->pixels() +
                                 (target.origin.y + row) * destination->bytesPerRow() +
                                 target.origin.x * size;
            const unsigned char* in = source->pixels() +
                                      (region.origin.y + row) * source->bytesPerRow() +
                                      region.origin.x * size;
            if (swap)
                swap_red_blue(out, in, region.size.width);
            else
                std::memcpy(out, in, region.size.width * size);
        }
    });
}

void BlitCommandEncoder::synchronizeResource(std::shared_ptr<Texture> texture) {
    if (texture)
        pass_->textures.push_back(std::move(texture));
}

void BlitCommandEncoder::generateMipmaps(std::shared_ptr<Texture> texture) {
    if (texture)
        pass_->textures.push_back(std::move(texture));
}

} // namespace mtl
