#include "platform/mtl/MtlCommandBuffer.h"

#include "platform/mtl/MtlDevice.h"
#include "platform/mtl/MtlLayer.h"
#include "platform/mtl/MtlSpanOps.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace mtl {

namespace {

void clear_color(Texture& t, const ClearColor& c) {
    const unsigned char r = to_unorm8(static_cast<float>(c.red));
    const unsigned char g = to_unorm8(static_cast<float>(c.green));
    const unsigned char b = to_unorm8(static_cast<float>(c.blue));
    const unsigned char a = to_unorm8(static_cast<float>(c.alpha));
    unsigned char pixel[4] = {r, g, b, a};
    if (t.pixelFormat() == PixelFormatBGRA8Unorm)
        std::swap(pixel[0], pixel[2]);
    const size_t size = bytes_per_pixel(t.pixelFormat());
    unsigned char* pixels = t.pixels();
    const size_t rowBytes = t.bytesPerRow();
    if (size == 0 || t.height() == 0)
        return;
    // One row pixel by pixel, then whole rows copied from it.
    for (size_t i = 0; i < t.width(); ++i)
        std::memcpy(pixels + i * size, pixel, size);
    for (size_t y = 1; y < t.height(); ++y)
        std::memcpy(pixels + y * rowBytes, pixels, rowBytes);
}

// Fewer rows than this per band cost more in replayed set-up than they save.
constexpr int kMinBandRows = 16;

void worker_loop(std::shared_ptr<QueueCore> core) {
    for (;;) {
        std::shared_ptr<CommandBuffer> next;
        {
            std::unique_lock lock(core->mutex);
            core->changed.wait(lock, [&] {
                return (!core->order.empty() && core->order.front()->committed()) || core->stopping;
            });
            if (core->order.empty() || !core->order.front()->committed()) {
                core->order.clear(); // stopping: what was never committed never runs
                return;
            }
            next = std::move(core->order.front());
            core->order.pop_front();
        }
        next->run();
    }
}

} // namespace

CommandBuffer::CommandBuffer(std::shared_ptr<QueueCore> queue, std::shared_ptr<Device> device)
    : queue_(std::move(queue)), device_(std::move(device)) {}

std::shared_ptr<RenderCommandEncoder>
CommandBuffer::renderCommandEncoder(const RenderPassDescriptor& descriptor) {
    auto pass = std::make_shared<Pass>();
    pass->descriptor = descriptor;
    pass->isRender = true;
    for (const auto& t :
         {descriptor.colorAttachment0.texture, descriptor.stencilAttachment.texture})
        if (t)
            pass->textures.push_back(t);
    passes_.push_back(pass);
    return std::make_shared<RenderCommandEncoder>(pass);
}

std::shared_ptr<BlitCommandEncoder> CommandBuffer::blitCommandEncoder() {
    auto pass = std::make_shared<Pass>();
    passes_.push_back(pass);
    return std::make_shared<BlitCommandEncoder>(pass);
}

void CommandBuffer::presentDrawable(std::shared_ptr<Drawable> drawable) {
    if (!drawable)
        return;
    auto pass = std::make_shared<Pass>();
    pass->textures.push_back(drawable->texture());
    pass->steps.push_back([drawable](PassContext&) { drawable->presentFromQueue(); });
    passes_.push_back(pass);
}

void CommandBuffer::addCompletedHandler(Handler handler) {
    handlers_.push_back(std::move(handler));
}

void CommandBuffer::enqueue() {
    std::lock_guard lock(queue_->mutex);
    if (status() != Status::NotEnqueued)
        return;
    queue_->order.push_back(shared_from_this());
    setStatus(Status::Enqueued);
}

void CommandBuffer::commit() {
    enqueue();
    for (const auto& pass : passes_)
        for (const auto& texture : pass->textures)
            texture->beginUse();
    {
        std::lock_guard lock(queue_->mutex);
        if (committed_) {
            std::fprintf(stderr, "mtl: a command buffer was committed twice\n");
            std::abort();
        }
        committed_ = true;
        setStatus(Status::Committed);
    }
    queue_->changed.notify_all();
}

void CommandBuffer::setStatus(Status status) {
    {
        std::lock_guard lock(statusMutex_);
        status_ = status;
    }
    statusChanged_.notify_all();
}

CommandBuffer::Status CommandBuffer::status() const {
    std::lock_guard lock(statusMutex_);
    return status_;
}

void CommandBuffer::waitUntilScheduled() {
    std::unique_lock lock(statusMutex_);
    statusChanged_.wait(lock, [this] { return status_ >= Status::Scheduled; });
}

void CommandBuffer::waitUntilCompleted() {
    std::unique_lock lock(statusMutex_);
    statusChanged_.wait(lock, [this] { return status_ == Status::Completed; });
}

void CommandBuffer::runPass(Pass& pass) {
    PassContext context{*device_, {}, {}, {}, {}};
    if (pass.isRender) {
        const RenderPassDescriptor& d = pass.descriptor;
        context.target = {d.colorAttachment0.texture.get(), d.stencilAttachment.texture.get()};
        if (context.target.color && d.colorAttachment0.loadAction == LoadActionClear)
            clear_color(*context.target.color, d.colorAttachment0.clearColor);
        Texture* stencil = context.target.stencil;
        if (stencil && d.stencilAttachment.loadAction == LoadActionClear)
            std::fill(stencil->pixels(), stencil->pixels() + stencil->width() * stencil->height(),
                      static_cast<unsigned char>(d.stencilAttachment.clearStencil));
        const Texture* size = context.target.color ? context.target.color : stencil;
        if (size)
            context.state.viewport = {0, 0, double(size->width()), double(size->height()), 0, 1};
        // Bands of rows on the raster threads, each replaying every step.
        const int rows = size ? static_cast<int>(size->height()) : 0;
        const int bands = std::min(device_->rasterThreads(), rows / kMinBandRows);
        if (bands > 1) {
            device_->runBands(bands, [&](int band) {
                PassContext c = context;
                c.target.rowBegin = static_cast<int>(int64_t(rows) * band / bands);
                c.target.rowEnd = static_cast<int>(int64_t(rows) * (band + 1) / bands);
                c.firstBand = band == 0;
                for (auto& step : pass.steps)
                    step(c);
            });
            return;
        }
    }
    for (auto& step : pass.steps)
        step(context);
}

void CommandBuffer::run() {
    setStatus(Status::Scheduled);
    for (const auto& pass : passes_)
        runPass(*pass);
    device_->waitWhileCompletionsHeld();
    for (const auto& pass : passes_)
        for (const auto& texture : pass->textures)
            texture->endUse();
    for (auto& handler : handlers_)
        handler(*this);
    handlers_.clear();
    passes_.clear(); // what the passes held goes before waiters resume
    setStatus(Status::Completed);
}

CommandQueue::CommandQueue(std::shared_ptr<Device> device)
    : device_(std::move(device)), core_(std::make_shared<QueueCore>()),
      worker_(worker_loop, core_) {}

CommandQueue::~CommandQueue() {
    {
        std::lock_guard lock(core_->mutex);
        core_->stopping = true;
    }
    core_->changed.notify_all();
    if (worker_.get_id() == std::this_thread::get_id())
        worker_.detach(); // released by one of its own handlers
    else
        worker_.join();
}

std::shared_ptr<CommandBuffer> CommandQueue::commandBuffer() {
    device_->countCommandBuffer();
    return std::make_shared<CommandBuffer>(core_, device_);
}

} // namespace mtl
