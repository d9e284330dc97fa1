#include "render/view/FrameStore.h"

#include <cstring>

namespace vx::ui {

bool FrameStore::Store(const unsigned char* pixels, int width, int height, int pitch) {
    if (!pixels || width <= 0 || height <= 0 || pitch < width * 4)
        return false;
    const size_t row = size_t(width) * 4;
    std::lock_guard lock(mutex);
    frame.pixels.resize(row * size_t(height));
    for (int y = 0; y < height; ++y)
        std::memcpy(frame.pixels.data() + row * size_t(y), pixels + size_t(pitch) * size_t(y), row);
    frame.width = width;
    frame.height = height;
    ++stored;
    if (redrawQueued)
        return false;
    redrawQueued = true;
    return true;
}

void FrameStore::RedrawTaken() {
    std::lock_guard lock(mutex);
    redrawQueued = false;
}

void FrameStore::WithKept(const std::function<void(const Frame&)>& fn) const {
    std::lock_guard lock(mutex);
    fn(frame);
}

int FrameStore::FramesStored() const {
    std::lock_guard lock(mutex);
    return stored;
}

} // namespace vx::ui
