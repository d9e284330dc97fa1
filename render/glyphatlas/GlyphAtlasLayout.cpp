#include "render/glyphatlas/GlyphAtlasInternal.h"

#include "render/glyphatlas/Utf8Decoder.h"

#include <cmath>
#include <cstring>

namespace {

bool origin_top_left(const GlyphAtlas* atlas) {
    return (atlas->params.flags & GLYPHATLAS_ZERO_TOPLEFT) != 0;
}

int setup_iter(GlyphAtlas* atlas, GlyphAtlasTextIter* iter, float x, float y, const char* str,
               const char* end, int bitmapOption, bool alignHorizontally) {
    std::memset(iter, 0, sizeof(*iter));
    const GlyphAtlasState& state = glyphatlas_state(atlas);
    GlyphAtlasFont* font = glyphatlas_font_at(atlas, state.font);
    if (!font)
        return 0;
    if (!str)
        str = end = "";
    if (!end)
        end = str + std::strlen(str);
    if (end < str) // a reversed range would walk off the text
        end = str;
    iter->isize = glyphatlas_state_isize(state);
    iter->iblur = glyphatlas_state_iblur(state);
    iter->scale = glyphatlas_font_scale(*font, iter->isize);

    if (alignHorizontally && !(state.align & GLYPHATLAS_ALIGN_LEFT)) {
        const float width = glyphatlas_text_bounds(atlas, x, y, str, end, nullptr);
        if (state.align & GLYPHATLAS_ALIGN_RIGHT)
            x -= width;
        else if (state.align & GLYPHATLAS_ALIGN_CENTER)
            x -= width * 0.5f;
    }
    y += glyphatlas_vert_align(atlas, *font, state.align, iter->isize);

    iter->x = iter->nextx = x;
    iter->y = iter->nexty = y;
    iter->spacing = state.spacing;
    iter->font = font;
    iter->prevGlyphIndex = -1;
    iter->prevGlyphFont = -1;
    iter->str = iter->next = str;
    iter->end = end;
    iter->utf8state = UTF8_ACCEPT;
    iter->bitmapOption = bitmapOption;
    return 1;
}

} // namespace

float glyphatlas_vert_align(const GlyphAtlas* atlas, const GlyphAtlasFont& font, int align,
                            short isize) {
    const float size = static_cast<float>(isize) / 10.0f;
    float offset = 0.0f;
    if (align & GLYPHATLAS_ALIGN_TOP)
        offset = font.ascender * size;
    else if (align & GLYPHATLAS_ALIGN_MIDDLE)
        offset = (font.ascender + font.descender) / 2.0f * size;
    else if ((align & GLYPHATLAS_ALIGN_BOTTOM) && !(align & GLYPHATLAS_ALIGN_BASELINE))
        offset = font.descender * size;
    return origin_top_left(atlas) ? offset : -offset;
}

void glyphatlas_glyph_quad(GlyphAtlas* atlas, GlyphAtlasFont* font, int prevGlyphIndex,
                           const GlyphAtlasGlyph* glyph, float scale, float spacing, float* x,
                           float* y, GlyphAtlasQuad* q) {
    if (prevGlyphIndex != -1) {
        // Glyph indices only pair up within the font that drew both glyphs.
        float kern = 0.0f;
        if (font && font->face && atlas->fonts[glyph->fontIndex].get() == font)
            kern = static_cast<float>(
                       truetype_kern_advance(*font->face, prevGlyphIndex, glyph->index)) *
                   scale;
        *x += std::trunc(kern + spacing + 0.5f);
    }
    const float ax0 = static_cast<float>(glyph->x0 + 1);
    const float ay0 = static_cast<float>(glyph->y0 + 1);
    const float ax1 = static_cast<float>(glyph->x1 - 1);
    const float ay1 = static_cast<float>(glyph->y1 - 1);
    const float xoff = static_cast<float>(glyph->xoff + 1);
    const float yoff = static_cast<float>(glyph->yoff + 1);

    const float rx = std::trunc(*x + xoff);
    q->x0 = rx;
    q->x1 = rx + ax1 - ax0;
    if (origin_top_left(atlas)) {
        const float ry = std::trunc(*y + yoff);
        q->y0 = ry;
        q->y1 = ry + ay1 - ay0;
    } else {
        const float ry = std::trunc(*y - yoff);
        q->y0 = ry;
        q->y1 = ry - ay1 + ay0;
    }
    q->s0 = ax0 * atlas->itw;
    q->t0 = ay0 * atlas->ith;
    q->s1 = ax1 * atlas->itw;
    q->t1 = ay1 * atlas->ith;
    *x += std::trunc(static_cast<float>(glyph->xadv) / 10.0f + 0.5f);
}

