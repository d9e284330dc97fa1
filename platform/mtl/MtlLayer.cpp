#include "platform/mtl/MtlLayer.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace mtl {

struct DrawablePool {
    std::mutex mutex;
    std::condition_variable released;
    std::array<bool, MetalLayer::kDrawableCount> busy{};
    std::array<std::shared_ptr<Texture>, MetalLayer::kDrawableCount> textures;
};

PixelRect copy_damage(std::vector<unsigned char>& kept, int keptWidth, int keptHeight,
                      const unsigned char* pixels, int width, int height, int pitch,
                      PixelRect damage) {
    PixelRect r{0, 0, width, height};
    if (keptWidth == width && keptHeight == height &&
        kept.size() == size_t(width) * size_t(height) * 4) {
        const int x0 = std::clamp(damage.x, 0, width), y0 = std::clamp(damage.y, 0, height);
        const int x1 = std::clamp(damage.x + std::max(damage.width, 0), x0, width);
        const int y1 = std::clamp(damage.y + std::max(damage.height, 0), y0, height);
        r = {x0, y0, x1 - x0, y1 - y0};
    } else {
        kept.resize(size_t(width) * size_t(height) * 4);
    }
    const size_t row = size_t(width) * 4;
    for (int y = r.y; y < r.y + r.height; ++y)
        std::memcpy(kept.data() + size_t(y) * row + size_t(r.x) * 4,
                    pixels + size_t(y) * size_t(pitch) + size_t(r.x) * 4, size_t(r.width) * 4);
    return r;
}

void HeadlessPresenter::present(const unsigned char* pixels, int width, int height, int pitch,
                                PixelRect damage) {
    std::lock_guard lock(mutex_);
    damage_ = copy_damage(frame_, width_, height_, pixels, width, height, pitch, damage);
    width_ = width;
    height_ = height;
    ++count_;
}

PixelRect HeadlessPresenter::lastDamage() const {
    std::lock_guard lock(mutex_);
    return damage_;
}

std::vector<unsigned char> HeadlessPresenter::lastFrame(int* width, int* height) const {
    std::lock_guard lock(mutex_);
    if (width)
        *width = width_;
    if (height)
        *height = height_;
    return frame_;
}

int HeadlessPresenter::framesPresented() const {
    std::lock_guard lock(mutex_);
    return count_;
}

Drawable::Drawable(std::shared_ptr<DrawablePool> pool, int slot, std::shared_ptr<Texture> texture,
                   std::shared_ptr<Presenter> presenter)
    : pool_(std::move(pool)), slot_(slot), texture_(std::move(texture)),
      presenter_(std::move(presenter)), damage_{0, 0, int(texture_->width()),
                                                int(texture_->height())} {}

Drawable::~Drawable() {
    {
        std::lock_guard lock(pool_->mutex);
        pool_->busy[slot_] = false;
    }
    pool_->released.notify_all();
}

void Drawable::present() {
    texture_->waitUntilUnused();
    presentFromQueue();
}

void Drawable::presentFromQueue() {
    if (presented_.exchange(true) || !presenter_)
        return;
    presenter_->present(texture_->pixels(), int(texture_->width()), int(texture_->height()),
                        int(texture_->bytesPerRow()), damage_);
}

MetalLayer::MetalLayer() : pool_(std::make_shared<DrawablePool>()) {}

std::shared_ptr<Drawable> MetalLayer::nextDrawable() {
    if (withheld_ || !device_ || drawableSize.width == 0 || drawableSize.height == 0)
        return nullptr;
    std::unique_lock lock(pool_->mutex);
    int slot = -1;
    const auto free_slot = [&] {
        for (int i = 0; i < kDrawableCount; ++i)
            if (!pool_->busy[i])
                return slot = i, true;
        return false;
    };
    if (!pool_->released.wait_for(lock, std::chrono::seconds(1), free_slot))
        return nullptr;
    std::shared_ptr<Texture>& texture = pool_->textures[slot];
    if (!texture || texture->width() != drawableSize.width ||
        texture->height() != drawableSize.height) {
        TextureDescriptor d = TextureDescriptor::texture2D(
            PixelFormatBGRA8Unorm, drawableSize.width, drawableSize.height, false);
        d.usage = TextureUsageRenderTarget | TextureUsageShaderRead;
        texture = device_->newTexture(d);
        if (!texture)
            return nullptr;
    } else if (clearsDrawables) {
        std::memset(texture->pixels(), 0, texture->bytesPerRow() * texture->height());
    }
    pool_->busy[slot] = true;
    return std::make_shared<Drawable>(pool_, slot, texture, presenter_);
}

} // namespace mtl
