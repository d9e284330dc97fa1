#pragma once

// The renderer's context record, shared by the renderer's own files only.

#include "render/glyphatlas/GlyphAtlas.h"
#include "render/vg/VGContext.h"

#include <memory>
#include <vector>

constexpr int VG_MAX_STATES = 32;
constexpr int VG_MAX_FONT_IMAGES = 4;
constexpr int VG_MAX_FONT_IMAGE_SIZE = 2048;
constexpr int VG_INIT_FONT_IMAGE_SIZE = 512;
constexpr int VG_INIT_COMMANDS_SIZE = 256;
constexpr int VG_INIT_POINTS_SIZE = 128;
constexpr int VG_INIT_PATHS_SIZE = 16;
constexpr int VG_INIT_VERTS_SIZE = 256;
constexpr float VG_PI = 3.14159265358979323846264338327f;
constexpr float VG_KAPPA90 = 0.5522847493f; // length of a quarter circle's control arm

enum VGcommand : int {
    VG_MOVETO = 0,
    VG_LINETO = 1,
    VG_BEZIERTO = 2,
    VG_CLOSE = 3,
    VG_WINDING = 4
};

enum VGpointFlags : unsigned char {
    VG_PT_CORNER = 0x01,
    VG_PT_LEFT = 0x02,
    VG_PT_BEVEL = 0x04,
    VG_PT_INNERBEVEL = 0x08,
};

struct VGdrawState {
    VGcompositeOperationState compositeOperation;
    int shapeAntiAlias;
    VGpaint fill;
    VGpaint stroke;
    float strokeWidth;
    float miterLimit;
    int lineJoin;
    int lineCap;
    float alpha;
    float xform[6];
    VGscissor scissor;
    float fontSize;
    float letterSpacing;
    float lineHeight;
    float fontBlur;
    int textAlign;
    int fontId;
};

struct VGtessPoint {
    float x, y;
    float dx, dy;
    float len;
    float dmx, dmy;
    unsigned char flags;
};

// Flattened paths and their geometry, reused by every draw. The vectors'
// sizes are the capacities; the counts say how much is in use.
struct VGtessCache {
    std::vector<VGtessPoint> points;
    int npoints = 0;
    std::vector<VGpath> paths;
    int npaths = 0;
    std::vector<VGvertex> verts;
    float bounds[4] = {};
};

struct GlyphAtlasDeleter {
    void operator()(GlyphAtlas* atlas) const { glyphatlas_delete(atlas); }
};

struct VGdrawContext {
    VGrendererTable params{};
    std::vector<float> commands;
    int ncommands = 0;
    float commandx = 0, commandy = 0;
    VGdrawState states[VG_MAX_STATES] = {};
    int nstates = 0;
    std::unique_ptr<VGtessCache> cache;
    float tessTol = 0, distTol = 0, fringeWidth = 0, devicePxRatio = 0;
    std::unique_ptr<GlyphAtlas, GlyphAtlasDeleter> fs;
    int fontImages[VG_MAX_FONT_IMAGES] = {};
    int fontImageIdx = 0;
};

inline VGdrawState& vg_state(VGdrawContext* ctx) {
    return ctx->states[ctx->nstates - 1];
}

void vg_set_paint_color(VGpaint* paint, VGcolor color);
// Average scale of a transform, the factor by which it stretches lengths.
float vg_average_scale(const float* t);
// Room for at least nverts vertices in the cache; null when memory runs out.
VGvertex* vg_alloc_temp_verts(VGdrawContext* ctx, int nverts);
// Switches to the next font image when the atlas is full; 1 when text can go on.
int vg_flush_text_texture(VGdrawContext* ctx);
