#include "render/util/SafeConvert.h"
#include "render/vg/VGText.h"
#include "render/vg/VGTextInternal.h"

#include <cstring>

bool vg_has_font(VGdrawContext* ctx) {
    const int font = vg_state(ctx).fontId;
    return font != -1 && glyphatlas_font_valid(ctx->fs.get(), font);
}

float vg_text_scale(VGdrawContext* ctx) {
    const float average = vg_average_scale(vg_state(ctx).xform);
    // Text shrunk to nothing still lays out at the smallest step: a zero
    // scale would make every result in user units 0 / 0.
    const int hundredths = clamp_to_int(average / 0.01f + 0.5f, 1, 400);
    return static_cast<float>(hundredths) * 0.01f * ctx->devicePxRatio;
}

void vg_apply_text_state(VGdrawContext* ctx, float scale) {
    const VGdrawState& state = vg_state(ctx);
    GlyphAtlas* fs = ctx->fs.get();
    glyphatlas_set_size(fs, state.fontSize * scale);
    glyphatlas_set_spacing(fs, state.letterSpacing * scale);
    glyphatlas_set_blur(fs, state.fontBlur * scale);
    glyphatlas_set_align(fs, state.textAlign);
    glyphatlas_set_font(fs, state.fontId);
}

void vg_text_range(const char** string, const char** end) {
    if (!*string) {
        *string = "";
        *end = *string;
    } else if (!*end) {
        *end = *string + std::strlen(*string);
    } else if (*end < *string) {
        *end = *string;
    }
}

bool vg_glyph_needs_room(const GlyphAtlasTextIter& iter) {
    // Below a fifth of a pixel no glyph exists at all; a new image would not help.
    return glyphatlas_iter_decoded(iter) && iter.prevGlyphIndex == -1 && iter.isize >= 2;
}

bool vg_measure_next(VGdrawContext* ctx, GlyphAtlasTextIter* iter, GlyphAtlasTextIter* before,
                     GlyphAtlasQuad* quad) {
    GlyphAtlas* fs = ctx->fs.get();
    if (!glyphatlas_iter_next(fs, iter, quad))
        return false;
    if (vg_glyph_needs_room(*iter) && vg_flush_text_texture(ctx)) {
        *iter = *before;
        glyphatlas_iter_next(fs, iter, quad);
    }
    *before = *iter;
    return true;
}

void vg_font_size(VGdrawContext* ctx, float size) {
    vg_state(ctx).fontSize = size;
}

void vg_font_blur(VGdrawContext* ctx, float blur) {
    vg_state(ctx).fontBlur = blur;
}

void vg_text_letter_spacing(VGdrawContext* ctx, float spacing) {
    vg_state(ctx).letterSpacing = spacing;
}

void vg_text_line_height(VGdrawContext* ctx, float lineHeight) {
    vg_state(ctx).lineHeight = lineHeight;
}

void vg_text_align(VGdrawContext* ctx, int align) {
    vg_state(ctx).textAlign = align;
}

void vg_font_face_id(VGdrawContext* ctx, int font) {
    vg_state(ctx).fontId = font;
}

void vg_font_face(VGdrawContext* ctx, const char* font) {
    vg_state(ctx).fontId = vg_find_font(ctx, font);
}
