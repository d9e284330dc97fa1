#pragma once

// Entry points binding the vector renderer to the Metal layer: contexts,
// off-screen targets and the process-wide choice of where frames go.

#include "platform/mtl/MtlLayer.h"
#include "render/vg/VGContext.h"

#include <memory>

// Creation flags; the toolkit passes VGMTL_ANTIALIAS | VGMTL_TRIPLE_BUFFER.
enum VGmetalFlags : int {
    VGMTL_ANTIALIAS = 0x0001,
    VGMTL_STENCIL_STROKES = 0x0002,
    VGMTL_DEBUG = 0x0004,
    VGMTL_DOUBLE_BUFFER = 0x1000,
    VGMTL_TRIPLE_BUFFER = 0x2000,
};

struct MVGoffscreen {
    VGdrawContext* context;
    int image; // 0 when the texture could not be made
};

class MVGcontext;

VGdrawContext* vgmtl_create_context(std::shared_ptr<mtl::MetalLayer> layer, int flags);
void vgmtl_delete_context(VGdrawContext* ctx);
VGrendererTable* vgmtl_renderer_table(VGdrawContext* ctx);
MVGcontext* vgmtl_renderer(VGdrawContext* ctx);

// Null draws to the layer's next drawable. Deleting the bound target unbinds it.
void vgmtl_bind_offscreen(MVGoffscreen* target);
MVGoffscreen* vgmtl_bound_offscreen();
MVGoffscreen* vgmtl_create_offscreen(VGdrawContext* ctx, int width, int height, int imageFlags);
void vgmtl_delete_offscreen(MVGoffscreen* target);

void vgmtl_clear_with_color(VGdrawContext* ctx, VGcolor color);
// Presents `damage` of an image the size of the layer's drawables by copying
// those pixels 1:1 into the next drawable; the rest of the drawable is not
// presented. False (nothing done) when the sizes differ; true also when no
// drawable came, as a frame's flush then presents nothing either.
bool vgmtl_present_image(VGdrawContext* ctx, int image, mtl::PixelRect damage);
std::shared_ptr<mtl::CommandQueue> vgmtl_command_queue(VGdrawContext* ctx);
std::shared_ptr<mtl::Device> vgmtl_device(VGdrawContext* ctx);
int vgmtl_image_from_texture(VGdrawContext* ctx, std::shared_ptr<mtl::Texture> texture,
                             int imageFlags);
std::shared_ptr<mtl::Texture> vgmtl_texture_of_image(VGdrawContext* ctx, int image);
void vgmtl_read_pixels(VGdrawContext* ctx, int image, int x, int y, int width, int height,
                       void* data);
int vgmtl_target();
