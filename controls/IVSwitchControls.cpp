#include "controls/IVSwitchControls.h"

#include "framework/IParam.h"
#include "toolkit/ICanvas.h"

#include <algorithm>
#include <cmath>

namespace vx::ui {

IVSwitchControl::IVSwitchControl(const IRECT& bounds, int paramIdx, const char* label,
                                 const IVStyle& s, bool valueInButton)
    : ISwitchControlBase(bounds, paramIdx, splashClickAction, 2),
      IVectorBase(s, false, valueInButton) {
    AttachIControl(this);
    SetLabelStr(label);
    text = style.valueText;
    if (valueInButton)
        style.valueText.vAlign = text.vAlign = 1;
}

IVSwitchControl::IVSwitchControl(const IRECT& bounds, IActionFunction action, const char* label,
                                 const IVStyle& s, int numStates, bool valueInButton)
    : ISwitchControlBase(bounds, -1, std::move(action), numStates),
      IVectorBase(s, false, valueInButton) {
    AttachIControl(this);
    SetLabelStr(label);
    text = style.valueText;
    if (valueInButton)
        style.valueText.vAlign = text.vAlign = 1;
}

void IVSwitchControl::Draw(ICanvas& g) {
    DrawBackground(g, drawRect);
    DrawLabel(g);
    DrawControlBody(g);
    DrawValue(g, false);
}

void IVSwitchControl::DrawControlBody(ICanvas& g) {
    DrawPushableShape(g, shape, widgetBounds, mouseDown, mouseIsOver, disabled);
}

void IVSwitchControl::OnResize() {
    targetRect = LayoutRects(drawRect, true);
    mouseIsOver = false;
    SetDirty(false);
}

bool IVSwitchControl::ContainsPoint(float x, float y) const {
    return widgetBounds.ContainsPoint(x, y);
}

void IVSwitchControl::RefreshValueStr() {
    if (const IParam* param = GetParam(0))
        param->FormatDisplay(param->CurrentValue(), false, valueStr, true);
}

void IVSwitchControl::SetDirty(bool triggerAction, int) {
    IControl::SetDirty(triggerAction, -1);
    RefreshValueStr();
}

void IVSwitchControl::OnMouseOut() {
    IControl::OnMouseOut();
    SetDirty(false);
}

void IVSwitchControl::OnInit() {
    ISwitchControlBase::OnInit();
    const IParam* param = GetParam(0);
    if (!param)
        return;
    ParamDisplayTextWithUnit(param, valueStr);
    if (labelStr.GetLength() == 0)
        SetLabelStr(param->Name());
}

IVToggleControl::IVToggleControl(const IRECT& bounds, int paramIdx, const char* label,
                                 const IVStyle& s, const char* off, const char* on)
    : IVSwitchControl(bounds, paramIdx, label, s, true) {
    offText.SetBounded(off ? off : "");
    onText.SetBounded(on ? on : "");
}

IVToggleControl::IVToggleControl(const IRECT& bounds, IActionFunction action, const char* label,
                                 const IVStyle& s, const char* off, const char* on,
                                 bool initialState)
    : IVSwitchControl(bounds, std::move(action), label, s, 2, true) {
    offText.SetBounded(off ? off : "");
    onText.SetBounded(on ? on : "");
    SetValue(initialState ? 1.0 : 0.0);
}

void IVToggleControl::DrawControlBody(ICanvas& g) {
    DrawPushableShape(g, shape, widgetBounds, IsOn(), mouseIsOver, disabled);
}

void IVToggleControl::DrawValue(ICanvas& g, bool mouseOver) {
    if (mouseOver)
        g.FillRect(GetColor(kHL), valueBounds, &blend);
    const VxString& shown = IsOn() ? onText : offText;
    g.DrawText(style.valueText, shown.Get(), valueBounds, &blend);
}

IVSlideSwitchControl::IVSlideSwitchControl(const IRECT& bounds, int paramIdx, const char* label,
                                           const IVStyle& s, bool valueInButton, EDirection dir)
    : IVSwitchControl(bounds, paramIdx, label, s, valueInButton), direction(dir) {
    SetActionFunction(SlideAction);
}

IVSlideSwitchControl::IVSlideSwitchControl(const IRECT& bounds, IActionFunction action,
                                           const char* label, const IVStyle& s, bool valueInButton,
                                           EDirection dir, int numStates, int initialState)
    : IVSwitchControl(bounds, nullptr, label, s, numStates, valueInButton), direction(dir) {
    SetValue(static_cast<double>(initialState));
    SetActionFunction(SlideAction);
    SetAnimationEndActionFunction(std::move(action));
}

void IVSlideSwitchControl::SlideAction(IControl* caller) {
    auto* self = static_cast<IVSlideSwitchControl*>(caller);
    self->SetAnimation([](IControl* c) { static_cast<IVSlideSwitchControl*>(c)->SlideStep(); });
    self->StartAnimation(kSlideMs);
}

void IVSlideSwitchControl::SlideStep() {
    const float t = static_cast<float>(AnimationFraction());
    handleRect = {
        startRect.L + (endRect.L - startRect.L) * t, startRect.T + (endRect.T - startRect.T) * t,
        startRect.R + (endRect.R - startRect.R) * t, startRect.B + (endRect.B - startRect.B) * t};
    if (valueInWidget)
        valueBounds = handleRect;
    if (t > 1.f)
        OnAnimationFinished();
}

void IVSlideSwitchControl::Draw(ICanvas& g) {
    DrawBackground(g, drawRect);
    DrawControlBody(g);
    DrawLabel(g);
    if (!GetAnimationFunction())
        DrawValue(g, false);
}

void IVSlideSwitchControl::DrawControlBody(ICanvas& g) {
    DrawTrack(g, widgetBounds);
    DrawHandle(g, handleRect);
}

void IVSlideSwitchControl::DrawTrack(ICanvas& g, const IRECT& r) {
    const float radius = std::min(handleRect.W(), handleRect.H()) / 2.f * style.roundness;
    g.FillRoundRect(GetColor(kSH), r, radius, nullptr);
}

void IVSlideSwitchControl::DrawHandle(ICanvas& g, const IRECT& r) {
    DrawPushableShape(g, shape, r, mouseDown, mouseIsOver, disabled);
}

void IVSlideSwitchControl::OnResize() {
    IVSwitchControl::OnResize();
    UpdateRects();
}

void IVSlideSwitchControl::SetDirty(bool triggerAction, int) {
    IControl::SetDirty(triggerAction, -1);
    RefreshValueStr();
    if (!GetAnimationFunction())
        UpdateRects();
}

void IVSlideSwitchControl::OnAnimationFinished() {
    UpdateRects();
    IControl::OnAnimationFinished();
}

IRECT IVSlideSwitchControl::Slot(int k, int n) const {
    const IRECT& w = widgetBounds;
    const float fk = static_cast<float>(k);
    if (direction == EDirection::Horizontal) {
        const float sw = w.W() / static_cast<float>(n);
        return {w.L + fk * sw, w.T, w.L + fk * sw + sw, w.B};
    }
    const float sh = w.H() / static_cast<float>(n);
    return {w.L, w.T + fk * sh, w.R, w.T + fk * sh + sh};
}

void IVSlideSwitchControl::UpdateRects() {
    // A range that yields no states still has one slot to stand in.
    const int n = std::max(numStates, 1);
    const int i = std::clamp(static_cast<int>((n - 1) * GetValue(0) + 0.5), 0, n - 1);
    startRect = handleRect = Slot(i, n);
    endRect = Slot((i + 1) % n, n);
    if (valueInWidget)
        valueBounds = handleRect;
}

} // namespace vx::ui
