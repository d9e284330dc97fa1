#include "render/vg/VGImage.h"

#include "platform/sys/File.h"
#include "render/vg/VGContextInternal.h"

#include <memory>

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

} // namespace

VGimageId vg_create_image_rgba(VGdrawContext* ctx, int w, int h, int imageFlags,
                               const unsigned char* data) {
    return ctx->params.renderCreateTexture(ctx->params.userPtr, VG_TEXTURE_RGBA, w, h, imageFlags,
                                           data);
}

VGimageId vg_create_image_file(VGdrawContext* ctx, const char* filename, int imageFlags,
                               bool* opaque) {
    if (opaque)
        *opaque = false;
    const sys::UniqueFile fp = sys::OpenFile(filename, "rb");
    if (!fp)
        return 0;
    // Process-wide decoder options, left on: panel images may be
    // premultiplied or in the iPhone PNG variant.
    stbi_set_unpremultiply_on_load(1);
    stbi_convert_iphone_png_to_rgb(1);
    int w = 0, h = 0, n = 0;
    StbPixels pixels(stbi_load_from_file(fp.get(), &w, &h, &n, 4));
    if (!pixels)
        return 0;
    const VGimageId image = vg_create_image_rgba(ctx, w, h, imageFlags, pixels.get());
    if (image > 0)
        tell_opacity(pixels.get(), w, h, opaque);
    return image;
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
