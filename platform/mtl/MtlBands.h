#pragma once

// Worker threads that rasterise bands of a render pass's rows beside the
// thread running the pass. Each band replays the whole pass limited to its
// rows, so every pixel gets the same code in the same order as on one thread.

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace mtl {

class BandWorkers {
public:
    explicit BandWorkers(int workers); // threads beside the caller
    ~BandWorkers();
    BandWorkers(const BandWorkers&) = delete;
    BandWorkers& operator=(const BandWorkers&) = delete;

    int workers() const { return static_cast<int>(threads_.size()); }
    // Runs job(0) .. job(bands - 1), the caller taking bands too, and returns
    // once all have run. Callers from several threads take turns.
    void run(int bands, const std::function<void(int)>& job);

private:
    std::mutex turn_; // one job at a time
    std::mutex mutex_;
    std::condition_variable wake_, finished_;
    const std::function<void(int)>* job_ = nullptr;
    int next_ = 0, bands_ = 0, running_ = 0;
    bool stopping_ = false;
    std::vector<std::thread> threads_;

    void work();
    bool take(std::unique_lock<std::mutex>& lock); // runs one band if one is left
};

// The processors this process may run on, at most four: more bands than
// that mostly wait on memory.
int default_raster_threads();

} // namespace mtl
