#pragma once

// The layer and its drawables: three BGRA8 textures handed out in turn and,
// once presented, given to a presenter (premultiplied, the byte order of
// cairo's ARGB32). A window's view paints them; tests keep them headless.

#include "platform/mtl/MtlDevice.h"

#include <array>

namespace mtl {

class Presenter {
public:
    virtual ~Presenter() = default;
    // Runs on the queue's worker (or the caller of Drawable::present).
    virtual void present(const unsigned char* pixels, int width, int height, int pitch) = 0;
};

// Keeps the last frame presented.
class HeadlessPresenter : public Presenter {
public:
    void present(const unsigned char* pixels, int width, int height, int pitch) override;
    std::vector<unsigned char> lastFrame(int* width = nullptr, int* height = nullptr) const;
    int framesPresented() const;

private:
    mutable std::mutex mutex_;
    std::vector<unsigned char> frame_;
    int width_ = 0, height_ = 0, count_ = 0;
};

struct DrawablePool;

class Drawable {
public:
    Drawable(std::shared_ptr<DrawablePool> pool, int slot, std::shared_ptr<Texture> texture,
             std::shared_ptr<Presenter> presenter);
    ~Drawable(); // the slot is free again
    Drawable(const Drawable&) = delete;
    Drawable& operator=(const Drawable&) = delete;

    std::shared_ptr<Texture> texture() const { return texture_; }
    // Presents once the texture's committed work is done.
    void present();
    void presentFromQueue();

private:
    std::shared_ptr<DrawablePool> pool_;
    int slot_;
    std::shared_ptr<Texture> texture_;
    std::shared_ptr<Presenter> presenter_;
    std::atomic<bool> presented_{false};
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

    // Waits up to a second for a free drawable and zeroes it; null for a side
    // of 0, no device, a wait that ran out, or while drawables are withheld.
    std::shared_ptr<Drawable> nextDrawable();
    void withholdDrawables(bool withheld) { withheld_ = withheld; }

    static constexpr int kDrawableCount = 3;

private:
    std::shared_ptr<Device> device_;
    std::shared_ptr<Presenter> presenter_;
    std::shared_ptr<DrawablePool> pool_;
    bool withheld_ = false;
};

} // namespace mtl
