#include "render/view/FrameStore.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace vx::ui {

namespace {

mtl::PixelRect united(const mtl::PixelRect& a, const mtl::PixelRect& b) {
    if (a.width <= 0 || a.height <= 0)
        return b;
    if (b.width <= 0 || b.height <= 0)
        return a;
    const int x0 = std::min(a.x, b.x), y0 = std::min(a.y, b.y);
    const int x1 = std::max(a.x + a.width, b.x + b.width);
    const int y1 = std::max(a.y + a.height, b.y + b.height);
    return {x0, y0, x1 - x0, y1 - y0};
}

} // namespace

bool FrameStore::Store(const unsigned char* pixels, int width, int height, int pitch,
                       mtl::PixelRect damage) {
    if (!pixels || width <= 0 || height <= 0 || pitch < width * 4)
        return false;
    std::lock_guard lock(mutex);
    const mtl::PixelRect copied = mtl::copy_damage(frame.pixels, frame.width, frame.height, pixels,
                                                   width, height, pitch, damage);
    frame.width = width;
    frame.height = height;
    pending = united(pending, copied);
    ++stored;
    if (redrawQueued)
        return false;
    redrawQueued = true;
    return true;
}

mtl::PixelRect FrameStore::RedrawTaken() {
    std::lock_guard lock(mutex);
    redrawQueued = false;
    return std::exchange(pending, mtl::PixelRect{});
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
