#include "winlayer/PostedQueue.h"

namespace winlayer {

void PostedQueue::append(const Record& record) {
    if (spare_.empty())
        spare_.emplace_back();
    spare_.front() = record;
    queued_.splice(queued_.end(), spare_, spare_.begin());
}

BOOL PostedQueue::post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window == nullptr)
        return FALSE;
    std::lock_guard lock(mutex_);
    if (spare_.empty() && queued_.size() >= kPostLimit)
        return FALSE;
    append({window, message, wParam, lParam, nullptr, Kind::message});
    return TRUE;
}

void PostedQueue::queueTimerRequest(HWND window, UINT_PTR id, UINT intervalMs, TIMERPROC proc) {
    std::lock_guard lock(mutex_);
    for (Record& record : queued_) {
        if (record.kind == Kind::timerRequest && record.window == window && record.wParam == id) {
            record.message = intervalMs;
            record.proc = proc;
            return;
        }
    }
    // Timer requests are never refused: losing a kill would leave a timer running.
    append({window, intervalMs, id, 0, proc, Kind::timerRequest});
}

void PostedQueue::deliver(const Record& record, QueueReceiver& receiver) {
    if (record.kind == Kind::timerRequest) {
        if (record.message == kKillRequest)
            receiver.killTimer(record.window, record.wParam);
        else
            receiver.setTimer(record.window, record.wParam, record.message, record.proc);
    } else if (receiver.canPostTo(record.window)) {
        receiver.deliverMessage(record.window, record.message, record.wParam, record.lParam);
    }
}

void PostedQueue::flush(QueueReceiver& receiver) {
    std::unique_lock lock(mutex_);
    for (std::size_t n = queued_.size(); n > 0 && !queued_.empty(); --n) {
        const Record record = queued_.front();
        spare_.splice(spare_.end(), queued_, queued_.begin());
        lock.unlock();
        deliver(record, receiver);
        lock.lock();
    }
}

void PostedQueue::clear(HWND window) {
    std::lock_guard lock(mutex_);
    for (auto it = queued_.begin(); it != queued_.end();) {
        auto next = std::next(it);
        if (window == nullptr || it->window == window)
            spare_.splice(spare_.end(), queued_, it);
        it = next;
    }
}

std::size_t PostedQueue::queuedCount() const {
    std::lock_guard lock(mutex_);
    return queued_.size();
}

std::size_t PostedQueue::spareCount() const {
    std::lock_guard lock(mutex_);
    return spare_.size();
}

} // namespace winlayer
