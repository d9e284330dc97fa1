#include "toolkit/ICanvas.h"
#include "toolkit/ISpecialControls.h"

namespace vx::ui {

namespace {

constexpr int kResizeCursor = 5; // diagonal north-west/south-east

} // namespace

ICornerResizerControl::ICornerResizerControl(const IRECT& bounds, float size, const IColor& normal,
                                             const IColor& over, const IColor& drag)
    : IControl(bounds, -1, nullptr), size(size), normalColor(normal), overColor(over),
      dragColor(drag) {}

void ICornerResizerControl::OnMouseDown(float, float, const IMouseMod&) {
    if (graphics)
        graphics->SetResizingInProgress(true);
}

void ICornerResizerControl::OnMouseDoubleClick(float, float, const IMouseMod&) {
    if (graphics)
        graphics->Resize(static_cast<int>(initialBounds.W()), static_cast<int>(initialBounds.H()),
                         1.f, true);
}

void ICornerResizerControl::OnMouseOver(float x, float y, const IMouseMod& mod) {
    if (!over && graphics) {
        savedCursor = graphics->SetCursorShape(kResizeCursor);
        over = true;
    }
    IControl::OnMouseOver(x, y, mod);
}

void ICornerResizerControl::OnMouseOut() {
    if (over && graphics) {
        graphics->SetCursorShape(savedCursor);
        over = false;
    }
    IControl::OnMouseOut();
}

void ICornerResizerControl::OnRescale() {
    if (!graphics)
        return;
    const float s = size / graphics->GetDrawScale();
    const float w = float(graphics->Width()), h = float(graphics->Height());
    drawRect = targetRect = {w - s, h - s, w, h};
    mouseIsOver = false;
    OnResize();
}

void ICornerResizerControl::Draw(ICanvas& g) {
    const IColor& color =
        g.IsResizingInProgress() ? dragColor : (mouseIsOver ? overColor : normalColor);
    const IRECT& r = drawRect;
    g.FillTriangle(color, r.L, r.B, r.R, r.T, r.R, r.B, nullptr);
}

} // namespace vx::ui
