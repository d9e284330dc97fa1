#include "platform/mtl/MtlResources.h"

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

namespace {

size_t wrap_coordinate(long i, size_t size, SamplerAddressMode mode) {
    const long n = static_cast<long>(size);
    if (mode == SamplerAddressModeRepeat)
        return static_cast<size_t>(((i % n) + n) % n);
    return static_cast<size_t>(std::clamp(i, 0L, n - 1));
}

void fetch(const Texture& t, size_t x, size_t y, float out[4]) {
    const unsigned char* p =
        t.pixels() + y * t.bytesPerRow() + x * bytes_per_pixel(t.pixelFormat());
    constexpr float k = 1.0f / 255.0f;
    switch (t.pixelFormat()) {
    case PixelFormatRGBA8Unorm:
        out[0] = p[0] * k, out[1] = p[1] * k, out[2] = p[2] * k, out[3] = p[3] * k;
        break;
    case PixelFormatBGRA8Unorm:
        out[0] = p[2] * k, out[1] = p[1] * k, out[2] = p[0] * k, out[3] = p[3] * k;
        break;
    case PixelFormatR8Unorm:
        out[0] = p[0] * k, out[1] = 0, out[2] = 0, out[3] = 1;
        break;
    default:
        out[0] = out[1] = out[2] = out[3] = 0;
    }
}

// floor() of a float that may be huge or NaN, kept inside long's range.
long safe_floor(float v) {
    if (!(v > -1e9f))
        return -1000000000L;
    if (v > 1e9f)
        return 1000000000L;
    return static_cast<long>(std::floor(v));
}

} // namespace

void sample(const Texture* texture, const SamplerState* sampler, float u, float v, float out[4]) {
    if (!texture || texture->width() == 0 || texture->height() == 0) {
        out[0] = out[1] = out[2] = out[3] = 0;
        return;
    }
    const SamplerDescriptor d = sampler ? sampler->descriptor() : SamplerDescriptor{};
    const size_t w = texture->width(), h = texture->height();
    const float tx = u * static_cast<float>(w), ty = v * static_cast<float>(h);
    if (d.magFilter == SamplerMinMagFilterNearest) {
        fetch(*texture, wrap_coordinate(safe_floor(tx), w, d.sAddressMode),
              wrap_coordinate(safe_floor(ty), h, d.tAddressMode), out);
        return;
    }
    const float fx = tx - 0.5f, fy = ty - 0.5f;
    const long x0 = safe_floor(fx), y0 = safe_floor(fy);
    const float ax = fx - static_cast<float>(x0), ay = fy - static_cast<float>(y0);
    float c00[4], c10[4], c01[4], c11[4];
    const size_t xa = wrap_coordinate(x0, w, d.sAddressMode),
                 xb = wrap_coordinate(x0 + 1, w, d.sAddressMode);
    const size_t ya = wrap_coordinate(y0, h, d.tAddressMode),
                 yb = wrap_coordinate(y0 + 1, h, d.tAddressMode);
    fetch(*texture, xa, ya, c00);
    fetch(*texture, xb, ya, c10);
    fetch(*texture, xa, yb, c01);
    fetch(*texture, xb, yb, c11);
    for (int i = 0; i < 4; ++i) {
        const float top = c00[i] + (c10[i] - c00[i]) * ax;
        const float bottom = c01[i] + (c11[i] - c01[i]) * ax;
        out[i] = top + (bottom - top) * ay;
    }
}

} // namespace mtl
