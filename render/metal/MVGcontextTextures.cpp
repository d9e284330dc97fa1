#include "render/metal/MVGcontext.h"

namespace {

constexpr int kNotOwned = 0x10000;

int bytes_per_pixel(int type) {
    return type == VG_TEXTURE_RGBA ? 4 : 1;
}

mtl::SamplerDescriptor sampler_for(int imageFlags) {
    mtl::SamplerDescriptor d;
    const bool nearest = imageFlags & VG_IMAGE_NEAREST;
    d.minFilter = d.magFilter =
        nearest ? mtl::SamplerMinMagFilterNearest : mtl::SamplerMinMagFilterLinear;
    if (imageFlags & VG_IMAGE_GENERATE_MIPMAPS)
        d.mipFilter = nearest ? mtl::SamplerMipFilterNearest : mtl::SamplerMipFilterLinear;
    d.sAddressMode = (imageFlags & VG_IMAGE_REPEATX) ? mtl::SamplerAddressModeRepeat
                                                     : mtl::SamplerAddressModeClampToEdge;
    d.tAddressMode = (imageFlags & VG_IMAGE_REPEATY) ? mtl::SamplerAddressModeRepeat
                                                     : mtl::SamplerAddressModeClampToEdge;
    return d;
}

// Runs one blit on a fresh command buffer and waits for it.
template <typename Blit>
void blit_and_wait(mtl::CommandQueue& queue, Blit blit) {
    auto commandBuffer = queue.commandBuffer();
    auto encoder = commandBuffer->blitCommandEncoder();
    blit(*encoder);
    encoder->endEncoding();
    commandBuffer->commit();
    commandBuffer->waitUntilCompleted();
}

} // namespace

std::shared_ptr<MVGtexture> MVGcontext::allocTexture() {
    std::shared_ptr<MVGtexture> slot;
    for (const auto& t : textures)
        if (t->id == 0) {
            slot = t;
            break;
        }
    if (!slot) {
        slot = std::make_shared<MVGtexture>();
        textures.push_back(slot);
    }
    *slot = MVGtexture{};
    slot->id = ++textureId;
    return slot;
}

std::shared_ptr<MVGtexture> MVGcontext::findTexture(int id) const {
    if (id == 0)
        return nullptr;
    for (const auto& t : textures)
        if (t->id == id)
            return t;
    return nullptr;
}

int MVGcontext::renderCreateTexture(int type, int w, int h, int imageFlags,
                                    const unsigned char* data) {
    auto device = metalLayer ? metalLayer->device() : nullptr;
    if (!device || w < 1 || h < 1)
        return 0;
    auto slot = allocTexture();
    slot->type = type;
    slot->flags = imageFlags;
    mtl::TextureDescriptor d = mtl::TextureDescriptor::texture2D(
        type == VG_TEXTURE_ALPHA ? mtl::PixelFormatR8Unorm : mtl::PixelFormatRGBA8Unorm, size_t(w),
        size_t(h), imageFlags & VG_IMAGE_GENERATE_MIPMAPS);
    d.usage =
        mtl::TextureUsageShaderRead | mtl::TextureUsageShaderWrite | mtl::TextureUsageRenderTarget;
    slot->tex = device->newTexture(d);
    if (!slot->tex) {
        *slot = MVGtexture{}; // the slot is free again; the id stays spent
        return 0;
    }
    if (data) {
        const size_t pitch = size_t(w) * bytes_per_pixel(type);
        const auto region = mtl::Region::make2D(0, 0, size_t(w), size_t(h));
        if (slot->tex->storageMode() == mtl::StorageModePrivate) {
            auto staging = device->newBuffer(data, pitch * size_t(h), 0);
            if (staging)
                blit_and_wait(*commandQueue, [&](mtl::BlitCommandEncoder& blit) {
                    blit.copyFromBuffer(staging, 0, pitch, slot->tex, region);
                });
        } else {
            slot->tex->replaceRegion(region, 0, data, pitch);
        }
        if (imageFlags & VG_IMAGE_GENERATE_MIPMAPS)
            blit_and_wait(*commandQueue,
                          [&](mtl::BlitCommandEncoder& blit) { blit.generateMipmaps(slot->tex); });
    }
    slot->sampler = device->newSamplerState(sampler_for(imageFlags));
    return slot->id;
}

int MVGcontext::renderDeleteTexture(int image) {
    const auto slot = findTexture(image);
    if (!slot)
        return 0;
    if (!(slot->flags & kNotOwned)) {
        slot->tex.reset();
        slot->sampler.reset();
    }
    slot->id = 0;
    slot->flags = 0;
    return 1;
}

int MVGcontext::renderUpdateTexture(int image, int x, int y, int w, int h,
                                    const unsigned char* data) {
    const auto slot = findTexture(image);
    if (!slot || !slot->tex || !data || x < 0 || y < 0 || w < 0 || h < 0)
        return 0;
    const size_t bpp = size_t(bytes_per_pixel(slot->type));
    const size_t width = slot->tex->width();
    const auto region = mtl::Region::make2D(size_t(x), size_t(y), size_t(w), size_t(h));
    if (!slot->tex->contains(region))
        return 0;
    // `data` is the whole image: the region starts at its own place in it.
    const unsigned char* from = data + (size_t(y) * width + size_t(x)) * bpp;
    return slot->tex->replaceRegion(region, 0, from, width * bpp) ? 1 : 0;
}

int MVGcontext::renderGetTextureSize(int image, int* w, int* h) {
    const auto slot = findTexture(image);
    if (!slot || !slot->tex)
        return 0;
    *w = static_cast<int>(slot->tex->width());
    *h = static_cast<int>(slot->tex->height());
    return 1;
}

void MVGcontext::waitForImage(int image) {
    for (const auto& set : cbuffers) {
        if (!set->isBusy)
            continue;
        std::shared_ptr<mtl::CommandBuffer> inFlight;
        {
            std::lock_guard lock(set->flightMutex);
            if (set->image == image)
                inFlight = set->commandBuffer;
        }
        if (inFlight && inFlight->status() >= mtl::CommandBuffer::Status::Committed)
            inFlight->waitUntilCompleted();
    }
}
