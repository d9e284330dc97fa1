#pragma once

// Command queues and buffers: committed buffers run in order on the queue's
// worker thread, then their completion handlers, in order.

#include "platform/mtl/MtlEncoders.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace mtl {

class Drawable;
class CommandBuffer;

// The queue's shared state, kept alive by its worker and its buffers.
struct QueueCore {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::shared_ptr<CommandBuffer>> order; // enqueued, not yet run
    bool stopping = false;
};

class CommandBuffer : public std::enable_shared_from_this<CommandBuffer> {
public:
    enum class Status { NotEnqueued, Enqueued, Committed, Scheduled, Completed };
    using Handler = std::function<void(CommandBuffer&)>;

    CommandBuffer(std::shared_ptr<QueueCore> queue, std::shared_ptr<Device> device);

    std::shared_ptr<RenderCommandEncoder> renderCommandEncoder(const RenderPassDescriptor& pass);
    std::shared_ptr<BlitCommandEncoder> blitCommandEncoder();
    void presentDrawable(std::shared_ptr<Drawable> drawable);
    void addCompletedHandler(Handler handler);

    void enqueue();
    void commit();
    void waitUntilScheduled();
    void waitUntilCompleted();
    Status status() const;

    // For the queue's worker.
    bool committed() const { return committed_; } // under the queue's mutex
    void run();

private:
    std::shared_ptr<QueueCore> queue_;
    std::shared_ptr<Device> device_;
    std::vector<std::shared_ptr<Pass>> passes_;
    std::vector<Handler> handlers_;
    bool committed_ = false;
    mutable std::mutex statusMutex_;
    std::condition_variable statusChanged_;
    Status status_ = Status::NotEnqueued;

    void setStatus(Status status);
    void runPass(Pass& pass);
};

class CommandQueue {
public:
    explicit CommandQueue(std::shared_ptr<Device> device);
    ~CommandQueue(); // runs what was committed, then stops the worker
    CommandQueue(const CommandQueue&) = delete;
    CommandQueue& operator=(const CommandQueue&) = delete;

    std::shared_ptr<CommandBuffer> commandBuffer();

private:
    std::shared_ptr<Device> device_;
    std::shared_ptr<QueueCore> core_;
    std::thread worker_;
};

} // namespace mtl
