#include "platform/mtl/MtlLayer.h"

#include <chrono>
#include <cstring>

namespace mtl {

struct DrawablePool {
    std::mutex mutex;
    std::condition_variable released;
    std::array<bool, MetalLayer::kDrawableCount> busy{};
    std::array<std::shared_ptr<Texture>, MetalLayer::kDrawableCount> textures;
};

void HeadlessPresenter::present(const unsigned char* pixels, int width, int height, int pitch) {
    std::lock_guard lock(mutex_);
    frame_.resize(size_t(width) * height * 4);
    for (int y = 0; y < height; ++y)
        std::memcpy(frame_.data() + size_t(y) * width * 4, pixels + size_t(y) * pitch,
                    size_t(width) * 4);
    width_ = width;
    height_ = height;
    ++count_;
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
      presenter_(std::move(presenter)) {}

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
                        int(texture_->bytesPerRow()));
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
    } else {
        std::memset(texture->pixels(), 0, texture->bytesPerRow() * texture->height());
    }
    pool_->busy[slot] = true;
    return std::make_shared<Drawable>(pool_, slot, texture, presenter_);
}

} // namespace mtl
