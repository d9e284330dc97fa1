// Frames, the back buffer and the draw context's lifetime.
#include "render/canvas/FontDataCache.h"
#include "render/canvas/ICanvasVG.h"
#include "render/vg/VG.h"

#include <algorithm>
#include <cmath>

namespace vx::ui {

ICanvasVG::ICanvasVG(ICanvasEditorDelegate& delegate, int width, int height, int fps,
                     float drawScale)
    : ICanvas(delegate, width, height, fps, drawScale) {
    const std::lock_guard lock(SharedFontDataCache().Mutex());
    ++SharedFontDataCache().users;
}

ICanvasVG::~ICanvasVG() {
    // A context left behind goes first, so nothing outlives it or the font bytes it reads.
    if (context)
        DestroyDrawContext();
    {
        const std::lock_guard lock(SharedFontDataCache().Mutex());
        if (--SharedFontDataCache().users == 0)
            SharedFontDataCache().Clear();
    }
    FlushImageDeletions();
    DeleteCachedBitmaps();
}

int ICanvasVG::BackBufferWidth() const {
    return static_cast<int>(float(width) * drawScale);
}
int ICanvasVG::BackBufferHeight() const {
    return static_cast<int>(float(height) * drawScale);
}

void ICanvasVG::BeginPanelFrame() {
    vg_begin_frame(context, float(BackBufferWidth()), float(BackBufferHeight()), screenScale);
}

void ICanvasVG::CreateDrawContext() {
    if (context)
        return;
    const std::shared_ptr<mtl::MetalLayer> layer = ContextLayer();
    // Each frame writes all it presents: the copy below clears or covers it.
    if (layer)
        layer->clearsDrawables = false;
    context = vgmtl_create_context(layer, VGMTL_ANTIALIAS | VGMTL_TRIPLE_BUFFER);
}

void ICanvasVG::DestroyDrawContext() {
    RemoveAllControls();
    DropLayerTargets();
    FlushImageDeletions();
    DeleteCachedBitmaps();
    if (backBuffer)
        vgmtl_delete_offscreen(backBuffer);
    backBuffer = nullptr;
    if (context)
        vgmtl_delete_context(context);
    context = nullptr;
}

void ICanvasVG::DeleteCachedBitmaps() {
    deviceLayers.clear(); // they refer to the cached images
    const std::lock_guard lock(bitmaps.Mutex());
    bitmaps.Clear();
}

void ICanvasVG::RebuildBackBuffer() {
    BeginContextUse();
    if (backBuffer)
        vgmtl_delete_offscreen(backBuffer);
    backBuffer = nullptr;
    if (context)
        backBuffer = vgmtl_create_offscreen(
            context, static_cast<int>(float(BackBufferWidth()) * screenScale),
            static_cast<int>(float(BackBufferHeight()) * screenScale), 0);
    EndContextUse();
}

void ICanvasVG::StartDrawFrame() {
    inFrame = true;
    drawnArea = IRECT();
    ICanvas::StartDrawFrame();
    // Without a usable back buffer the frame draws and presents nothing; the
    // next rebuild tries again.
    if (!context || !backBuffer || backBuffer->image == 0)
        return;
    PrepareDeviceLayers();
    vgmtl_bind_offscreen(backBuffer);
    BeginPanelFrame();
}

// Every control draws within its clip, so those clips hold all a frame of
// controls changed.
void ICanvasVG::AfterControlDrawn(const IRECT& clip) {
    drawnArea = drawnArea.Union(clip);
}

// The back buffer's device pixels the frame's controls drew, a pixel to
// spare for the scissor's fade; all of it for a frame that drew no control
// (its drawing had no clip to go by).
mtl::PixelRect ICanvasVG::FrameDamage() const {
    const IRECT& area = drawnArea;
    const int w = static_cast<int>(float(BackBufferWidth()) * screenScale);
    const int h = static_cast<int>(float(BackBufferHeight()) * screenScale);
    if (area.Empty())
        return {0, 0, w, h};
    const float s = GetTotalScale();
    const int x0 = std::max(0, static_cast<int>(std::floor(area.L * s)) - 1);
    const int y0 = std::max(0, static_cast<int>(std::floor(area.T * s)) - 1);
    const int x1 = std::min(w, static_cast<int>(std::ceil(area.R * s)) + 1);
    const int y1 = std::min(h, static_cast<int>(std::ceil(area.B * s)) + 1);
    return {x0, y0, std::max(0, x1 - x0), std::max(0, y1 - y0)};
}

void ICanvasVG::FinishDrawFrame() {
    if (context && backBuffer && backBuffer->image != 0) {
        vg_end_frame(context);
        vgmtl_bind_offscreen(nullptr);
        if (!vgmtl_present_image(context, backBuffer->image, FrameDamage()))
            DrawBackBufferScaled();
    } else if (context) {
        vg_cancel_frame(context); // what was drawn had no target
    }
    inFrame = false;
    FlushImageDeletions();
}

// A drawable of another size than the back buffer: the back buffer is drawn
// into it whole, over a cleared drawable.
void ICanvasVG::DrawBackBufferScaled() {
    vgmtl_clear_with_color(context, VGcolor{{{0, 0, 0, 0}}});
    BeginPanelFrame();
    const float w = float(BackBufferWidth()), h = float(BackBufferHeight());
    const VGpaint paint = vg_image_pattern(context, 0.f, 0.f, w, h, 0.f, backBuffer->image, 1.f);
    vg_save(context);
    vg_reset_transform(context);
    vg_begin_path(context);
    vg_rect(context, 0.f, 0.f, w, h);
    vg_fill_paint(context, paint);
    vg_fill(context);
    vg_restore(context);
    vg_end_frame(context);
}

void ICanvasVG::QueueImageDeletion(MVGoffscreen* target) {
    if (!target)
        return;
    if (!inFrame) {
        vgmtl_delete_offscreen(target);
        return;
    }
    const std::lock_guard lock(deletionMutex);
    deletionQueue.push_back(target);
}

void ICanvasVG::FlushImageDeletions() {
    const std::lock_guard lock(deletionMutex);
    for (MVGoffscreen* target : deletionQueue)
        vgmtl_delete_offscreen(target);
    deletionQueue.clear();
}

int ICanvasVG::PendingDeletions() {
    const std::lock_guard lock(deletionMutex);
    return static_cast<int>(deletionQueue.size());
}

} // namespace vx::ui
