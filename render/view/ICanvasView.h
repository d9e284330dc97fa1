#pragma once

// The one view through which a canvas reaches a window: its frame timer runs
// the drawing cycle only when something is dirty, the Metal layer's frames
// come back through a presenter and DrawRect paints the newest with cairo.

#include "platform/ak/TimeoutSource.h"
#include "platform/ak/View.h"
#include "platform/mtl/MtlLayer.h"
#include "render/view/FrameStore.h"
#include "toolkit/IRECTList.h"

#include <memory>

namespace vx::ui {

class ICanvas;

class ICanvasView : public ak::View {
public:
    // Sized to the panel at the canvas's draw scale; starts the frame timer.
    explicit ICanvasView(ICanvas* canvas);
    ~ICanvasView() override;

    void SetTimer();
    void KillTimer();
    bool TimerRunning() const { return timer != nullptr; }
    // One tick of the timer: draws when the canvas reports dirty regions.
    void Render();

    std::shared_ptr<mtl::MetalLayer> Layer() const { return layer; }
    const FrameStore& Frames() const { return *store; }
    int FramesPainted() const { return painted; }

    // The owner detaching itself: the view serves no canvas from now on.
    void ForgetCanvas() { canvas = nullptr; }
    // Removal by the owner or by the window: a removal the owner did not
    // start asks the editor to close. Idempotent.
    void RemoveFromWindow();

    // ---- ak::View ----
    void DrawRect(cairo_t* cr, ak::Rect dirty) override;
    bool IsOpaque() const override { return canvas != nullptr; }
    bool IsFlipped() const override { return true; }
    bool AcceptsFirstMouse(const ak::Event*) override { return true; }
    bool AcceptsFirstResponder() const override { return true; }
    void ViewDidMoveToWindow() override;
    void FrameDidChange() override;

    // The backing scale changed: a new scale reaches the canvas, the
    // drawable is sized again either way.
    void BackingScaleChanged(double scale);
    double BackingScale() const { return backingScale; }

private:
    class Presenter;
    void ResizeDrawable();
    void PaintKeptFrame();

    ICanvas* canvas;
    IRECTList dirtyRects;
    std::unique_ptr<ak::TimeoutSource> timer;
    std::shared_ptr<mtl::MetalLayer> layer = std::make_shared<mtl::MetalLayer>();
    std::shared_ptr<FrameStore> store = std::make_shared<FrameStore>();
    // Tells queued redraws whether this view still exists.
    std::shared_ptr<ICanvasView*> self;
    double backingScale = 1;
    int painted = 0;
    bool removed = false;
};

} // namespace vx::ui
