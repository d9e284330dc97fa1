#pragma once

// Images live in the back end; the renderer hands out its ids (0 = none).

#include "render/vg/VGTypes.h"

struct VGdrawContext;

VGimageId vg_create_image_rgba(VGdrawContext* ctx, int w, int h, int imageFlags,
                               const unsigned char* data);
// `opaque`, when given, says whether every decoded pixel's alpha is full.
VGimageId vg_create_image_file(VGdrawContext* ctx, const char* filename, int imageFlags,
                               bool* opaque = nullptr);
VGimageId vg_create_image_mem(VGdrawContext* ctx, int imageFlags, const unsigned char* data,
                              int ndata, bool* opaque = nullptr);
void vg_update_image(VGdrawContext* ctx, VGimageId image, const unsigned char* data);
int vg_image_size(VGdrawContext* ctx, VGimageId image, int* w, int* h);
void vg_delete_image(VGdrawContext* ctx, VGimageId image);
