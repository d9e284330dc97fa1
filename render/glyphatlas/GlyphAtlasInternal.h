#pragma once

// The atlas's records, shared by its own source files only.

#include "render/glyphatlas/GlyphAtlas.h"
#include "render/glyphatlas/Skyline.h"
#include "render/glyphatlas/TrueTypeFace.h"

#include <cstddef>
#include <memory>
#include <vector>

constexpr int GLYPHATLAS_SCRATCH_SIZE = 96000;
constexpr int GLYPHATLAS_MAX_STATES = 20;
constexpr int GLYPHATLAS_MAX_FALLBACKS = 20;
constexpr int GLYPHATLAS_HASH_LUT_SIZE = 256;
constexpr int GLYPHATLAS_VERTEX_COUNT = 1024;
constexpr int GLYPHATLAS_MAX_BLUR = 20;

struct GlyphAtlasGlyph {
    unsigned int codepoint;
    int index;     // glyph index in the font that rendered it
    int next;      // next entry of the same hash bucket, -1 ends
    int fontIndex; // the font that rendered it (itself or a fallback)
    short size, blur;
    short x0, y0, x1, y1;
    short xadv, xoff, yoff;
};

struct GlyphAtlasFont {
    TrueTypeFacePtr face;
    char name[64] = {};
    unsigned char* data = nullptr;
    int dataSize = 0;
    bool freeData = false;
    float ascender = 0, descender = 0, lineh = 0;
    int unitsHeight = 0; // ascent - descent in font units
    std::vector<GlyphAtlasGlyph> glyphs;
    int lut[GLYPHATLAS_HASH_LUT_SIZE];
    int fallbacks[GLYPHATLAS_MAX_FALLBACKS] = {};
    int nfallbacks = 0;

    GlyphAtlasFont() = default;
    GlyphAtlasFont(const GlyphAtlasFont&) = delete;
    GlyphAtlasFont& operator=(const GlyphAtlasFont&) = delete;
    ~GlyphAtlasFont();
};

struct GlyphAtlasState {
    int font;
    int align;
    float size;
    unsigned int color;
    float blur;
    float spacing;
};

struct GlyphAtlas {
    GlyphAtlasParams params{};
    float itw = 0, ith = 0;
    std::vector<unsigned char> texData;
    int dirtyRect[4] = {};
    std::vector<std::unique_ptr<GlyphAtlasFont>> fonts;
    GlyphAtlasSkyline atlas;
    float verts[GLYPHATLAS_VERTEX_COUNT * 2] = {};
    float tcoords[GLYPHATLAS_VERTEX_COUNT * 2] = {};
    unsigned int colors[GLYPHATLAS_VERTEX_COUNT] = {};
    int nverts = 0;
    std::unique_ptr<unsigned char[]> scratch;
    int nscratch = 0;
    // Requests the full scratch could not serve since the last reset, held
    // until the next one (see glyphatlas_scratch_alloc).
    std::vector<std::unique_ptr<unsigned char[]>> scratchSpill;
    bool scratchOverflowed = false;
    GlyphAtlasState states[GLYPHATLAS_MAX_STATES] = {};
    int nstates = 0;
    GlyphAtlasErrorCallback handleError = nullptr;
    void* errorUptr = nullptr;
};

inline GlyphAtlasState& glyphatlas_state(GlyphAtlas* atlas) {
    return atlas->states[atlas->nstates - 1];
}

// The font the index names when it has data, else null.
GlyphAtlasFont* glyphatlas_font_at(GlyphAtlas* atlas, int index);
void glyphatlas_report(GlyphAtlas* atlas, int error, int value);
void* glyphatlas_scratch_alloc(GlyphAtlas* atlas, std::size_t size);
// Empties the scratch for the next glyph or font.
void glyphatlas_scratch_reset(GlyphAtlas* atlas);
void glyphatlas_flush(GlyphAtlas* atlas);
void glyphatlas_mark_dirty(GlyphAtlas* atlas, int x0, int y0, int x1, int y1);
// Places the 2 x 2 white rectangle that solid quads sample.
bool glyphatlas_add_white_rect(GlyphAtlas* atlas);

// Scale from font units to pixels for a size given as pixels x 10.
float glyphatlas_font_scale(const GlyphAtlasFont& font, short isize);
GlyphAtlasGlyph* glyphatlas_get_glyph(GlyphAtlas* atlas, GlyphAtlasFont* font,
                                      unsigned int codepoint, short isize, short iblur,
                                      int bitmapOption);
float glyphatlas_vert_align(const GlyphAtlas* atlas, const GlyphAtlasFont& font, int align,
                            short isize);
// Size x 10 and blur of the top state as the cache keys them.
short glyphatlas_state_isize(const GlyphAtlasState& state);
short glyphatlas_state_iblur(const GlyphAtlasState& state);
