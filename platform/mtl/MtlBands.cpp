#include "platform/mtl/MtlBands.h"

#include <algorithm>

#include <sched.h>

namespace mtl {

BandWorkers::BandWorkers(int workers) {
    for (int i = 0; i < workers; ++i)
        threads_.emplace_back([this] { work(); });
}

BandWorkers::~BandWorkers() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& t : threads_)
        t.join();
}

bool BandWorkers::take(std::unique_lock<std::mutex>& lock) {
    if (!job_ || next_ >= bands_)
        return false;
    const int band = next_++;
    const std::function<void(int)>& job = *job_;
    ++running_;
    lock.unlock();
    job(band);
    lock.lock();
    --running_;
    if (next_ >= bands_ && running_ == 0)
        finished_.notify_all();
    return true;
}

void BandWorkers::work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || (job_ && next_ < bands_); });
        if (stopping_)
            return;
        take(lock);
    }
}

void BandWorkers::run(int bands, const std::function<void(int)>& job) {
    std::lock_guard turn(turn_);
    std::unique_lock lock(mutex_);
    job_ = &job;
    next_ = 0;
    bands_ = bands;
    wake_.notify_all();
    while (take(lock)) {
    }
    finished_.wait(lock, [this] { return next_ >= bands_ && running_ == 0; });
    job_ = nullptr;
}

int default_raster_threads() {
    cpu_set_t set;
    CPU_ZERO(&set);
    const int usable = sched_getaffinity(0, sizeof(set), &set) == 0 ? CPU_COUNT(&set) : 1;
    return std::clamp(usable, 1, 4);
}

} // namespace mtl
