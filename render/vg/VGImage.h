#pragma once

// Images live in the back end; the renderer hands out its ids (0 = none).

#include "render/vg/VGTypes.h"

struct VGdrawContext;

VGimageId vg_create_image_rgba(VGdrawContext* ctx, int w, int h, int imageFlags,
                               const unsigned char* data);
// `opaque`, when given, says whether every decoded pixel's alpha is full.
VGimageId vg_create_image_file(VGdrawContext* ctx, const char* filename, int imageFlags,
                               bool* opaque = nullptr);
// Starts decoding an image file on a thread of its own, for a program that
// knows which large image it draws first while its start waits on other
// things; the next vg_create_image_file of that file takes the pixels
// (waiting for them if need be) instead of decoding it again.
void vg_prefetch_image_file(const char* filename);
VGimageId vg_create_image_mem(VGdrawContext* ctx, int imageFlags, const unsigned char* data,
                              int ndata, bool* opaque = nullptr);
void vg_update_image(VGdrawContext* ctx, VGimageId image, const unsigned char* data);
int vg_image_size(VGdrawContext* ctx, VGimageId image, int* w, int* h);
void vg_delete_image(VGdrawContext* ctx, VGimageId image);
