#pragma once

// The one view through which a canvas reaches a window: its frame timer runs
// the drawing cycle only when something is dirty, the Metal layer's frames
// come back through a presenter and DrawRect paints the newest with cairo.

#include "platform/ak/TextField.h"
#include "platform/ak/TimeoutSource.h"
#include "platform/ak/View.h"
#include "platform/mtl/MtlLayer.h"
#include "render/view/FrameStore.h"
#include "toolkit/IMouse.h"
#include "toolkit/IRECTList.h"
#include "toolkit/ISharedTypes.h"

#include <functional>
#include <memory>

namespace vx::ui {

class ICanvasMac;
class IPopupMenu;

class ICanvasView : public ak::View {
public:
    // Sized to the panel at the canvas's draw scale; starts the frame timer.
    explicit ICanvasView(ICanvasMac* canvas);
    ~ICanvasView() override;

    void SetTimer();
    void KillTimer();
    bool TimerRunning() const { return timer != nullptr; }
    // One tick of the timer: draws when the canvas reports dirty regions.
    void Render();

    // Queues a repaint of the drawable's pixels `r` (a presented frame's damage).
    void SetNeedsDisplayInPixels(const mtl::PixelRect& r);

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

    // ---- Input, in panel units ----
    void MouseDown(const ak::Event& event) override;
    void RightMouseDown(const ak::Event& event) override;
    void MouseUp(const ak::Event& event) override;
    void RightMouseUp(const ak::Event& event) override;
    void MouseDragged(const ak::Event& event) override;
    void RightMouseDragged(const ak::Event& event) override;
    void MouseMoved(const ak::Event& event) override;
    void MouseEntered(const ak::Event& event) override;
    void MouseExited(const ak::Event& event) override;
    void ScrollWheel(const ak::Event& event) override;
    void KeyDown(const ak::Event& event) override;
    void KeyUp(const ak::Event& event) override;
    bool DraggingEntered(const ak::FileDrag& drag) override { return !drag.paths.empty(); }
    bool PerformDrop(const ak::FileDrag& drag) override;
    // ---- Native text entry, menu and colour panel ----
    // Opens a field over the area (view points) unless one is open.
    void CreateTextEntry(int paramIdx, const IText& text, const char* initial, int length,
                         ak::Rect area);
    // Editing ended: the text goes to the canvas, the panel redraws, the field closes.
    void ControlTextDidEndEditing();
    // Closes an open field without committing.
    void EndUserInput();
    ak::TextField* TextEntryField() const { return textField.Get(); }
    // Runs the menu over the area until it closes; the model menu holding the
    // choice, its index set, or null.
    IPopupMenu* CreatePopupMenu(IPopupMenu& menu, ak::Rect area);
    // Shows the shared colour panel; every change reaches the function.
    bool PromptForColor(const IColor& color, std::function<void(const IColor&)> onPicked);
    void OnColorPicked(const IColor& color);
    // A control's target rectangle shows the tooltip of the control under the mouse.
    void RegisterToolTip(const IRECT& bounds);
    // The tooltip of the control under the mouse, "" when none.
    std::string ToolTipText() const;
    void ViewDidChangeEffectiveAppearance();
    // Shows the cursor shape of a toolkit cursor code.
    static void SetMouseCursor(int kind);
    double BackingScale() const { return backingScale; }

private:
    class Presenter;
    void ResizeDrawable();
    void PaintKeptFrame();
    // The pointer of an event in panel units, under the locked-cursor rule.
    IMouseInfo MouseInfoOf(const ak::Event& event, bool right);
    void PressOrDoubleClick(const ak::Event& event, bool right);
    void Drag(const ak::Event& event, bool right);
    void Key(const ak::Event& event, bool down);

    ICanvasMac* canvas;
    float prevX = 0.f, prevY = 0.f; // the last pointer position, panel units
    bool mouseOutDuringDrag = false;
    IRECTList dirtyRects;
    std::unique_ptr<ak::TimeoutSource> timer;
    std::shared_ptr<mtl::MetalLayer> layer = std::make_shared<mtl::MetalLayer>();
    std::shared_ptr<FrameStore> store = std::make_shared<FrameStore>();
    // Tells queued redraws whether this view still exists.
    std::shared_ptr<ICanvasView*> self;
    ak::Ref<ak::TextField> textField;
    std::function<void(const IColor&)> colorPickerFunc;
    double backingScale = 1;
    int painted = 0;
    bool removed = false;
};

} // namespace vx::ui
