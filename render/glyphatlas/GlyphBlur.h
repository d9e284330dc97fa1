#pragma once

// In-place fixed-point blur of a w x h rectangle of an 8-bit image with the
// given row stride; its one-pixel border ends up 0.
void glyph_blur(unsigned char* dst, int w, int h, int stride, int blur);
