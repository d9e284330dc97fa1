#include "controls/IVKnobControl.h"

#include "framework/IParam.h"
#include "toolkit/ICanvas.h"

#include <algorithm>

namespace vx::ui {

namespace {

// The glow: the value colour darkened and half transparent.
IColor GlowOf(const IColor& c) {
    return {127, std::max(c.R - 127, 0), std::max(c.G - 127, 0), std::max(c.B - 127, 0)};
}

} // namespace

IVKnobControl::IVKnobControl(const IRECT& bounds, int paramIdx, const char* label, const IVStyle& s,
                             bool valueIsEditable, float a1, float a2, float anchor, double gear,
                             float track, bool valueInWidget, EDirection dir)
    : IKnobControlBase(bounds, paramIdx, nullptr, dir, gear), IVectorBase(s, false, valueInWidget),
      startAngle(a1), endAngle(a2), anchorAngle(anchor) {
    SetUp(s, valueIsEditable, track, valueInWidget);
    SetLabelStr(label);
}

IVKnobControl::IVKnobControl(const IRECT& bounds, IActionFunction action, const char* label,
                             const IVStyle& s, bool valueIsEditable, float a1, float a2,
                             float anchor, double gear, float track, bool valueInWidget,
                             EDirection dir)
    : IKnobControlBase(bounds, -1, std::move(action), dir, gear),
      IVectorBase(s, false, valueInWidget), startAngle(a1), endAngle(a2), anchorAngle(anchor) {
    SetUp(s, valueIsEditable, track, valueInWidget);
    SetLabelStr(label);
}

void IVKnobControl::SetUp(const IVStyle& s, bool valueIsEditable, float track, bool) {
    AttachIControl(this);
    shape = EVShape::Ellipse;
    trackSize = track;
    hideCursorOnDrag = s.hideCursor;
    text = s.valueText;
    textEntryDisabled = !valueIsEditable;
}

void IVKnobControl::Draw(ICanvas& g) {
    DrawBackground(g, drawRect);
    DrawLabel(g);
    DrawControlBody(g);
    DrawValue(g, valueMouseOver);
}

float IVKnobControl::ArcRadius() const {
    const float d = std::min(widgetBounds.W(), widgetBounds.H());
    return (d / 2.f - trackSize / 2.f) * kRadiusFraction;
}

void IVKnobControl::DrawControlBody(ICanvas& g) {
    const float cx = widgetBounds.MW(), cy = widgetBounds.MH();
    const float r = ArcRadius();
    const float a = startAngle + (endAngle - startAngle) * static_cast<float>(GetValue(0));
    g.DrawArc(GetColor(kX2), cx, cy, r, std::min(anchorAngle, kBackgroundEndAngle),
              std::max(anchorAngle, kBackgroundEndAngle), &blend, kArcThickness);
    DrawIndicatorTrack(g, a, cx, cy, r);
}

void IVKnobControl::DrawIndicatorTrack(ICanvas& g, float angle, float cx, float cy, float radius) {
    if (!(trackSize > 0.f))
        return;
    trackSize = kArcThickness;
    const float a1 = std::min(angle, anchorAngle), a2 = std::max(angle, anchorAngle);
    g.DrawArc(GlowOf(GetColor(kX1)), cx, cy, radius, a1, a2, &blend, kGlowThickness);
    g.DrawArc(GetColor(kX1), cx, cy, radius, a1, a2, &blend, trackSize);
}

void IVKnobControl::DrawPointer(ICanvas& g, float angle, float cx, float cy, float radius) {
    g.DrawRadialLine(GetColor(kFR), cx, cy, angle, radius * innerPointerFrac,
                     radius * outerPointerFrac, &blend, pointerThickness);
}

IRECT IVKnobControl::KnobDragArea() const {
    const IRECT& w = widgetBounds;
    float dw = w.W(), dh = w.W() / 2.f;
    if (w.W() > w.H()) {
        dw = w.H() / 2.f;
        dh = w.H();
    }
    dw = std::max(dw, 1.f);
    if (!(dh > 0.f))
        dh = dw;
    return {w.MW() - dw / 2.f, w.MH() - dh / 2.f, w.MW() + dw / 2.f, w.MH() + dh / 2.f};
}

void IVKnobControl::OnMouseDown(float x, float y, const IMouseMod& mod) {
    if (ValueClicked(x, y))
        OpenValueEntryInRect(valueBounds);
    else
        IKnobControlBase::OnMouseDown(x, y, mod);
    SetDirty(false);
}

void IVKnobControl::OnMouseUp(float x, float y, const IMouseMod& mod) {
    IKnobControlBase::OnMouseUp(x, y, mod);
    SetDirty(true);
}

void IVKnobControl::OnMouseDoubleClick(float x, float y, const IMouseMod&) {
    ResetValueToDefault(ValueSlotAtPoint(x, y));
}

void IVKnobControl::OnMouseOver(float x, float y, const IMouseMod& mod) {
    if (style.showValue && !textEntryDisabled)
        valueMouseOver = valueBounds.ContainsPoint(x, y);
    IControl::OnMouseOver(x, y, mod);
    SetDirty(false);
}

void IVKnobControl::OnMouseOut() {
    valueMouseOver = false;
    IControl::OnMouseOut();
}

bool IVKnobControl::ContainsPoint(float x, float y) const {
    if (!textEntryDisabled && valueBounds.ContainsPoint(x, y))
        return true;
    return widgetBounds.ContainsPoint(x, y);
}

void IVKnobControl::OnResize() {
    targetRect = LayoutRects(drawRect, false);
    mouseIsOver = false;
    SetDirty(false);
}

void IVKnobControl::OnInit() {
    const IParam* param = GetParam(0);
    if (!param)
        return;
    ParamDisplayTextWithUnit(param, valueStr);
    if (labelStr.GetLength() == 0)
        SetLabelStr(param->Name());
}

void IVKnobControl::SetDirty(bool triggerAction, int) {
    IControl::SetDirty(triggerAction, -1);
    if (const IParam* param = GetParam(0))
        ParamDisplayTextWithUnit(param, valueStr);
}

} // namespace vx::ui
