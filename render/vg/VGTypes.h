#pragma once

// Plain value records of the vector renderer, copied freely. Records that back
// ends read keep their field order.

using VGimageId = int;

struct VGcolor {
    union {
        float rgba[4];
        struct {
            float r, g, b, a;
        };
    };
};

struct VGpaint {
    float xform[6];
    float extent[2];
    float radius;
    float feather;
    VGcolor innerColor;
    VGcolor outerColor;
    VGimageId image;
};

struct VGscissor {
    float xform[6];
    float extent[2]; // half width, half height; a negative first extent: no scissor
};

struct VGcompositeOperationState {
    int srcRGB;
    int dstRGB;
    int srcAlpha;
    int dstAlpha;
};

// One vertex of fill, stroke or text geometry. For fills and strokes (u, v)
// is the anti-aliasing coordinate, for text the atlas texture coordinate.
struct VGvertex {
    float x, y, u, v;
};

// One flattened sub-path as the back end receives it.
struct VGpath {
    int first;
    int count;
    unsigned char closed;
    int nbevel;
    VGvertex* fill;
    int nfill;
    VGvertex* stroke;
    int nstroke;
    int winding;
    int convex;
};

enum VGwinding : int { VG_SOLID = 1, VG_HOLE = 2 };
enum VGarcDirection : int { VG_CCW = 1, VG_CW = 2 };

// Caps use butt, round and square; joins round, bevel and miter.
enum VGlineCap : int { VG_BUTT = 0, VG_ROUND = 1, VG_SQUARE = 2, VG_BEVEL = 3, VG_MITER = 4 };

enum VGalign : int {
    VG_ALIGN_LEFT = 1,
    VG_ALIGN_CENTER = 2,
    VG_ALIGN_RIGHT = 4,
    VG_ALIGN_TOP = 8,
    VG_ALIGN_MIDDLE = 16,
    VG_ALIGN_BOTTOM = 32,
    VG_ALIGN_BASELINE = 64,
};

enum VGblendFactor : int {
    VG_ZERO = 1,
    VG_ONE = 2,
    VG_SRC_COLOR = 4,
    VG_ONE_MINUS_SRC_COLOR = 8,
    VG_DST_COLOR = 16,
    VG_ONE_MINUS_DST_COLOR = 32,
    VG_SRC_ALPHA = 64,
    VG_ONE_MINUS_SRC_ALPHA = 128,
    VG_DST_ALPHA = 256,
    VG_ONE_MINUS_DST_ALPHA = 512,
    VG_SRC_ALPHA_SATURATE = 1024,
};

enum VGcompositeOperation : int {
    VG_SOURCE_OVER,
    VG_SOURCE_IN,
    VG_SOURCE_OUT,
    VG_ATOP,
    VG_DESTINATION_OVER,
    VG_DESTINATION_IN,
    VG_DESTINATION_OUT,
    VG_DESTINATION_ATOP,
    VG_LIGHTER,
    VG_COPY,
    VG_XOR,
};

enum VGimageFlags : int {
    VG_IMAGE_GENERATE_MIPMAPS = 1,
    VG_IMAGE_REPEATX = 2,
    VG_IMAGE_REPEATY = 4,
    VG_IMAGE_FLIPY = 8,
    VG_IMAGE_PREMULTIPLIED = 16,
    VG_IMAGE_NEAREST = 32,
};

enum VGtextureType : int { VG_TEXTURE_ALPHA = 1, VG_TEXTURE_RGBA = 2 };

// One row of wrapped text; widths and edges in user units, relative to the
// row's start x.
struct VGwrapRow {
    const char* start;
    const char* end;  // one past the last non-space glyph
    const char* next; // where the next row's text begins
    float width;
    float minx, maxx;
};

struct VGglyphSpot {
    const char* str;
    float x;
    float minx, maxx;
};