int glyphatlas_iter_init(GlyphAtlas* atlas, GlyphAtlasTextIter* iter, float x, float y,
                         const char* str, const char* end, int bitmapOption) {
    return setup_iter(atlas, iter, x, y, str, end, bitmapOption, true);
}

int glyphatlas_iter_next(GlyphAtlas* atlas, GlyphAtlasTextIter* iter, GlyphAtlasQuad* quad) {
    const char* str = iter->next;
    iter->str = iter->next;
    if (str == iter->end)
        return 0;
    for (; str != iter->end; ++str) {
        if (utf8_decode(&iter->utf8state, &iter->codepoint, static_cast<unsigned char>(*str)))
            continue;
        ++str;
        iter->x = iter->nextx;
        iter->y = iter->nexty;
        const GlyphAtlasGlyph* glyph = glyphatlas_get_glyph(
            atlas, iter->font, iter->codepoint, iter->isize, iter->iblur, iter->bitmapOption);
        if (glyph) {
            GlyphAtlasFont* prevFont =
                iter->prevGlyphFont >= 0 ? atlas->fonts[iter->prevGlyphFont].get() : nullptr;
            const float kernScale =
                prevFont ? glyphatlas_font_scale(*prevFont, iter->isize) : iter->scale;
            glyphatlas_glyph_quad(atlas, prevFont, iter->prevGlyphIndex, glyph, kernScale,
                                  iter->spacing, &iter->nextx, &iter->nexty, quad);
        }
        iter->prevGlyphIndex = glyph ? glyph->index : -1;
        iter->prevGlyphFont = glyph ? glyph->fontIndex : -1;
        break;
    }
    iter->next = str;
    return 1;
}

float glyphatlas_text_bounds(GlyphAtlas* atlas, float x, float y, const char* str, const char* end,
                             float* bounds) {
    GlyphAtlasTextIter iter;
    if (!atlas ||
        !setup_iter(atlas, &iter, x, y, str, end, GLYPHATLAS_GLYPH_BITMAP_OPTIONAL, false))
        return 0.0f;
    const bool topLeft = origin_top_left(atlas);
    float minx = x, maxx = x, miny = iter.y, maxy = iter.y;
    GlyphAtlasQuad q{};
    while (glyphatlas_iter_next(atlas, &iter, &q)) {
        if (!glyphatlas_iter_has_quad(iter))
            continue;
        minx = std::fmin(minx, q.x0);
        maxx = std::fmax(maxx, q.x1);
        miny = std::fmin(miny, topLeft ? q.y0 : q.y1);
        maxy = std::fmax(maxy, topLeft ? q.y1 : q.y0);
    }
    const float advance = iter.nextx - x;
    const int align = glyphatlas_state(atlas).align;
    if (!(align & GLYPHATLAS_ALIGN_LEFT)) {
        if (align & GLYPHATLAS_ALIGN_RIGHT) {
            minx -= advance;
            maxx -= advance;
        } else if (align & GLYPHATLAS_ALIGN_CENTER) {
            minx -= advance * 0.5f;
            maxx -= advance * 0.5f;
        }
    }
    if (bounds) {
        bounds[0] = minx;
        bounds[1] = miny;
        bounds[2] = maxx;
        bounds[3] = maxy;
    }
    return advance;
}

void glyphatlas_vert_metrics(GlyphAtlas* atlas, float* ascender, float* descender, float* lineh) {
    const GlyphAtlasState& state = glyphatlas_state(atlas);
    const GlyphAtlasFont* font = glyphatlas_font_at(atlas, state.font);
    if (!font)
        return;
    const float size = static_cast<float>(glyphatlas_state_isize(state)) / 10.0f;
    if (ascender)
        *ascender = font->ascender * size;
    if (descender)
        *descender = font->descender * size;
    if (lineh)
        *lineh = font->lineh * size;
}

void glyphatlas_line_bounds(GlyphAtlas* atlas, float y, float* miny, float* maxy) {
    const GlyphAtlasState& state = glyphatlas_state(atlas);
    const GlyphAtlasFont* font = glyphatlas_font_at(atlas, state.font);
    if (!font)
        return;
    const short isize = glyphatlas_state_isize(state);
    const float size = static_cast<float>(isize) / 10.0f;
    y += glyphatlas_vert_align(atlas, *font, state.align, isize);
    if (origin_top_left(atlas)) {
        *miny = y - font->ascender * size;
        *maxy = *miny + font->lineh * size;
    } else {
        *maxy = y + font->descender * size;
        *miny = *maxy - font->lineh * size;
    }
}
