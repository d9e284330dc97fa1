#pragma once

// Glyph atlas: loaded fonts, a cache of rasterised glyphs packed into one
// 8-bit alpha texture, and text layout over it. C-style interface over an
// opaque context, as the vector renderer drives it.

#include <cstdint>

struct GlyphAtlas;
struct GlyphAtlasFont;
struct GlyphAtlasGlyph;

enum GlyphAtlasFlags : unsigned char { GLYPHATLAS_ZERO_TOPLEFT = 1 };

enum GlyphAtlasAlign : int {
    GLYPHATLAS_ALIGN_LEFT = 1,
    GLYPHATLAS_ALIGN_CENTER = 2,
    GLYPHATLAS_ALIGN_RIGHT = 4,
    GLYPHATLAS_ALIGN_TOP = 8,
    GLYPHATLAS_ALIGN_MIDDLE = 16,
    GLYPHATLAS_ALIGN_BOTTOM = 32,
    GLYPHATLAS_ALIGN_BASELINE = 64,
};

enum GlyphAtlasErrorCode : int {
    GLYPHATLAS_ATLAS_FULL = 1,
    GLYPHATLAS_SCRATCH_FULL = 2,
    GLYPHATLAS_STATES_OVERFLOW = 3,
    GLYPHATLAS_STATES_UNDERFLOW = 4,
};

enum GlyphAtlasBitmapOption : int {
    GLYPHATLAS_GLYPH_BITMAP_OPTIONAL = 1,
    GLYPHATLAS_GLYPH_BITMAP_REQUIRED = 2,
};

struct GlyphAtlasParams {
    int width;
    int height;
    unsigned char flags;
    void* userPtr;
    int (*renderCreate)(void* uptr, int width, int height);
    int (*renderResize)(void* uptr, int width, int height);
    void (*renderUpdate)(void* uptr, int* rect, const unsigned char* data);
    void (*renderDraw)(void* uptr, const float* verts, const float* tcoords,
                       const unsigned int* colors, int nverts);
    void (*renderDelete)(void* uptr);
};

struct GlyphAtlasQuad {
    float x0, y0, s0, t0;
    float x1, y1, s1, t1;
};

struct GlyphAtlasTextIter {
    float x, y, nextx, nexty, scale, spacing;
    unsigned int codepoint;
    short isize, iblur;
    GlyphAtlasFont* font;
    int prevGlyphIndex;
    int prevGlyphFont; // font that drew the previous glyph, -1 none
    const char* str;
    const char* next;
    const char* end;
    unsigned int utf8state;
    int bitmapOption;
};

using GlyphAtlasErrorCallback = void (*)(void* uptr, int error, int val);

GlyphAtlas* glyphatlas_create(const GlyphAtlasParams* params);
void glyphatlas_delete(GlyphAtlas* atlas);
void glyphatlas_set_error_callback(GlyphAtlas* atlas, GlyphAtlasErrorCallback callback, void* uptr);

void glyphatlas_atlas_size(GlyphAtlas* atlas, int* width, int* height);
int glyphatlas_expand_atlas(GlyphAtlas* atlas, int width, int height);
int glyphatlas_reset_atlas(GlyphAtlas* atlas, int width, int height);

int glyphatlas_add_font_file(GlyphAtlas* atlas, const char* name, const char* path, int fontIndex);
int glyphatlas_add_font_mem(GlyphAtlas* atlas, const char* name, unsigned char* data, int size,
                            int fontIndex, int freeData);
int glyphatlas_font_by_name(GlyphAtlas* atlas, const char* name);
int glyphatlas_add_fallback(GlyphAtlas* atlas, int base, int fallback);
// 1 when the index names a loaded font with data: ids that fail this check
// must be treated as "no font" before laying text out.
int glyphatlas_font_valid(GlyphAtlas* atlas, int font);

void glyphatlas_push_state(GlyphAtlas* atlas);
void glyphatlas_pop_state(GlyphAtlas* atlas);
void glyphatlas_clear_state(GlyphAtlas* atlas);
void glyphatlas_set_size(GlyphAtlas* atlas, float size);
void glyphatlas_set_color(GlyphAtlas* atlas, unsigned int color);
void glyphatlas_set_spacing(GlyphAtlas* atlas, float spacing);
void glyphatlas_set_blur(GlyphAtlas* atlas, float blur);
void glyphatlas_set_align(GlyphAtlas* atlas, int align);
void glyphatlas_set_font(GlyphAtlas* atlas, int font);

// False after a call that completed no code point (the text ended inside a
// sequence, or a malformed byte was met): that call produced no glyph.
inline bool glyphatlas_iter_decoded(const GlyphAtlasTextIter& iter) {
    return iter.utf8state == 0;
}

// True after a call that produced a glyph quad.
inline bool glyphatlas_iter_has_quad(const GlyphAtlasTextIter& iter) {
    return glyphatlas_iter_decoded(iter) && iter.prevGlyphIndex != -1;
}

int glyphatlas_iter_init(GlyphAtlas* atlas, GlyphAtlasTextIter* iter, float x, float y,
                         const char* str, const char* end, int bitmapOption);
int glyphatlas_iter_next(GlyphAtlas* atlas, GlyphAtlasTextIter* iter, GlyphAtlasQuad* quad);
void glyphatlas_glyph_quad(GlyphAtlas* atlas, GlyphAtlasFont* font, int prevGlyphIndex,
                           const GlyphAtlasGlyph* glyph, float scale, float spacing, float* x,
                           float* y, GlyphAtlasQuad* quad);

float glyphatlas_text_bounds(GlyphAtlas* atlas, float x, float y, const char* str, const char* end,
                             float* bounds);
float glyphatlas_draw_text(GlyphAtlas* atlas, float x, float y, const char* str, const char* end);
void glyphatlas_vert_metrics(GlyphAtlas* atlas, float* ascender, float* descender, float* lineh);
void glyphatlas_line_bounds(GlyphAtlas* atlas, float y, float* miny, float* maxy);
void glyphatlas_draw_debug(GlyphAtlas* atlas, float x, float y);

const unsigned char* glyphatlas_texture_data(GlyphAtlas* atlas, int* width, int* height);
int glyphatlas_validate_texture(GlyphAtlas* atlas, int* dirty);
