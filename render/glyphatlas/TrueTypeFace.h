#pragma once

#include <memory>

struct GlyphAtlas;

// One face of a font file, read through the TrueType rasteriser. Its
// temporary memory comes from the owning atlas's scratch block.
struct TrueTypeFace;

struct TrueTypeFaceDeleter {
    void operator()(TrueTypeFace* face) const;
};
using TrueTypeFacePtr = std::unique_ptr<TrueTypeFace, TrueTypeFaceDeleter>;

// Null when the face index names no face or the face cannot be read.
TrueTypeFacePtr truetype_open(GlyphAtlas* owner, const unsigned char* data, int faceIndex);
// Ascent, descent and line gap of the 'hhea' table, in font units.
void truetype_vmetrics(const TrueTypeFace& face, int* ascent, int* descent, int* lineGap);
int truetype_glyph_index(const TrueTypeFace& face, unsigned int codepoint);
int truetype_advance_width(const TrueTypeFace& face, int glyph);
// Glyph box in font units (y up); all 0 for a glyph without an outline.
void truetype_glyph_box(const TrueTypeFace& face, int glyph, int* x0, int* y0, int* x1, int* y1);
int truetype_kern_advance(const TrueTypeFace& face, int glyph1, int glyph2);
void truetype_render_glyph(const TrueTypeFace& face, unsigned char* out, int w, int h, int stride,
                           float scale, int glyph);
