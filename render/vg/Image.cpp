#include "render/vg/VGImage.h"

#include "platform/sys/File.h"
#include "render/vg/VGContextInternal.h"

#include <climits>
#include <cstdlib>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include <stb/stb_image.h>

namespace {

struct StbPixelsDeleter {
    void operator()(unsigned char* pixels) const { stbi_image_free(pixels); }
};
using StbPixels = std::unique_ptr<unsigned char, StbPixelsDeleter>;

// Decided once here, at load, so drawing never looks at the pixels for it.
void tell_opacity(const unsigned char* rgba, int w, int h, bool* opaque) {
    if (!opaque)
        return;
    const size_t count = size_t(w) * size_t(h);
    unsigned char all = 0xFF;
    for (size_t i = 0; i < count; ++i)
        all &= rgba[i * 4 + 3];
    *opaque = all == 0xFF;
}

struct DecodedImage {
    int width = 0;
    int height = 0;
    StbPixels pixels;
};

// Process-wide decoder options, set once before any decoding thread reads
// them: panel images may be premultiplied or in the iPhone PNG variant.
void SetDecoderOptions() {
    static std::once_flag once;
    std::call_once(once, [] {
        stbi_set_unpremultiply_on_load(1);
        stbi_convert_iphone_png_to_rgb(1);
    });
}

DecodedImage DecodeFile(std::FILE* file) {
    DecodedImage image;
    int n = 0;
    image.pixels.reset(stbi_load_from_file(file, &image.width, &image.height, &n, 4));
    return image;
}

// The same file reached under two spellings of its path is one key.
std::string FileKey(const char* filename) {
    char resolved[PATH_MAX];
    return realpath(filename, resolved) ? std::string(resolved) : std::string();
}

// Decodings started ahead of their load, by file; each is taken once.
struct Prefetches {
    std::mutex mutex;
    std::map<std::string, std::future<DecodedImage>> pending;
};

Prefetches& ThePrefetches() {
    static Prefetches prefetches;
    return prefetches;
}

} // namespace

void vg_prefetch_image_file(const char* filename) {
    if (!filename)
        return;
    const std::string key = FileKey(filename);
    // Opened now: the load gets the file as it was when asked for.
    sys::UniqueFile opened = sys::OpenFile(filename, "rb");
    if (key.empty() || !opened)
        return;
    std::shared_ptr<std::FILE> file(opened.release(), [](std::FILE* f) { std::fclose(f); });
    SetDecoderOptions();
    Prefetches& prefetches = ThePrefetches();
    const std::lock_guard lock(prefetches.mutex);
    if (!prefetches.pending.contains(key))
        prefetches.pending.emplace(
            key, std::async(std::launch::async, [file] { return DecodeFile(file.get()); }));
}

VGimageId vg_create_image_rgba(VGdrawContext* ctx, int w, int h, int imageFlags,
                               const unsigned char* data) {
    return ctx->params.renderCreateTexture(ctx->params.userPtr, VG_TEXTURE_RGBA, w, h, imageFlags,
                                           data);
}

VGimageId vg_create_image_file(VGdrawContext* ctx, const char* filename, int imageFlags,
                               bool* opaque) {
    if (opaque)
        *opaque = false;
    if (!filename)
        return 0;
    std::future<DecodedImage> prefetched;
    {
        Prefetches& prefetches = ThePrefetches();
        const std::lock_guard lock(prefetches.mutex);
        if (!prefetches.pending.empty()) {
            const auto it = prefetches.pending.find(FileKey(filename));
            if (it != prefetches.pending.end()) {
                prefetched = std::move(it->second);
                prefetches.pending.erase(it);
            }
        }
    }
    DecodedImage image;
    if (prefetched.valid()) {
        image = prefetched.get();
    } else {
        const sys::UniqueFile fp = sys::OpenFile(filename, "rb");
        if (!fp)
            return 0;
        SetDecoderOptions();
        image = DecodeFile(fp.get());
    }
    if (!image.pixels)
        return 0;
    const VGimageId id =
        vg_create_image_rgba(ctx, image.width, image.height, imageFlags, image.pixels.get());
    if (id > 0)
        tell_opacity(image.pixels.get(), image.width, image.height, opaque);
    return id;
}

VGimageId vg_create_image_mem(VGdrawContext* ctx, int imageFlags, const unsigned char* data,
                              int ndata, bool* opaque) {
    if (opaque)
        *opaque = false;
    if (!data || ndata <= 0)
        return 0;
    int w = 0, h = 0, n = 0;
    StbPixels pixels(stbi_load_from_memory(data, ndata, &w, &h, &n, 4));
    if (!pixels)
        return 0;
    const VGimageId image = vg_create_image_rgba(ctx, w, h, imageFlags, pixels.get());
    if (image > 0)
        tell_opacity(pixels.get(), w, h, opaque);
    return image;
}

void vg_update_image(VGdrawContext* ctx, VGimageId image, const unsigned char* data) {
    int w = 0, h = 0;
    if (!vg_image_size(ctx, image, &w, &h))
        return;
    ctx->params.renderUpdateTexture(ctx->params.userPtr, image, 0, 0, w, h, data);
}

int vg_image_size(VGdrawContext* ctx, VGimageId image, int* w, int* h) {
    int width = 0, height = 0;
    const int result =
        ctx->params.renderGetTextureSize(ctx->params.userPtr, image, &width, &height);
    if (!result) // whatever a failed query left there is no size
        width = height = 0;
    if (w)
        *w = width;
    if (h)
        *h = height;
    return result;
}

void vg_delete_image(VGdrawContext* ctx, VGimageId image) {
    ctx->params.renderDeleteTexture(ctx->params.userPtr, image);
}
