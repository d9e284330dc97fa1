#include "render/glyphatlas/GlyphAtlasInternal.h"

namespace {

void add_vertex(GlyphAtlas* atlas, float x, float y, float s, float t, unsigned int color) {
    const int i = atlas->nverts;
    atlas->verts[i * 2 + 0] = x;
    atlas->verts[i * 2 + 1] = y;
    atlas->tcoords[i * 2 + 0] = s;
    atlas->tcoords[i * 2 + 1] = t;
    atlas->colors[i] = color;
    ++atlas->nverts;
}

void flush_when_short(GlyphAtlas* atlas, int needed) {
    if (atlas->nverts + needed > GLYPHATLAS_VERTEX_COUNT)
        glyphatlas_flush(atlas);
}

void add_quad(GlyphAtlas* atlas, float x0, float y0, float s0, float t0, float x1, float y1,
              float s1, float t1, unsigned int color) {
    add_vertex(atlas, x0, y0, s0, t0, color);
    add_vertex(atlas, x1, y1, s1, t1, color);
    add_vertex(atlas, x1, y0, s1, t0, color);
    add_vertex(atlas, x0, y0, s0, t0, color);
    add_vertex(atlas, x0, y1, s0, t1, color);
    add_vertex(atlas, x1, y1, s1, t1, color);
}

} // namespace

float glyphatlas_draw_text(GlyphAtlas* atlas, float x, float y, const char* str, const char* end) {
    GlyphAtlasTextIter iter;
    if (!atlas ||
        !glyphatlas_iter_init(atlas, &iter, x, y, str, end, GLYPHATLAS_GLYPH_BITMAP_REQUIRED))
        return x;
    const unsigned int color = glyphatlas_state(atlas).color;
    GlyphAtlasQuad q{};
    while (glyphatlas_iter_next(atlas, &iter, &q)) {
        if (!glyphatlas_iter_has_quad(iter))
            continue;
        flush_when_short(atlas, 6);
        add_quad(atlas, q.x0, q.y0, q.s0, q.t0, q.x1, q.y1, q.s1, q.t1, color);
    }
    glyphatlas_flush(atlas);
    return iter.nextx;
}

void glyphatlas_draw_debug(GlyphAtlas* atlas, float x, float y) {
    const float w = static_cast<float>(atlas->params.width);
    const float h = static_cast<float>(atlas->params.height);
    // A texel of the white rectangle, for the untextured quads.
    const float u = atlas->itw, v = atlas->ith;
    flush_when_short(atlas, 12);
    add_quad(atlas, x, y, u, v, x + w, y + h, u, v, 0x0FFFFFFF);
    add_quad(atlas, x, y, 0, 0, x + w, y + h, 1, 1, 0xFFFFFFFF);
    for (const SkylineNode& n : atlas->atlas.nodes) {
        flush_when_short(atlas, 6);
        const float nx = x + n.x, ny = y + n.y;
        add_quad(atlas, nx, ny, u, v, nx + n.width, ny + 1, u, v, 0xC00000FF);
    }
    glyphatlas_flush(atlas);
}
