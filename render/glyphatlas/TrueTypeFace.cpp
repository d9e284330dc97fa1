#include "render/glyphatlas/TrueTypeFace.h"

#include "render/glyphatlas/GlyphAtlasInternal.h"

#include <cstdlib>

// The rasteriser lives in this file only; its temporary allocations come from
// the atlas's scratch block, which is reset per glyph, so freeing is a no-op.
#define STBTT_STATIC
#define STB_TRUETYPE_IMPLEMENTATION
#define STBTT_malloc(x, u) glyphatlas_scratch_alloc(static_cast<GlyphAtlas*>(u), x)
#define STBTT_free(x, u) ((void)(x), (void)(u))
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#include <stb/stb_truetype.h>
#pragma GCC diagnostic pop

struct TrueTypeFace {
    stbtt_fontinfo info{};
};

void TrueTypeFaceDeleter::operator()(TrueTypeFace* face) const {
    delete face;
}

TrueTypeFacePtr truetype_open(GlyphAtlas* owner, const unsigned char* data, int faceIndex) {
    const int offset = stbtt_GetFontOffsetForIndex(data, faceIndex);
    if (offset < 0)
        return nullptr;
    TrueTypeFacePtr face(new (std::nothrow) TrueTypeFace);
    if (!face || !stbtt_InitFont(&face->info, data, offset))
        return nullptr;
    face->info.userdata = owner;
    return face;
}

void truetype_vmetrics(const TrueTypeFace& face, int* ascent, int* descent, int* lineGap) {
    stbtt_GetFontVMetrics(&face.info, ascent, descent, lineGap);
}

int truetype_glyph_index(const TrueTypeFace& face, unsigned int codepoint) {
    return stbtt_FindGlyphIndex(&face.info, static_cast<int>(codepoint));
}

int truetype_advance_width(const TrueTypeFace& face, int glyph) {
    int advance = 0, leftBearing = 0;
    stbtt_GetGlyphHMetrics(&face.info, glyph, &advance, &leftBearing);
    return advance;
}

void truetype_glyph_box(const TrueTypeFace& face, int glyph, int* x0, int* y0, int* x1, int* y1) {
    if (!stbtt_GetGlyphBox(&face.info, glyph, x0, y0, x1, y1))
        *x0 = *y0 = *x1 = *y1 = 0;
}

int truetype_kern_advance(const TrueTypeFace& face, int glyph1, int glyph2) {
    return stbtt_GetGlyphKernAdvance(&face.info, glyph1, glyph2);
}

void truetype_render_glyph(const TrueTypeFace& face, unsigned char* out, int w, int h, int stride,
                           float scale, int glyph) {
    stbtt_MakeGlyphBitmap(&face.info, out, w, h, stride, scale, scale, glyph);
}
