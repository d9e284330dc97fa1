#include "winlayer/TimerList.h"

#include <algorithm>
#include <limits>

namespace winlayer {

TimerList::TimerList(TimerHost& host, std::thread::id mainThread)
    : host_(host), mainThread_(mainThread) {}

void TimerList::setQueue(PostedQueue* queue) {
    std::lock_guard lock(mutex_);
    queue_ = queue;
}

bool TimerList::offMainThread() const {
    return std::this_thread::get_id() != mainThread_;
}

std::list<TimerList::Record>::iterator TimerList::find(HWND window, UINT_PTR id) {
    return std::find_if(records_.begin(), records_.end(),
                        [&](const Record& r) { return r.window == window && r.id == id; });
}

bool TimerList::exists(HWND window, UINT_PTR id) const {
    std::lock_guard lock(mutex_);
    return std::any_of(records_.begin(), records_.end(),
                       [&](const Record& r) { return r.window == window && r.id == id; });
}

UINT_PTR TimerList::set(HWND window, UINT_PTR id, UINT intervalMs, TIMERPROC proc) {
    if ((window == nullptr && proc == nullptr) || (window != nullptr && id == 0))
        return 0;
    std::unique_lock lock(mutex_);
    if (offMainThread()) {
        // A windowless timer gets its id on the main thread, so another
        // thread may only re-arm one that already runs.
        if (queue_ == nullptr || id == kAllTimers ||
            (window == nullptr && find(nullptr, id) == records_.end()))
            return 0;
        // The interval must never read as the kill marker.
        const UINT interval = std::min(intervalMs, std::numeric_limits<UINT>::max() - 1);
        queue_->queueTimerRequest(window, id, interval, proc);
        return id;
    }
    auto record = find(window, id);
    if (record == records_.end() || (window == nullptr && id == 0)) {
        records_.emplace_front();
        record = records_.begin();
        if (window == nullptr)
            id = reinterpret_cast<UINT_PTR>(&*record);
    }
    record->tick.reset();
    record->id = id;
    record->window = window;
    record->tick = host_.startTick(window, id, std::max(intervalMs, 1u), proc);
    if (!record->tick) {
        records_.erase(record);
        return 0;
    }
    return id;
}

BOOL TimerList::kill(HWND window, UINT_PTR id) {
    if (window == nullptr && id == 0)
        return FALSE;
    std::unique_lock lock(mutex_);
    if (offMainThread()) {
        if (queue_ == nullptr || (window == nullptr && find(nullptr, id) == records_.end()))
            return FALSE;
        queue_->queueTimerRequest(window, id, PostedQueue::kKillRequest, nullptr);
        return TRUE;
    }
    if (id == kAllTimers)
        return window == nullptr ? FALSE : killAll(window);
    auto record = find(window, id);
    if (record == records_.end())
        return FALSE;
    records_.erase(record);
    return TRUE;
}

BOOL TimerList::killAll(HWND window) {
    const auto removed =
        std::erase_if(records_, [&](const Record& r) { return r.window == window; });
    return removed > 0 ? TRUE : FALSE;
}

} // namespace winlayer
