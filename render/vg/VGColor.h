#pragma once

#include "render/vg/VGTypes.h"

VGcolor vg_rgb(unsigned char r, unsigned char g, unsigned char b);
VGcolor vg_rgba(unsigned char r, unsigned char g, unsigned char b, unsigned char a);
VGcolor vg_rgb_f(float r, float g, float b);
VGcolor vg_rgba_f(float r, float g, float b, float a);
VGcolor vg_with_alpha(VGcolor c, unsigned char a);
VGcolor vg_with_alpha_f(VGcolor c, float a);
VGcolor vg_lerp_rgba(VGcolor c0, VGcolor c1, float u);
VGcolor vg_hsl(float h, float s, float l);
VGcolor vg_hsla(float h, float s, float l, unsigned char a);
