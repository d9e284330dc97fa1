#pragma once

// The current path: commands recorded in device space as they are appended,
// flattened and expanded into anti-aliased geometry by vg_fill and vg_stroke.

struct VGdrawContext;

void vg_begin_path(VGdrawContext* ctx);
void vg_move_to(VGdrawContext* ctx, float x, float y);
void vg_line_to(VGdrawContext* ctx, float x, float y);
void vg_bezier_to(VGdrawContext* ctx, float c1x, float c1y, float c2x, float c2y, float x, float y);
void vg_quad_to(VGdrawContext* ctx, float cx, float cy, float x, float y);
void vg_arc_to(VGdrawContext* ctx, float x1, float y1, float x2, float y2, float radius);
void vg_arc(VGdrawContext* ctx, float cx, float cy, float r, float a0, float a1, int dir);
void vg_close_path(VGdrawContext* ctx);
void vg_path_winding(VGdrawContext* ctx, int dir);
void vg_rect(VGdrawContext* ctx, float x, float y, float w, float h);
void vg_rounded_rect(VGdrawContext* ctx, float x, float y, float w, float h, float r);
void vg_rounded_rect_corners(VGdrawContext* ctx, float x, float y, float w, float h,
                             float radTopLeft, float radTopRight, float radBottomRight,
                             float radBottomLeft);
void vg_ellipse(VGdrawContext* ctx, float cx, float cy, float rx, float ry);
void vg_circle(VGdrawContext* ctx, float cx, float cy, float r);

void vg_fill(VGdrawContext* ctx);
void vg_stroke(VGdrawContext* ctx);

// Prints the flattened paths and their vertices to standard output.
void vg_debug_dump_paths(VGdrawContext* ctx);
