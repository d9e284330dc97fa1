#include "platform/mtl/MtlDevice.h"

#include <cstring>
#include <new>

namespace mtl {

std::shared_ptr<Device> Device::createSystemDefaultDevice() {
    static const std::shared_ptr<Device> device = std::make_shared<Device>();
    return device;
}

void Device::runBands(int bands, const std::function<void(int)>& job) {
    std::lock_guard lock(bandsMutex_);
    const int workers = rasterThreads_ - 1;
    if (!bandWorkers_ || bandWorkers_->workers() != workers)
        bandWorkers_ = std::make_unique<BandWorkers>(workers);
    bandWorkers_->run(bands, job);
    bandsRun_ += bands;
}

std::shared_ptr<CommandQueue> Device::newCommandQueue() {
    return std::make_shared<CommandQueue>(shared_from_this());
}

std::shared_ptr<Buffer> Device::newBuffer(size_t length, uint64_t) {
    if (length == 0 || length > bufferLimit_)
        return nullptr;
    try {
        return std::make_shared<Buffer>(length);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

std::shared_ptr<Buffer> Device::newBuffer(const void* bytes, size_t length, uint64_t options) {
    auto buffer = newBuffer(length, options);
    if (buffer && bytes)
        std::memcpy(buffer->contents(), bytes, length);
    return buffer;
}

std::shared_ptr<Texture> Device::newTexture(const TextureDescriptor& d) {
    const bool sides =
        d.width >= 1 && d.width <= kMaxTextureSide && d.height >= 1 && d.height <= kMaxTextureSide;
    if (!sides || bytes_per_pixel(d.pixelFormat) == 0 || d.textureType != TextureType2D)
        return nullptr;
    try {
        return std::make_shared<Texture>(d);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

std::shared_ptr<SamplerState> Device::newSamplerState(const SamplerDescriptor& d) {
    return std::make_shared<SamplerState>(d);
}

std::shared_ptr<Library> Device::newLibraryWithData(const void* data, size_t size,
                                                    std::string& error) {
    return Library::fromData(data, size, error);
}

std::shared_ptr<RenderPipelineState>
Device::newRenderPipelineState(const RenderPipelineDescriptor& d, std::string& error) {
    if (!d.vertexFunction || !d.vertexFunction->info().vertex) {
        error = "a render pipeline needs a vertex function";
        return nullptr;
    }
    if (d.fragmentFunction && !d.fragmentFunction->info().fragment) {
        error = "\"" + d.fragmentFunction->name() + "\" is not a fragment function";
        return nullptr;
    }
    const PixelFormat color = d.colorAttachment0.pixelFormat;
    if (color == PixelFormatStencil8 ||
        (color != PixelFormatInvalid && bytes_per_pixel(color) == 0)) {
        error = "the colour attachment's pixel format cannot be rendered to";
        return nullptr;
    }
    ++pipelines_;
    return std::make_shared<RenderPipelineState>(d);
}

std::shared_ptr<DepthStencilState> Device::newDepthStencilState(const DepthStencilDescriptor& d) {
    return std::make_shared<DepthStencilState>(d);
}

void Device::holdCompletions(bool held) {
    {
        std::lock_guard lock(gateMutex_);
        completionsHeld_ = held;
    }
    gateOpened_.notify_all();
}

void Device::waitWhileCompletionsHeld() {
    std::unique_lock lock(gateMutex_);
    gateOpened_.wait(lock, [this] { return !completionsHeld_; });
}

} // namespace mtl
