#pragma once

// Buffers, textures and samplers. Memory is plain host memory; textures track
// the committed command buffers that use them so CPU copies can wait.

#include "platform/mtl/MtlTypes.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

namespace mtl {

class Buffer {
public:
    explicit Buffer(size_t length);
    void* contents() { return bytes_.get(); }
    const void* contents() const { return bytes_.get(); }
    size_t length() const { return length_; }

private:
    std::unique_ptr<unsigned char[]> bytes_;
    size_t length_;
};

struct TextureDescriptor {
    TextureType textureType = TextureType2D;
    PixelFormat pixelFormat = PixelFormatRGBA8Unorm;
    size_t width = 1;
    size_t height = 1;
    size_t mipmapLevelCount = 1;
    uint64_t usage = TextureUsageShaderRead;
    StorageMode storageMode = StorageModeShared;

    static TextureDescriptor texture2D(PixelFormat format, size_t width, size_t height,
                                       bool mipmapped);
};

inline constexpr size_t kMaxTextureSide = 16384;

class Texture {
public:
    explicit Texture(const TextureDescriptor& descriptor);

    size_t width() const { return width_; }
    size_t height() const { return height_; }
    PixelFormat pixelFormat() const { return format_; }
    StorageMode storageMode() const { return storage_; }
    uint64_t usage() const { return usage_; }
    size_t mipmapLevelCount() const { return 1; } // only level 0 is kept
    size_t bytesPerRow() const { return width_ * bytes_per_pixel(format_); }

    // Both wait for committed command buffers using the texture; a region
    // outside the texture or a level other than 0 does nothing and answers false.
    bool replaceRegion(const Region& region, size_t level, const void* bytes, size_t sourcePitch);
    bool getBytes(void* bytes, size_t destinationPitch, const Region& region, size_t level) const;

    // For the layer's own use: raw pixels, only while no CPU copy runs.
    unsigned char* pixels() { return pixels_.data(); }
    const unsigned char* pixels() const { return pixels_.data(); }
    bool contains(const Region& region) const;

    void beginUse();
    void endUse();
    void waitUntilUnused() const;

private:
    size_t width_;
    size_t height_;
    PixelFormat format_;
    StorageMode storage_;
    uint64_t usage_;
    std::vector<unsigned char> pixels_;
    mutable std::mutex useMutex_;
    mutable std::condition_variable unused_;
    int pendingUses_ = 0;
};

struct SamplerDescriptor {
    SamplerMinMagFilter minFilter = SamplerMinMagFilterNearest;
    SamplerMinMagFilter magFilter = SamplerMinMagFilterNearest;
    SamplerMipFilter mipFilter = SamplerMipFilterNotMipmapped;
    SamplerAddressMode sAddressMode = SamplerAddressModeClampToEdge;
    SamplerAddressMode tAddressMode = SamplerAddressModeClampToEdge;
};

class SamplerState {
public:
    explicit SamplerState(const SamplerDescriptor& descriptor) : descriptor_(descriptor) {}
    const SamplerDescriptor& descriptor() const { return descriptor_; }

private:
    SamplerDescriptor descriptor_;
};

// Texel fetch as shaders see it: (r, g, b, a) in 0..1. R8 gives (r, 0, 0, 1);
// no texture gives 0. Coordinates are normalised; texel centres at +0.5.
void sample(const Texture* texture, const SamplerState* sampler, float u, float v, float out[4]);

} // namespace mtl
