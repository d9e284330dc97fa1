#pragma once

// Fonts, text state, and text drawn, measured and wrapped through the glyph
// atlas at the scale at which it appears on the screen.

#include "render/vg/VGTypes.h"

struct VGdrawContext;

int vg_create_font(VGdrawContext* ctx, const char* name, const char* filename);
int vg_create_font_at_index(VGdrawContext* ctx, const char* name, const char* filename,
                            int fontIndex);
int vg_create_font_mem_plain(VGdrawContext* ctx, const char* name, unsigned char* data, int ndata,
                             int freeData);
int vg_create_font_mem(VGdrawContext* ctx, const char* name, unsigned char* data, int ndata,
                       int fontIndex, int freeData);
int vg_find_font(VGdrawContext* ctx, const char* name);
int vg_add_fallback_font_id(VGdrawContext* ctx, int baseFont, int fallbackFont);
int vg_add_fallback_font(VGdrawContext* ctx, const char* baseFont, const char* fallbackFont);

void vg_font_size(VGdrawContext* ctx, float size);
void vg_font_blur(VGdrawContext* ctx, float blur);
void vg_text_letter_spacing(VGdrawContext* ctx, float spacing);
void vg_text_line_height(VGdrawContext* ctx, float lineHeight);
void vg_text_align(VGdrawContext* ctx, int align);
void vg_font_face_id(VGdrawContext* ctx, int font);
void vg_font_face(VGdrawContext* ctx, const char* font);

float vg_text(VGdrawContext* ctx, float x, float y, const char* string, const char* end);
void vg_text_box(VGdrawContext* ctx, float x, float y, float breakRowWidth, const char* string,
                 const char* end);
float vg_text_bounds(VGdrawContext* ctx, float x, float y, const char* string, const char* end,
                     float* bounds);
void vg_text_box_bounds(VGdrawContext* ctx, float x, float y, float breakRowWidth,
                        const char* string, const char* end, float* bounds);
int vg_text_break_lines(VGdrawContext* ctx, const char* string, const char* end,
                        float breakRowWidth, VGwrapRow* rows, int maxRows);
int vg_text_glyph_positions(VGdrawContext* ctx, float x, float y, const char* string,
                            const char* end, VGglyphSpot* positions, int maxPositions);
void vg_text_metrics(VGdrawContext* ctx, float* ascender, float* descender, float* lineh);
