#pragma once

// Helpers shared by the renderer's text files.

#include "render/vg/VGContextInternal.h"

// True when the state names a loaded font; any other id counts as "no font".
bool vg_has_font(VGdrawContext* ctx);
// Device pixels per user unit for text: the transform's average scale,
// quantised to hundredths and limited to 0.01..4, times the device pixel ratio.
float vg_text_scale(VGdrawContext* ctx);
// Copies the state's text settings, scaled, into the atlas's top state.
void vg_apply_text_state(VGdrawContext* ctx, float scale);
// Uploads the atlas region that changed into the current font image.
void vg_upload_font_atlas(VGdrawContext* ctx);
// The string's end, with a null string read as empty.
void vg_text_range(const char** string, const char** end);
// True when the glyph just iterated is missing although it could be placed:
// the atlas is full, and a new font image may make room.
bool vg_glyph_needs_room(const GlyphAtlasTextIter& iter);
// Steps a measuring iterator; `before` holds its state before the step, so a
// glyph that found the atlas full is taken again once a new font image made
// room. False when the text is done.
bool vg_measure_next(VGdrawContext* ctx, GlyphAtlasTextIter* iter, GlyphAtlasTextIter* before,
                     GlyphAtlasQuad* quad);
