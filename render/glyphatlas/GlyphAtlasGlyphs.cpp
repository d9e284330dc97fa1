#include "render/glyphatlas/GlyphAtlasInternal.h"

#include "render/glyphatlas/GlyphBlur.h"
#include "render/util/SafeConvert.h"
#include "render/util/TryAlloc.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

short to_short(float v) {
    return static_cast<short>(clamp_to_int(v, -32768, 32767));
}

unsigned int hash_codepoint(unsigned int h) {
    h += ~(h << 15);
    h ^= (h >> 10);
    h += (h << 3);
    h ^= (h >> 6);
    h += ~(h << 11);
    h ^= (h >> 16);
    return h;
}

GlyphAtlasGlyph* find_cached(GlyphAtlasFont* font, int bucket, unsigned int codepoint, short isize,
                             short iblur) {
    for (int i = font->lut[bucket]; i != -1; i = font->glyphs[i].next) {
        GlyphAtlasGlyph& g = font->glyphs[i];
        if (g.codepoint == codepoint && g.size == isize && g.blur == iblur)
            return &g;
    }
    return nullptr;
}

// The font that draws the code point: the font itself, else the first
// fallback that has it, else the font's own missing-glyph index 0.
int find_rendering_font(GlyphAtlas* atlas, GlyphAtlasFont* font, int fontIndex,
                        unsigned int codepoint, int* glyphIndex) {
    *glyphIndex = truetype_glyph_index(*font->face, codepoint);
    if (*glyphIndex != 0)
        return fontIndex;
    for (int i = 0; i < font->nfallbacks; ++i) {
        GlyphAtlasFont* fallback = glyphatlas_font_at(atlas, font->fallbacks[i]);
        if (!fallback)
            continue;
        const int index = truetype_glyph_index(*fallback->face, codepoint);
        if (index != 0) {
            *glyphIndex = index;
            return font->fallbacks[i];
        }
    }
    return fontIndex;
}

int index_of(GlyphAtlas* atlas, const GlyphAtlasFont* font) {
    for (std::size_t i = 0; i < atlas->fonts.size(); ++i)
        if (atlas->fonts[i].get() == font)
            return static_cast<int>(i);
    return -1;
}

bool place_bitmap(GlyphAtlas* atlas, int gw, int gh, int* gx, int* gy) {
    if (skyline_add_rect(atlas->atlas, gw, gh, gx, gy))
        return true;
    if (!atlas->handleError)
        return false;
    glyphatlas_report(atlas, GLYPHATLAS_ATLAS_FULL, 0);
    return skyline_add_rect(atlas->atlas, gw, gh, gx, gy);
}

void clear_rect(unsigned char* rect, int w, int h, int stride) {
    for (int y = 0; y < h; ++y)
        std::memset(rect + static_cast<std::size_t>(y) * stride, 0, w);
}

void clear_border(unsigned char* rect, int w, int h, int stride) {
    for (int y = 0; y < h; ++y) {
        rect[static_cast<std::size_t>(y) * stride] = 0;
        rect[w - 1 + static_cast<std::size_t>(y) * stride] = 0;
    }
    std::memset(rect, 0, w);
    std::memset(rect + static_cast<std::size_t>(h - 1) * stride, 0, w);
}

void rasterise(GlyphAtlas* atlas, const GlyphAtlasFont& renderFont, const GlyphAtlasGlyph& g,
               float scale, int pad, int iblur) {
    const int stride = atlas->params.width;
    unsigned char* tex = atlas->texData.data();
    const int gw = g.x1 - g.x0, gh = g.y1 - g.y0;
    const int bw = gw - 2 * pad, bh = gh - 2 * pad;
    unsigned char* dst = &tex[(g.x0 + pad) + static_cast<std::size_t>(g.y0 + pad) * stride];
    truetype_render_glyph(*renderFont.face, dst, bw, bh, stride, scale, g.index);
    // A rasteriser that ran out of scratch drew an incomplete glyph.
    const bool dropped = atlas->scratchOverflowed;
    glyphatlas_scratch_reset(atlas);

    unsigned char* rect = &tex[g.x0 + static_cast<std::size_t>(g.y0) * stride];
    if (dropped) {
        clear_rect(rect, gw, gh, stride);
    } else {
        clear_border(rect, gw, gh, stride);
        if (iblur > 0)
            glyph_blur(rect, gw, gh, stride, iblur);
    }
    glyphatlas_mark_dirty(atlas, g.x0, g.y0, g.x1, g.y1);
}

} // namespace

