#pragma once

// The layer and its drawables: three BGRA8 textures handed out in turn and,
// once presented, given to a presenter (premultiplied, the byte order of
// cairo's ARGB32). A window's view paints them; tests keep them headless.

#include "platform/mtl/MtlDevice.h"

#include <array>

namespace mtl {

// A rectangle of a frame, in pixels.
struct PixelRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool covers(int w, int h) const {
        return x <= 0 && y <= 0 && x + width >= w && y + height >= h;
    }
};

class Presenter {
public:
    virtual ~Presenter() = default;
    // Runs on the queue's worker (or the caller of Drawable::present).
    // Only the pixels in `damage` (within the frame) changed since the frame
    // presented before; the rest of the drawable is not to be read.
    virtual void present(const unsigned char* pixels, int width, int height, int pitch,
                         PixelRect damage) = 0;
};

// Keeps the last frame presented, taking only the damage while the size stays.
class HeadlessPresenter : public Presenter {
public:
    void present(const unsigned char* pixels, int width, int height, int pitch,
                 PixelRect damage) override;
    std::vector<unsigned char> lastFrame(int* width = nullptr, int* height = nullptr) const;
    int framesPresented() const;
    PixelRect lastDamage() const;

private:
    mutable std::mutex mutex_;
    std::vector<unsigned char> frame_;
    int width_ = 0, height_ = 0, count_ = 0;
    PixelRect damage_;
};

// Copies the rows of `damage` (kept within width x height) from `pixels` into
// `kept` (rows of width x 4 bytes); the whole frame when the size changed.
// Answers the rectangle copied.
PixelRect copy_damage(std::vector<unsigned char>& kept, int keptWidth, int keptHeight,
                      const unsigned char* pixels, int width, int height, int pitch,
                      PixelRect damage);

struct DrawablePool;

class Drawable {
public:
    Drawable(std::shared_ptr<DrawablePool> pool, int slot, std::shared_ptr<Texture> texture,
             std::shared_ptr<Presenter> presenter);
    ~Drawable(); // the slot is free again
    Drawable(const Drawable&) = delete;
    Drawable& operator=(const Drawable&) = delete;

    std::shared_ptr<Texture> texture() const { return texture_; }
    // What the frame drawn into the texture changed; all of it unless set.
    void setDamage(PixelRect damage) { damage_ = damage; }
    // Presents once the texture's committed work is done.
    void present();
    void presentFromQueue();

private:
    std::shared_ptr<DrawablePool> pool_;
    int slot_;
    std::shared_ptr<Texture> texture_;
    std::shared_ptr<Presenter> presenter_;
    std::atomic<bool> presented_{false};
    PixelRect damage_;
};

class MetalLayer {
public:
    MetalLayer();

    std::shared_ptr<Device> device() const { return device_; }
    void setDevice(std::shared_ptr<Device> device) { device_ = std::move(device); }
    bool opaque = true;
    bool presentsWithTransaction = false;
    PixelFormat pixelFormat() const { return PixelFormatBGRA8Unorm; }
    Size drawableSize;
    void setPresenter(std::shared_ptr<Presenter> presenter) { presenter_ = std::move(presenter); }
    std::shared_ptr<Presenter> presenter() const { return presenter_; }

    // Waits up to a second for a free drawable and zeroes it (unless
    // clearsDrawables is off); null for a side of 0, no device, a wait that
    // ran out, or while drawables are withheld.
    std::shared_ptr<Drawable> nextDrawable();
    void withholdDrawables(bool withheld) { withheld_ = withheld; }
    // Off for a drawer that writes every pixel it presents as damage: the
    // drawable then keeps what it held, and the caller's thread does no clear.
    bool clearsDrawables = true;

    static constexpr int kDrawableCount = 3;

private:
    std::shared_ptr<Device> device_;
    std::shared_ptr<Presenter> presenter_;
    std::shared_ptr<DrawablePool> pool_;
    bool withheld_ = false;
};

} // namespace mtl
