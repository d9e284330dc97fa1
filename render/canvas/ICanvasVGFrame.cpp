// Frames, the back buffer and the draw context's lifetime.
#include "render/canvas/FontDataCache.h"
#include "render/canvas/ICanvasVG.h"
#include "render/vg/VG.h"

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
    context = vgmtl_create_context(ContextLayer(), VGMTL_ANTIALIAS | VGMTL_TRIPLE_BUFFER);
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
    ICanvas::StartDrawFrame();
    // Without a usable back buffer the frame draws and presents nothing; the
    // next rebuild tries again.
    if (!context || !backBuffer || backBuffer->image == 0)
        return;
    vgmtl_bind_offscreen(backBuffer);
    BeginPanelFrame();
}

void ICanvasVG::FinishDrawFrame() {
    if (context && backBuffer && backBuffer->image != 0) {
        vg_end_frame(context);
        vgmtl_bind_offscreen(nullptr);
        BeginPanelFrame();
        const float w = float(BackBufferWidth()), h = float(BackBufferHeight());
        const VGpaint paint =
            vg_image_pattern(context, 0.f, 0.f, w, h, 0.f, backBuffer->image, 1.f);
        vg_save(context);
        vg_reset_transform(context);
        vg_begin_path(context);
        vg_rect(context, 0.f, 0.f, w, h);
        vg_fill_paint(context, paint);
        vg_fill(context);
        vg_restore(context);
        vg_end_frame(context);
    } else if (context) {
        vg_cancel_frame(context); // what was drawn had no target
    }
    inFrame = false;
    FlushImageDeletions();
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
