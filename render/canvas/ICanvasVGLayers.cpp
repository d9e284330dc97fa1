// Off-screen layers: making targets, switching between them, reading them
// back and compositing a shadow behind a layer.
#include "render/canvas/ICanvasVG.h"
#include "render/vg/VG.h"

#include <algorithm>

namespace vx::ui {

namespace {

ICanvasVG::Bitmap* LayerBitmap(const IOffscreenLayer* layer) {
    return layer ? dynamic_cast<ICanvasVG::Bitmap*>(layer->bitmap.get()) : nullptr;
}

// Lends the layer's bitmap to a layer record the canvas can own while it is
// the target; Return gives it back.
ILayerPtr BorrowLayer(IOffscreenLayer& layer) {
    auto borrowed = std::make_unique<IOffscreenLayer>();
    borrowed->bitmap = std::move(layer.bitmap);
    borrowed->bounds = layer.bounds;
    return borrowed;
}

void ReturnLayer(IOffscreenLayer& layer, ILayerPtr borrowed) {
    if (borrowed)
        layer.bitmap = std::move(borrowed->bitmap);
}

} // namespace

void ICanvasVG::BeginFrameOnCurrentTarget() {
    const IOffscreenLayer* top = TopLayer();
    if (const Bitmap* target = LayerBitmap(top); target && target->offscreen) {
        vgmtl_bind_offscreen(target->offscreen);
        vg_begin_frame(context, float(int((top->bounds.R - top->bounds.L) * drawScale)),
                       float(int((top->bounds.B - top->bounds.T) * drawScale)), screenScale);
    } else if (inFrame && backBuffer && backBuffer->image != 0) {
        vgmtl_bind_offscreen(backBuffer);
        BeginPanelFrame();
    } else {
        vgmtl_bind_offscreen(nullptr); // outside a frame nothing is open on the panel
    }
}

std::unique_ptr<APIBitmap> ICanvasVG::CreateOffscreenBitmap(int w, int h, bool, float scale,
                                                            float drawScale) {
    if (!context || w <= 0 || h <= 0)
        return nullptr;
    const bool resume = inFrame || TopLayer();
    if (resume)
        vg_end_frame(context);
    auto bitmap = std::make_unique<Bitmap>(this, w, h, scale, drawScale);
    if (resume)
        BeginFrameOnCurrentTarget();
    if (!bitmap->offscreen || bitmap->image <= 0)
        return nullptr;
    return bitmap;
}

void ICanvasVG::RetargetToTopLayer() {
    if (!context)
        return;
    vg_end_frame(context);
    BeginFrameOnCurrentTarget();
}

void ICanvasVG::ReadLayerPixels(const IOffscreenLayer& layer, VxHeapBuf& out) {
    const Bitmap* bitmap = LayerBitmap(&layer);
    if (!context || !bitmap || bitmap->image <= 0)
        return;
    const int size = bitmap->width * bitmap->height * 4;
    out.Resize(size);
    if (out.GetSize() != size)
        return;
    // What was drawn so far goes to the targets before the read.
    if (inFrame || TopLayer()) {
        vg_end_frame(context);
        BeginFrameOnCurrentTarget();
    }
    vgmtl_read_pixels(context, bitmap->image, 0, 0, bitmap->width, bitmap->height, out.Get());
}

void ICanvasVG::EraseLayer(IOffscreenLayer& layer) {
    PushLayerTarget(BorrowLayer(layer));
    vg_begin_path(context);
    vg_rect(context, layer.bounds.L, layer.bounds.T, layer.bounds.W(), layer.bounds.H());
    vg_fill_color(context, vg_rgba_f(0.f, 0.f, 0.f, 0.f));
    vg_composite_blend_func(context, VG_ZERO, VG_ZERO);
    vg_fill(context);
    vg_composite_operation(context, 0);
    vg_begin_path(context);
    ReturnLayer(layer, PopLayerTarget());
}

void ICanvasVG::ApplyLayerShadow(IOffscreenLayer& layer, const VxHeapBuf& mask,
                                 const ILayerShadow& shadow) {
    const Bitmap* target = LayerBitmap(&layer);
    if (!context || !target)
        return;
    const int w = target->width, h = target->height;
    if (mask.GetSize() < w * h * 4)
        return;
    if (!shadow.drawForeground)
        EraseLayer(layer);
    auto maskBitmap =
        std::make_unique<Bitmap>(context, w, h, static_cast<const unsigned char*>(mask.Get()),
                                 target->scale, target->drawScale);
    auto coloured = CreateOffscreenBitmap(w, h, false, target->scale, target->drawScale);
    if (!coloured || maskBitmap->image <= 0)
        return;
    const IRECT bounds = layer.bounds;
    const IBitmapHandle maskHandle(maskBitmap.get(), "", 1, false);
    const IBitmapHandle shadowHandle(coloured.get(), "", 1, false);

    PathMatrixPush();
    PushLayerTarget(BorrowLayer(layer));
    auto temporary = std::make_unique<IOffscreenLayer>();
    temporary->bitmap = std::move(coloured);
    temporary->bounds = bounds;
    PushLayerTarget(std::move(temporary));
    DrawBitmapRegion(maskHandle, bounds, 0, 0, nullptr);
    // The pattern colours the mask: source times destination alpha.
    PathAddRect(bounds);
    PathMatrixTranslate(-shadow.xOffset, -shadow.yOffset);
    const IBlendSetting colourIn{1, 1.f};
    PathFillCurrent(shadow.pattern, IFillStyle(), &colourIn);
    ILayerPtr done = PopLayerTarget();
    // Behind the layer's own content.
    const IBlendSetting behind{4, std::clamp(shadow.opacity, 0.f, 1.f)};
    DrawBitmapRegion(shadowHandle, bounds.GetTranslated(shadow.xOffset, shadow.yOffset), 0, 0,
                     &behind);
    ReturnLayer(layer, PopLayerTarget());
    PathMatrixPop();
}

} // namespace vx::ui
