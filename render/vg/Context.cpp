#include "render/vg/VGContextInternal.h"

#include "render/util/TryAlloc.h"
#include "render/vg/VGImage.h"

#include <algorithm>
#include <array>

namespace {

void set_device_pixel_ratio(VGdrawContext* ctx, float ratio) {
    ctx->tessTol = 0.25f / ratio;
    ctx->distTol = 0.01f / ratio;
    ctx->fringeWidth = 1.0f / ratio;
    ctx->devicePxRatio = ratio;
}

bool allocate_buffers(VGdrawContext* ctx) {
    ctx->cache.reset(new (std::nothrow) VGtessCache);
    return ctx->cache && try_resize(ctx->commands, VG_INIT_COMMANDS_SIZE) &&
           try_resize(ctx->cache->points, VG_INIT_POINTS_SIZE) &&
           try_resize(ctx->cache->paths, VG_INIT_PATHS_SIZE) &&
           try_resize(ctx->cache->verts, VG_INIT_VERTS_SIZE);
}

} // namespace

VGdrawContext* vg_create_context(const VGrendererTable* table) {
    if (!table)
        return nullptr;
    VGdrawContext* ctx = new (std::nothrow) VGdrawContext;
    if (!ctx)
        return nullptr;
    ctx->params = *table;
    auto fail = [ctx]() -> VGdrawContext* {
        vg_delete_context(ctx);
        return nullptr;
    };
    if (!allocate_buffers(ctx))
        return fail();
    ctx->nstates = 1;
    vg_reset(ctx);
    set_device_pixel_ratio(ctx, 1.0f);

    if (!ctx->params.renderCreate || !ctx->params.renderCreate(ctx->params.userPtr))
        return fail();

    GlyphAtlasParams atlasParams{};
    atlasParams.width = VG_INIT_FONT_IMAGE_SIZE;
    atlasParams.height = VG_INIT_FONT_IMAGE_SIZE;
    atlasParams.flags = GLYPHATLAS_ZERO_TOPLEFT;
    ctx->fs.reset(glyphatlas_create(&atlasParams));
    if (!ctx->fs)
        return fail();

    ctx->fontImages[0] = ctx->params.renderCreateTexture(ctx->params.userPtr, VG_TEXTURE_ALPHA,
                                                         VG_INIT_FONT_IMAGE_SIZE,
                                                         VG_INIT_FONT_IMAGE_SIZE, 0, nullptr);
    if (ctx->fontImages[0] == 0)
        return fail();
    ctx->fontImageIdx = 0;
    return ctx;
}

void vg_delete_context(VGdrawContext* ctx) {
    if (!ctx)
        return;
    ctx->cache.reset();
    ctx->fs.reset();
    for (int& image : ctx->fontImages) {
        if (image != 0) {
            ctx->params.renderDeleteTexture(ctx->params.userPtr, image);
            image = 0;
        }
    }
    if (ctx->params.renderDelete)
        ctx->params.renderDelete(ctx->params.userPtr);
    delete ctx;
}

void vg_begin_frame(VGdrawContext* ctx, float windowWidth, float windowHeight,
                    float devicePixelRatio) {
    ctx->nstates = 1;
    vg_reset(ctx);
    set_device_pixel_ratio(ctx, devicePixelRatio);
    ctx->params.renderViewport(ctx->params.userPtr, windowWidth, windowHeight, devicePixelRatio);
}

void vg_cancel_frame(VGdrawContext* ctx) {
    ctx->params.renderCancel(ctx->params.userPtr);
}

void vg_end_frame(VGdrawContext* ctx) {
    ctx->params.renderFlush(ctx->params.userPtr);
    const int current = ctx->fontImageIdx;
    if (current == 0)
        return;
    const int fontImage = ctx->fontImages[current];
    if (fontImage == 0) {
        // Its creation failed: staying on it would leave all later text
        // without a texture, so the atlas starts over in the first image.
        int w = 0, h = 0;
        vg_image_size(ctx, ctx->fontImages[0], &w, &h);
        glyphatlas_reset_atlas(ctx->fs.get(), w, h);
        ctx->fontImageIdx = 0;
        return;
    }

    // The atlas restarts next frame in the largest image used so far; smaller
    // images go, same-sized ones stay behind it for reuse.
    int iw = 0, ih = 0;
    vg_image_size(ctx, fontImage, &iw, &ih);
    std::array<int, VG_MAX_FONT_IMAGES> kept{};
    int nkept = 0;
    for (int i = 0; i < current; ++i) {
        const int image = ctx->fontImages[i];
        if (image == 0)
            continue;
        int nw = 0, nh = 0;
        vg_image_size(ctx, image, &nw, &nh);
        if (nw < iw || nh < ih)
            ctx->params.renderDeleteTexture(ctx->params.userPtr, image);
        else
            kept[nkept++] = image;
    }

    std::array<int, VG_MAX_FONT_IMAGES> slots{};
    slots[0] = fontImage;
    for (int i = 1; i < nkept; ++i)
        slots[i] = kept[i];
    if (nkept > 0)
        slots[nkept] = kept[0];

    // Images beyond the current one were made in earlier frames; dropping them
    // from the slots must also release them.
    for (int i = current + 1; i < VG_MAX_FONT_IMAGES; ++i) {
        const int image = ctx->fontImages[i];
        if (image != 0 && std::find(slots.begin(), slots.end(), image) == slots.end())
            ctx->params.renderDeleteTexture(ctx->params.userPtr, image);
    }
    std::copy(slots.begin(), slots.end(), ctx->fontImages);
    ctx->fontImageIdx = 0;
}
