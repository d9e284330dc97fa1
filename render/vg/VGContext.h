#pragma once

// Context, frame and state stack of the vector renderer.

#include "render/vg/VGRendererTable.h"

struct VGdrawContext;

VGdrawContext* vg_create_context(const VGrendererTable* table);
void vg_delete_context(VGdrawContext* ctx);

void vg_begin_frame(VGdrawContext* ctx, float windowWidth, float windowHeight,
                    float devicePixelRatio);
void vg_cancel_frame(VGdrawContext* ctx);
void vg_end_frame(VGdrawContext* ctx);

void vg_save(VGdrawContext* ctx);
void vg_restore(VGdrawContext* ctx);
void vg_reset(VGdrawContext* ctx);

void vg_set_shape_antialias(VGdrawContext* ctx, int enabled);
void vg_set_stroke_width(VGdrawContext* ctx, float width);
void vg_set_miter_limit(VGdrawContext* ctx, float limit);
void vg_set_line_cap(VGdrawContext* ctx, int cap);
void vg_set_line_join(VGdrawContext* ctx, int join);
void vg_set_global_alpha(VGdrawContext* ctx, float alpha);

void vg_composite_operation(VGdrawContext* ctx, int op);
void vg_composite_blend_func(VGdrawContext* ctx, int sfactor, int dfactor);
void vg_composite_blend_func_separate(VGdrawContext* ctx, int srcRGB, int dstRGB, int srcAlpha,
                                      int dstAlpha);