GlyphAtlasGlyph* glyphatlas_get_glyph(GlyphAtlas* atlas, GlyphAtlasFont* font,
                                      unsigned int codepoint, short isize, short iblur,
                                      int bitmapOption) {
    if (isize < 2)
        return nullptr;
    iblur = static_cast<short>(std::clamp<int>(iblur, 0, GLYPHATLAS_MAX_BLUR));
    const int pad = iblur + 2;
    glyphatlas_scratch_reset(atlas);

    const int bucket = static_cast<int>(hash_codepoint(codepoint) & (GLYPHATLAS_HASH_LUT_SIZE - 1));
    GlyphAtlasGlyph* cached = find_cached(font, bucket, codepoint, isize, iblur);
    if (cached &&
        (bitmapOption == GLYPHATLAS_GLYPH_BITMAP_OPTIONAL || (cached->x0 >= 0 && cached->y0 >= 0)))
        return cached;

    int glyphIndex = 0;
    const int renderIndex =
        find_rendering_font(atlas, font, index_of(atlas, font), codepoint, &glyphIndex);
    const GlyphAtlasFont& renderFont = *atlas->fonts[renderIndex];
    const float scale = glyphatlas_font_scale(renderFont, isize);
    const int advance = truetype_advance_width(*renderFont.face, glyphIndex);
    int bx0 = 0, by0 = 0, bx1 = 0, by1 = 0;
    truetype_glyph_box(*renderFont.face, glyphIndex, &bx0, &by0, &bx1, &by1);
    const int x0 = static_cast<int>(std::floor(static_cast<float>(bx0) * scale));
    const int y0 = static_cast<int>(std::floor(static_cast<float>(-by1) * scale));
    const int x1 = static_cast<int>(std::ceil(static_cast<float>(bx1) * scale));
    const int y1 = static_cast<int>(std::ceil(static_cast<float>(-by0) * scale));
    const int gw = x1 - x0 + 2 * pad;
    const int gh = y1 - y0 + 2 * pad;

    int gx = -1, gy = -1;
    if (bitmapOption == GLYPHATLAS_GLYPH_BITMAP_REQUIRED && !place_bitmap(atlas, gw, gh, &gx, &gy))
        return nullptr;

    // The error callback may have reset the atlas, which empties the cache.
    cached = find_cached(font, bucket, codepoint, isize, iblur);
    GlyphAtlasGlyph* glyph = cached;
    if (!glyph) {
        GlyphAtlasGlyph fresh{};
        fresh.codepoint = codepoint;
        fresh.size = isize;
        fresh.blur = iblur;
        fresh.next = font->lut[bucket];
        if (!try_push_back(font->glyphs, fresh))
            return nullptr;
        font->lut[bucket] = static_cast<int>(font->glyphs.size()) - 1;
        glyph = &font->glyphs.back();
    }
    glyph->index = glyphIndex;
    glyph->fontIndex = renderIndex;
    glyph->x0 = static_cast<short>(gx);
    glyph->y0 = static_cast<short>(gy);
    glyph->x1 = to_short(static_cast<float>(gx + gw));
    glyph->y1 = to_short(static_cast<float>(gy + gh));
    glyph->xadv = to_short(scale * static_cast<float>(advance) * 10.0f);
    glyph->xoff = to_short(static_cast<float>(x0 - pad));
    glyph->yoff = to_short(static_cast<float>(y0 - pad));

    if (bitmapOption == GLYPHATLAS_GLYPH_BITMAP_OPTIONAL)
        return glyph;
    rasterise(atlas, renderFont, *glyph, scale, pad, iblur);
    return glyph;
}
