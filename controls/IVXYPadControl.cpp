#include "controls/IVPadPlotControls.h"

#include "toolkit/ICanvas.h"

#include <algorithm>

namespace vx::ui {

IVXYPadControl::IVXYPadControl(const IRECT& bounds, std::initializer_list<int> params,
                               const char* label, const IVStyle& s, float radius, bool clipped,
                               bool crossHair)
    : IControl(bounds, params, nullptr), IVectorBase(s), handleRadius(radius),
      handleClippedToPad(clipped), drawCrossHair(crossHair) {
    AttachIControl(this);
    SetLabelStr(label);
    shape = EVShape::Ellipse;
}

void IVXYPadControl::Draw(ICanvas& g) {
    DrawBackground(g, drawRect);
    DrawLabel(g);
    if (style.drawFrame)
        g.DrawRect(GetColor(kFR), widgetBounds, &blend, style.frameThickness);
    DrawControlBody(g);
}

void IVXYPadControl::DrawControlBody(ICanvas& g) {
    const IRECT& w = widgetBounds;
    if (drawCrossHair) {
        g.DrawVerticalLine(GetColor(kSH), w, 0.5f, &blend, 1.f);
        g.DrawHorizontalLine(GetColor(kSH), w, 0.5f, &blend, 1.f);
    }
    const IRECT area = handleClippedToPad ? w : w.GetPadded(-handleRadius);
    const float cx = area.L + area.W() * static_cast<float>(GetValue(0));
    const float cy = area.B - area.H() * static_cast<float>(GetValue(1));
    const float r = handleRadius;
    if (handleClippedToPad)
        g.PathClipToRect(area.GetPadded(-r / 2.f));
    DrawPushableShape(g, shape, {cx - r, cy - r, cx + r, cy + r}, mouseDown, mouseIsOver, disabled);
    if (handleClippedToPad)
        g.PathClipToRect();
}

void IVXYPadControl::OnMouseDown(float x, float y, const IMouseMod& mod) {
    mouseDown = true;
    if (style.hideCursor && graphics)
        graphics->SetCursorHidden(true, false);
    OnMouseDrag(x, y, 0.f, 0.f, mod);
}

void IVXYPadControl::OnMouseUp(float, float, const IMouseMod&) {
    if (style.hideCursor && graphics)
        graphics->SetCursorHidden(false, true);
    mouseDown = false;
    SetDirty(true, -1);
}

void IVXYPadControl::OnMouseDrag(float x, float y, float, float, const IMouseMod&) {
    const IRECT& r = drawRect;
    // A pad without area has no position to measure.
    if (!(r.W() > 0.f) || !(r.H() > 0.f))
        return;
    x = std::clamp(x, r.L, r.R);
    y = std::clamp(y, r.T, r.B);
    SetValue((x - r.L) / r.W(), 0);
    SetValue(1.0 - (y - r.T) / r.H(), 1);
    SetDirty(true, -1);
}

void IVXYPadControl::OnResize() {
    targetRect = LayoutRects(drawRect, false);
    mouseIsOver = false;
    SetDirty(false, -1);
}

} // namespace vx::ui
