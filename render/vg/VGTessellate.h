#pragma once

// Steps between the command buffer and the back end's paths, shared by the
// renderer's path files.

#include "render/vg/VGContextInternal.h"

void vg_append_commands(VGdrawContext* ctx, const float* vals, int nvals);
void vg_flatten_paths(VGdrawContext* ctx);
void vg_add_point(VGdrawContext* ctx, float x, float y, int flags);
void vg_tessellate_bezier(VGdrawContext* ctx, float x1, float y1, float x2, float y2, float x3,
                          float y3, float x4, float y4, int level, int flags);
void vg_calculate_joins(VGdrawContext* ctx, float w, int lineJoin, float miterLimit);
// Both return 0 when no vertex space could be had (the paths then carry none).
int vg_expand_fill(VGdrawContext* ctx, float w, int lineJoin, float miterLimit);
int vg_expand_stroke(VGdrawContext* ctx, float w, float fringe, int lineCap, int lineJoin,
                     float miterLimit);

// Vertex emitters of strokes and fringes; each returns the next free vertex.
VGvertex* vg_join_vertices(VGvertex* dst, const VGtessPoint& p0, const VGtessPoint& p1, float lw,
                           float rw, float lu, float ru);
VGvertex* vg_round_join(VGvertex* dst, const VGtessPoint& p0, const VGtessPoint& p1, float w,
                        float u0, float u1, int ncap);
VGvertex* vg_butt_cap_start(VGvertex* dst, const VGtessPoint& p, float dx, float dy, float w,
                            float offset, float aa, float u0, float u1);
VGvertex* vg_butt_cap_end(VGvertex* dst, const VGtessPoint& p, float dx, float dy, float w,
                          float offset, float aa, float u0, float u1);
VGvertex* vg_round_cap_start(VGvertex* dst, const VGtessPoint& p, float dx, float dy, float w,
                             int ncap, float u0, float u1);
VGvertex* vg_round_cap_end(VGvertex* dst, const VGtessPoint& p, float dx, float dy, float w,
                           int ncap, float u0, float u1);

inline VGvertex* vg_vset(VGvertex* v, float x, float y, float u, float t) {
    *v = VGvertex{x, y, u, t};
    return v + 1;
}

inline bool vg_pt_equals(float x1, float y1, float x2, float y2, float tol) {
    const float dx = x2 - x1, dy = y2 - y1;
    return dx * dx + dy * dy < tol * tol;
}

// Normalises (x, y) in place when it is not too short; returns its length.
float vg_normalize(float* x, float* y);

// Where an empty closed path's closing vertices go: its own recorded point,
// or (0, 0) when it has none.
void vg_empty_path_anchor(const VGtessCache& cache, int pathIndex, float* x, float* y);

// Closes a loop of strip vertices that began at `first` by repeating its first
// two vertices (at the anchor above when the loop is empty); returns the new end.
VGvertex* vg_close_loop(VGvertex* dst, const VGvertex* first, const VGtessCache& cache,
                        int pathIndex, float u0, float u1);
