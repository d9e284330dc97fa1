#include "render/vg/VGImage.h"
#include "render/vg/VGText.h"
#include "render/vg/VGTextInternal.h"
#include "render/vg/VGTransform.h"

#include <algorithm>
#include <climits>

namespace {

void render_text(VGdrawContext* ctx, const VGvertex* verts, int nverts) {
    const VGdrawState& state = vg_state(ctx);
    VGpaint paint = state.fill;
    paint.image = ctx->fontImages[ctx->fontImageIdx];
    paint.innerColor.a *= state.alpha;
    paint.outerColor.a *= state.alpha;
    ctx->params.renderTriangles(ctx->params.userPtr, &paint, state.compositeOperation,
                                &state.scissor, verts, nverts, ctx->fringeWidth);
}

// Two triangles per glyph, corners A, B, C, D clockwise from the top left.
VGvertex* add_glyph(VGvertex* dst, const float* xform, const GlyphAtlasQuad& q, float invscale) {
    float c[8];
    vg_transform_point(&c[0], &c[1], xform, q.x0 * invscale, q.y0 * invscale);
    vg_transform_point(&c[2], &c[3], xform, q.x1 * invscale, q.y0 * invscale);
    vg_transform_point(&c[4], &c[5], xform, q.x1 * invscale, q.y1 * invscale);
    vg_transform_point(&c[6], &c[7], xform, q.x0 * invscale, q.y1 * invscale);
    *dst++ = {c[0], c[1], q.s0, q.t0};
    *dst++ = {c[4], c[5], q.s1, q.t1};
    *dst++ = {c[2], c[3], q.s1, q.t0};
    *dst++ = {c[0], c[1], q.s0, q.t0};
    *dst++ = {c[6], c[7], q.s0, q.t1};
    *dst++ = {c[4], c[5], q.s1, q.t1};
    return dst;
}

} // namespace

void vg_upload_font_atlas(VGdrawContext* ctx) {
    int dirty[4];
    if (!glyphatlas_validate_texture(ctx->fs.get(), dirty))
        return;
    const int fontImage = ctx->fontImages[ctx->fontImageIdx];
    if (fontImage == 0)
        return;
    int iw = 0, ih = 0;
    const unsigned char* data = glyphatlas_texture_data(ctx->fs.get(), &iw, &ih);
    ctx->params.renderUpdateTexture(ctx->params.userPtr, fontImage, dirty[0], dirty[1],
                                    dirty[2] - dirty[0], dirty[3] - dirty[1], data);
}

int vg_flush_text_texture(VGdrawContext* ctx) {
    vg_upload_font_atlas(ctx);
    if (ctx->fontImageIdx >= VG_MAX_FONT_IMAGES - 1)
        return 0;
    int iw = 0, ih = 0;
    const int next = ctx->fontImages[ctx->fontImageIdx + 1];
    if (next != 0) {
        vg_image_size(ctx, next, &iw, &ih);
    } else {
        // The atlas has the current image's size, also when making that image failed.
        glyphatlas_atlas_size(ctx->fs.get(), &iw, &ih);
        if (iw > ih)
            ih *= 2;
        else
            iw *= 2;
        if (iw > VG_MAX_FONT_IMAGE_SIZE || ih > VG_MAX_FONT_IMAGE_SIZE)
            iw = ih = VG_MAX_FONT_IMAGE_SIZE;
        ctx->fontImages[ctx->fontImageIdx + 1] = ctx->params.renderCreateTexture(
            ctx->params.userPtr, VG_TEXTURE_ALPHA, iw, ih, 0, nullptr);
    }
    ++ctx->fontImageIdx;
    // A reused image the back end cannot size leaves nothing to lay out into.
    return glyphatlas_reset_atlas(ctx->fs.get(), iw, ih);
}

float vg_text(VGdrawContext* ctx, float x, float y, const char* string, const char* end) {
    if (!vg_has_font(ctx))
        return x;
    vg_text_range(&string, &end);
    const float scale = vg_text_scale(ctx);
    const float invscale = 1.0f / scale;
    vg_apply_text_state(ctx, scale);

    const long long length = std::max<long long>(2, end - string);
    if (length > INT_MAX / 6)
        return x;
    const int cverts = static_cast<int>(length) * 6;
    VGvertex* verts = vg_alloc_temp_verts(ctx, cverts);
    if (!verts)
        return x;
    const float* xform = vg_state(ctx).xform;

    GlyphAtlas* fs = ctx->fs.get();
    GlyphAtlasTextIter iter, prevIter;
    glyphatlas_iter_init(fs, &iter, x * scale, y * scale, string, end,
                         GLYPHATLAS_GLYPH_BITMAP_REQUIRED);
    prevIter = iter;
    GlyphAtlasQuad q{};
    int nverts = 0;
    while (glyphatlas_iter_next(fs, &iter, &q)) {
        if (vg_glyph_needs_room(iter)) {
            if (nverts != 0) {
                render_text(ctx, verts, nverts);
                nverts = 0;
            }
            if (!vg_flush_text_texture(ctx))
                break;
            iter = prevIter;
            glyphatlas_iter_next(fs, &iter, &q);
            if (iter.prevGlyphIndex == -1)
                break;
        }
        prevIter = iter;
        if (!glyphatlas_iter_has_quad(iter))
            continue;
        if (nverts + 6 <= cverts)
            nverts = static_cast<int>(add_glyph(verts + nverts, xform, q, invscale) - verts);
    }
    vg_upload_font_atlas(ctx);
    render_text(ctx, verts, nverts);
    return iter.nextx / scale;
}
