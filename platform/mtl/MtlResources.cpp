#include "platform/mtl/MtlResources.h"

#include "platform/mtl/MtlSampler.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace mtl {

size_t bytes_per_pixel(PixelFormat format) {
    switch (format) {
    case PixelFormatR8Unorm:
    case PixelFormatStencil8:
        return 1;
    case PixelFormatRGBA8Unorm:
    case PixelFormatBGRA8Unorm:
        return 4;
    default:
        return 0;
    }
}

Buffer::Buffer(size_t length) : bytes_(new unsigned char[length]()), length_(length) {}

TextureDescriptor TextureDescriptor::texture2D(PixelFormat format, size_t width, size_t height,
                                               bool mipmapped) {
    TextureDescriptor d;
    d.pixelFormat = format;
    d.width = width;
    d.height = height;
    d.mipmapLevelCount =
        mipmapped ? 1 + static_cast<size_t>(std::log2(std::max(width, height))) : 1;
    return d;
}

Texture::Texture(const TextureDescriptor& d)
    : width_(d.width), height_(d.height), format_(d.pixelFormat), storage_(d.storageMode),
      usage_(d.usage), pixels_(d.width * d.height * bytes_per_pixel(d.pixelFormat), 0) {}

bool Texture::contains(const Region& r) const {
    return r.origin.x <= width_ && r.size.width <= width_ - r.origin.x && r.origin.y <= height_ &&
           r.size.height <= height_ - r.origin.y && r.origin.z == 0 && r.size.depth == 1;
}

bool Texture::replaceRegion(const Region& region, size_t level, const void* bytes,
                            size_t sourcePitch) {
    const size_t rowBytes = region.size.width * bytes_per_pixel(format_);
    if (level != 0 || !bytes || !contains(region) || sourcePitch < rowBytes)
        return false;
    waitUntilUnused();
    const auto* src = static_cast<const unsigned char*>(bytes);
    const size_t pitch = bytesPerRow();
    const size_t x = region.origin.x * bytes_per_pixel(format_);
    for (size_t row = 0; row < region.size.height; ++row)
        std::memcpy(pixels_.data() + (region.origin.y + row) * pitch + x, src + row * sourcePitch,
                    rowBytes);
    return true;
}

bool Texture::getBytes(void* bytes, size_t destinationPitch, const Region& region,
                       size_t level) const {
    const size_t rowBytes = region.size.width * bytes_per_pixel(format_);
    if (level != 0 || !bytes || !contains(region) || destinationPitch < rowBytes)
        return false;
    waitUntilUnused();
    auto* dst = static_cast<unsigned char*>(bytes);
    const size_t pitch = bytesPerRow();
    const size_t x = region.origin.x * bytes_per_pixel(format_);
    for (size_t row = 0; row < region.size.height; ++row)
        std::memcpy(dst + row * destinationPitch,
                    pixels_.data() + (region.origin.y + row) * pitch + x, rowBytes);
    return true;
}

void Texture::beginUse() {
    std::lock_guard lock(useMutex_);
    ++pendingUses_;
}

void Texture::endUse() {
    std::lock_guard lock(useMutex_);
    if (--pendingUses_ == 0)
        unused_.notify_all();
}

void Texture::waitUntilUnused() const {
    std::unique_lock lock(useMutex_);
    unused_.wait(lock, [this] { return pendingUses_ == 0; });
}

TextureView TextureView::of(const Texture* texture, const SamplerState* sampler) {
    TextureView v;
    if (!texture || texture->width() == 0 || texture->height() == 0)
        return v;
    const SamplerDescriptor d = sampler ? sampler->descriptor() : SamplerDescriptor{};
    v.pixels = texture->pixels();
    v.width = static_cast<long>(texture->width());
    v.height = static_cast<long>(texture->height());
    v.pitch = texture->bytesPerRow();
    v.bytesPerPixel = static_cast<int>(bytes_per_pixel(texture->pixelFormat()));
    switch (texture->pixelFormat()) {
    case PixelFormatRGBA8Unorm:
        v.r = 0, v.g = 1, v.b = 2, v.a = 3;
        break;
    case PixelFormatBGRA8Unorm:
        v.r = 2, v.g = 1, v.b = 0, v.a = 3;
        break;
    case PixelFormatR8Unorm:
        break;
    default:
        return TextureView{};
    }
    v.linear = d.magFilter == SamplerMinMagFilterLinear;
    v.repeatS = d.sAddressMode == SamplerAddressModeRepeat;
    v.repeatT = d.tAddressMode == SamplerAddressModeRepeat;
    return v;
}

void sample(const Texture* texture, const SamplerState* sampler, float u, float v, float out[4]) {
    sample(TextureView::of(texture, sampler), u, v, out);
}

} // namespace mtl
