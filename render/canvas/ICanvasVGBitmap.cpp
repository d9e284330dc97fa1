// The back end's bitmaps: renderer images and off-screen targets.
#include "render/canvas/ICanvasVG.h"
#include "render/vg/VG.h"

namespace vx::ui {

namespace {

int ImageWidth(VGdrawContext* ctx, int image) {
    int w = 0, h = 0;
    if (ctx && image > 0)
        vg_image_size(ctx, image, &w, &h);
    return w;
}

int ImageHeight(VGdrawContext* ctx, int image) {
    int w = 0, h = 0;
    if (ctx && image > 0)
        vg_image_size(ctx, image, &w, &h);
    return h;
}

} // namespace

ICanvasVG::Bitmap::Bitmap(VGdrawContext* ctx, int id, float scale, float drawScale)
    : APIBitmap(ImageWidth(ctx, id), ImageHeight(ctx, id), scale, drawScale), image(id),
      context(ctx) {}

ICanvasVG::Bitmap::Bitmap(ICanvasVG* canvas, int w, int h, float scale, float drawScale)
    : APIBitmap(w, h, scale, drawScale), owner(canvas), context(canvas->context) {
    offscreen = vgmtl_create_offscreen(context, w, h, 0);
    if (!offscreen)
        return;
    image = offscreen->image;
    vgmtl_bind_offscreen(offscreen);
    vgmtl_clear_with_color(context, vg_rgba_f(0.f, 0.f, 0.f, 0.f));
    vg_begin_frame(context, float(w), float(h), 1.f);
    vg_end_frame(context);
}

ICanvasVG::Bitmap::Bitmap(VGdrawContext* ctx, int w, int h, const unsigned char* rgba, float scale,
                          float drawScale)
    : APIBitmap(w, h, scale, drawScale), context(ctx) {
    image = ctx ? vg_create_image_rgba(ctx, w, h, 0, rgba) : 0;
}

ICanvasVG::Bitmap::~Bitmap() {
    if (shared)
        return;
    if (offscreen)
        owner->QueueImageDeletion(offscreen);
    else if (context && image > 0)
        vg_delete_image(context, image);
}

} // namespace vx::ui
