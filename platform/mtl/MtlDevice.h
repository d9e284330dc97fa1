#pragma once

// The device makes every other object. It also carries the test hooks: a gate
// that holds completions, a buffer size limit, the rasteriser path, and counters.

#include "platform/mtl/MtlBands.h"
#include "platform/mtl/MtlCommandBuffer.h"

#include <atomic>

namespace mtl {

class Device : public std::enable_shared_from_this<Device> {
public:
    // The process's default device, made on first use.
    static std::shared_ptr<Device> createSystemDefaultDevice();
    // What the device is, for people to read.
    const char* name() const { return "CPU Metal device"; }

    std::shared_ptr<CommandQueue> newCommandQueue();
    // Null for a length of 0 or beyond the limit, or when memory runs out.
    std::shared_ptr<Buffer> newBuffer(size_t length, uint64_t options);
    std::shared_ptr<Buffer> newBuffer(const void* bytes, size_t length, uint64_t options);
    // Null for a side outside 1..16384 or a format the layer does not know.
    std::shared_ptr<Texture> newTexture(const TextureDescriptor& descriptor);
    std::shared_ptr<SamplerState> newSamplerState(const SamplerDescriptor& descriptor);
    std::shared_ptr<Library> newLibraryWithData(const void* data, size_t size, std::string& error);
    std::shared_ptr<RenderPipelineState>
    newRenderPipelineState(const RenderPipelineDescriptor& descriptor, std::string& error);
    std::shared_ptr<DepthStencilState> newDepthStencilState(const DepthStencilDescriptor& d);

    // Test hooks.
    void holdCompletions(bool held);
    void waitWhileCompletionsHeld();
    void setBufferLimit(size_t bytes) { bufferLimit_ = bytes; }
    void setRasterPath(RasterPath path) { rasterPath_ = path; }
    RasterPath rasterPath() const { return rasterPath_; }
    // Threads rasterising a render pass's bands of rows (1: the queue's own
    // worker alone); by default the processors the process may use, at most 4.
    void setRasterThreads(int threads) { rasterThreads_ = threads < 1 ? 1 : threads; }
    int rasterThreads() const { return rasterThreads_; }
    // Runs job(band) for each band, spread over the raster threads.
    void runBands(int bands, const std::function<void(int)>& job);

    long commandBuffersMade() const { return commandBuffers_; }
    long pipelinesMade() const { return pipelines_; }
    long skippedDraws() const { return skippedDraws_; }
    // Pixels the rasteriser shaded or stencil-tested, over all draws.
    long visitedPixels() const { return visitedPixels_; }
    // Bands run beside another (passes drawn on more than one thread).
    long bandsRun() const { return bandsRun_; }
    // Pixels written by a shader's whole-span answer instead of pixel by pixel.
    long wholeSpanPixels() const { return wholeSpanPixels_; }
    void countCommandBuffer() { ++commandBuffers_; }
    void countWholeSpanPixels(long pixels) { wholeSpanPixels_ += pixels; }
    void countSkippedDraw() { ++skippedDraws_; }
    void countVisitedPixels(long pixels) { visitedPixels_ += pixels; }

private:
    std::atomic<size_t> bufferLimit_{size_t(1) << 31};
    std::atomic<RasterPath> rasterPath_{RasterPath::Spans};
    std::atomic<int> rasterThreads_{default_raster_threads()};
    std::mutex bandsMutex_;
    std::unique_ptr<BandWorkers> bandWorkers_; // made on first use
    std::atomic<long> commandBuffers_{0};
    std::atomic<long> pipelines_{0};
    std::atomic<long> skippedDraws_{0};
    std::atomic<long> visitedPixels_{0};
    std::atomic<long> bandsRun_{0};
    std::atomic<long> wholeSpanPixels_{0};
    std::mutex gateMutex_;
    std::condition_variable gateOpened_;
    bool completionsHeld_ = false;
};

} // namespace mtl
