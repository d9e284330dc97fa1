#include "render/vg/VGText.h"
#include "render/vg/VGTextInternal.h"

#include <cmath>

float vg_text_bounds(VGdrawContext* ctx, float x, float y, const char* string, const char* end,
                     float* bounds) {
    if (!vg_has_font(ctx))
        return 0;
    vg_text_range(&string, &end);
    const float scale = vg_text_scale(ctx);
    const float invscale = 1.0f / scale;
    vg_apply_text_state(ctx, scale);
    GlyphAtlas* fs = ctx->fs.get();
    const float width = glyphatlas_text_bounds(fs, x * scale, y * scale, string, end, bounds);
    if (bounds) {
        // The line's full height, not just the ink of these glyphs.
        glyphatlas_line_bounds(fs, y * scale, &bounds[1], &bounds[3]);
        for (int i = 0; i < 4; ++i)
            bounds[i] *= invscale;
    }
    return width * invscale;
}

void vg_text_metrics(VGdrawContext* ctx, float* ascender, float* descender, float* lineh) {
    if (!vg_has_font(ctx))
        return;
    const float scale = vg_text_scale(ctx);
    const float invscale = 1.0f / scale;
    vg_apply_text_state(ctx, scale);
    glyphatlas_vert_metrics(ctx->fs.get(), ascender, descender, lineh);
    for (float* out : {ascender, descender, lineh})
        if (out)
            *out *= invscale;
}

int vg_text_glyph_positions(VGdrawContext* ctx, float x, float y, const char* string,
                            const char* end, VGglyphSpot* positions, int maxPositions) {
    if (!vg_has_font(ctx) || !positions || maxPositions <= 0)
        return 0;
    vg_text_range(&string, &end);
    if (string == end)
        return 0;
    const float scale = vg_text_scale(ctx);
    const float invscale = 1.0f / scale;
    vg_apply_text_state(ctx, scale);

    GlyphAtlasTextIter iter, before;
    glyphatlas_iter_init(ctx->fs.get(), &iter, x * scale, y * scale, string, end,
                         GLYPHATLAS_GLYPH_BITMAP_OPTIONAL);
    before = iter;
    GlyphAtlasQuad q{};
    int npos = 0;
    while (vg_measure_next(ctx, &iter, &before, &q)) {
        if (!glyphatlas_iter_decoded(iter))
            continue;
        const bool hasGlyph = iter.prevGlyphIndex != -1;
        VGglyphSpot& spot = positions[npos];
        spot.str = iter.str;
        spot.x = iter.x * invscale;
        spot.minx = (hasGlyph ? std::fmin(iter.x, q.x0) : iter.x) * invscale;
        spot.maxx = (hasGlyph ? std::fmax(iter.nextx, q.x1) : iter.nextx) * invscale;
        if (++npos >= maxPositions)
            break;
    }
    return npos;
}
