// Presenting a finished image by copying only what changed into a drawable.
#include "render/metal/MVGcontext.h"

#include <algorithm>

bool MVGcontext::presentImage(int image, mtl::PixelRect damage) {
    const auto slot = findTexture(image);
    if (!slot || !slot->tex || !metalLayer)
        return false;
    const std::shared_ptr<mtl::Texture>& source = slot->tex;
    const mtl::Size size = metalLayer->drawableSize;
    if (source->width() != size.width || source->height() != size.height ||
        (source->pixelFormat() != mtl::PixelFormatRGBA8Unorm &&
         source->pixelFormat() != mtl::PixelFormatBGRA8Unorm))
        return false;
    const std::shared_ptr<mtl::Drawable> drawable = metalLayer->nextDrawable();
    if (!drawable)
        return true;
    const int w = int(size.width), h = int(size.height);
    const int x0 = std::clamp(damage.x, 0, w), y0 = std::clamp(damage.y, 0, h);
    const int x1 = std::clamp(damage.x + damage.width, x0, w);
    const int y1 = std::clamp(damage.y + damage.height, y0, h);
    const mtl::PixelRect area{x0, y0, x1 - x0, y1 - y0};
    auto commandBuffer = commandQueue->commandBuffer();
    if (area.width > 0 && area.height > 0) {
        auto blit = commandBuffer->blitCommandEncoder();
        blit->copyFromTexture(
            source,
            mtl::Region::make2D(size_t(x0), size_t(y0), size_t(area.width), size_t(area.height)),
            drawable->texture(), {size_t(x0), size_t(y0), 0});
        blit->endEncoding();
    }
    drawable->setDamage(area);
    if (!metalLayer->presentsWithTransaction)
        commandBuffer->presentDrawable(drawable);
    commandBuffer->commit();
    if (metalLayer->presentsWithTransaction) {
        commandBuffer->waitUntilScheduled();
        drawable->present();
    }
    return true;
}
