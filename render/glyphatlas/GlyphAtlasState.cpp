#include "render/glyphatlas/GlyphAtlasInternal.h"

#include "render/util/SafeConvert.h"

void glyphatlas_push_state(GlyphAtlas* atlas) {
    if (atlas->nstates >= GLYPHATLAS_MAX_STATES) {
        glyphatlas_report(atlas, GLYPHATLAS_STATES_OVERFLOW, 0);
        return;
    }
    if (atlas->nstates > 0)
        atlas->states[atlas->nstates] = atlas->states[atlas->nstates - 1];
    ++atlas->nstates;
}

void glyphatlas_pop_state(GlyphAtlas* atlas) {
    if (atlas->nstates <= 1) {
        glyphatlas_report(atlas, GLYPHATLAS_STATES_UNDERFLOW, 0);
        return;
    }
    --atlas->nstates;
}

void glyphatlas_clear_state(GlyphAtlas* atlas) {
    GlyphAtlasState& state = glyphatlas_state(atlas);
    state.size = 12.0f;
    state.color = 0xFFFFFFFF;
    state.font = 0;
    state.blur = 0;
    state.spacing = 0;
    state.align = GLYPHATLAS_ALIGN_LEFT | GLYPHATLAS_ALIGN_BASELINE;
}

void glyphatlas_set_size(GlyphAtlas* atlas, float size) {
    glyphatlas_state(atlas).size = size;
}

void glyphatlas_set_color(GlyphAtlas* atlas, unsigned int color) {
    glyphatlas_state(atlas).color = color;
}

void glyphatlas_set_spacing(GlyphAtlas* atlas, float spacing) {
    glyphatlas_state(atlas).spacing = spacing;
}

void glyphatlas_set_blur(GlyphAtlas* atlas, float blur) {
    glyphatlas_state(atlas).blur = blur;
}

void glyphatlas_set_align(GlyphAtlas* atlas, int align) {
    glyphatlas_state(atlas).align = align;
}

void glyphatlas_set_font(GlyphAtlas* atlas, int font) {
    glyphatlas_state(atlas).font = font;
}

short glyphatlas_state_isize(const GlyphAtlasState& state) {
    return static_cast<short>(clamp_to_int(state.size * 10.0f, 0, 32767));
}

short glyphatlas_state_iblur(const GlyphAtlasState& state) {
    return static_cast<short>(clamp_to_int(state.blur, 0, 32767));
}
