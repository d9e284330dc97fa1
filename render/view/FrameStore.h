#pragma once

// The newest presented frame, handed from the Metal worker to the main
// thread. Only the newest is kept: a frame presented before the previous one
// was painted replaces it, so a slow window never queues a backlog.

#include "platform/mtl/MtlLayer.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

namespace vx::ui {

class FrameStore {
public:
    struct Frame {
        std::vector<unsigned char> pixels; // premultiplied BGRA, rows top-down, stride width x 4
        int width = 0;
        int height = 0;
    };

    // Any thread. Copies the rows of the damage (all of them when the size
    // changed); answers whether a redraw must be queued (false while one
    // already waits for this store).
    bool Store(const unsigned char* pixels, int width, int height, int pitch,
               mtl::PixelRect damage);
    bool Store(const unsigned char* pixels, int width, int height, int pitch) {
        return Store(pixels, width, height, pitch, {0, 0, width, height});
    }
    // Main thread, when the queued redraw runs: the next Store queues again.
    // Answers the pixels changed since the last redraw was taken.
    mtl::PixelRect RedrawTaken();
    // Runs fn on the kept frame (empty before the first) under the lock.
    void WithKept(const std::function<void(const Frame&)>& fn) const;
    int FramesStored() const;

private:
    mutable std::mutex mutex;
    Frame frame;
    bool redrawQueued = false;
    mtl::PixelRect pending; // changed since the last redraw was taken
    int stored = 0;
};

} // namespace vx::ui
