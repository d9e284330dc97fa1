#include "toolkit/IControl.h"

#include "framework/IParam.h"
#include "toolkit/ICanvas.h"
#include "toolkit/IEditorDelegate.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace vx::ui {

IControl::IControl(const IRECT& bounds, int paramIdx, IActionFunction action)
    : drawRect(bounds), targetRect(bounds),
      actionFunc(std::move(action)), valueSlots{{paramIdx, 0.0}} {}

IControl::IControl(const IRECT& bounds, std::initializer_list<int> params, IActionFunction action)
    : drawRect(bounds), targetRect(bounds), actionFunc(std::move(action)) {
    for (int paramIdx : params)
        valueSlots.push_back({paramIdx, 0.0});
}

IControl::IControl(const IRECT& bounds, IActionFunction action)
    : IControl(bounds, -1, std::move(action)) {}

IControl::~IControl() = default;

void IControl::OnMouseDown(float x, float y, const IMouseMod& mod) {
    if (mod.R)
        OpenValueEntry(ValueSlotAtPoint(x, y));
    SetDirty(false, -1);
}

void IControl::OnMouseDoubleClick(float x, float y, const IMouseMod&) {
    ResetValueToDefault(ValueSlotAtPoint(x, y));
}

void IControl::OnMouseOver(float, float, const IMouseMod&) {
    if (!mouseIsOver) {
        mouseIsOver = true;
        SetDirty(false, -1);
    }
}

void IControl::OnMouseOut() {
    const bool wasOver = mouseIsOver;
    mouseIsOver = false;
    if (wasOver)
        SetDirty(false, -1);
}

void IControl::OnDropMultiple(const std::vector<const char*>& paths) {
    if (!paths.empty())
        OnDrop(paths.front());
}

bool IControl::OnGesture(const IGestureInfo& info) {
    const auto it = gestureFuncs.find(info.kind);
    if (it == gestureFuncs.end())
        return false;
    lastGesture = info.kind;
    const IGestureFunc func = it->second; // the handler may replace itself
    func(this, info);
    return true;
}

void IControl::OnMenuChoice(IPopupMenu* menu, int valIdx) {
    const IParam* param = valIdx >= 0 ? GetParam(valIdx) : nullptr;
    if (!menu || !param || textEntryDisabled)
        return;
    // ToNormalised steps, clamps to the range, maps and clamps to 0..1.
    SetValueFromTypedEntry(param->ToNormalised(menu->GetChosenItemIdx()), valIdx);
}

void IControl::DrawHighlightDot(ICanvas& g) {
    if (highlight)
        g.FillCircle(highlightColor, targetRect.R - 5.f, targetRect.T + 5.f, 2.f, nullptr);
}

void IControl::BindParam(int paramIdx, int valIdx) {
    if (valIdx < 0 || valIdx >= NVals())
        throw std::out_of_range("IControl::BindParam: no such value slot");
    valueSlots[static_cast<size_t>(valIdx)].paramIdx = paramIdx;
    SetDirty(false, -1);
}

int IControl::ValueSlotAtPoint(float, float) const {
    return NVals() == 1 ? 0 : -1;
}

void IControl::SetValueFromEditorSide(double value, int valIdx) {
    if (graphics && graphics->ControlIsCaptured(this))
        return;
    if (IsValidSlot(valIdx) && value != GetValue(valIdx)) {
        SetValue(value, valIdx);
        SetDirty(false, -1);
    }
}

void IControl::SetValueFromTypedEntry(double value, int valIdx) {
    if (IsValidSlot(valIdx) && value != GetValue(valIdx)) {
        SetValue(value, valIdx);
        SetDirty(true, valIdx);
    }
}

void IControl::ResetValueToDefault(int valIdx) {
    valIdx = EffectiveSlot(valIdx);
    for (int i = 0; i < NVals(); ++i) {
        if (valIdx >= 0 && i != valIdx)
            continue;
        if (const IParam* param = GetParam(i))
            SetValue(param->GetDefaultNormalised(), i);
    }
    SetDirty(true, valIdx);
}

void IControl::SetValue(double value, int valIdx) {
    if (IsValidSlot(valIdx))
        valueSlots[static_cast<size_t>(valIdx)].value = value;
}

void IControl::SetPosition(float x, float y) {
    x = std::max(x, 0.f);
    y = std::max(y, 0.f);
    const float dx = x - drawRect.L, dy = y - drawRect.T;
    drawRect = {x, y, x + drawRect.W(), y + drawRect.H()};
    mouseIsOver = false;
    OnResize();
    targetRect = targetRect.GetTranslated(dx, dy);
    mouseIsOver = false;
}

void IControl::SetSize(float w, float h) {
    w = std::max(w, 0.f);
    h = std::max(h, 0.f);
    drawRect = targetRect = {drawRect.L, drawRect.T, drawRect.L + w, drawRect.T + h};
    mouseIsOver = false;
    OnResize();
}

void IControl::Hide(bool hide) {
    hidden = hide;
    SetDirty(false, -1);
}

void IControl::SetDisabled(bool disable) {
    blend.weight = disable ? 0.25f : 1.f;
    disabled = disable;
    SetDirty(false, -1);
}

bool IControl::ContainsPoint(float x, float y) const {
    return targetRect.ContainsPoint(x, y);
}

void IControl::NotifyChange(int slot) {
    const int paramIdx = GetParamIdx(slot);
    if (paramIdx < 0)
        return;
    if (delegate)
        delegate->SetParamValueFromUI(paramIdx, GetValue(slot));
    if (graphics)
        graphics->UpdatePeers(this, slot);
}

void IControl::SetDirty(bool triggerAction, int valIdx) {
    valIdx = EffectiveSlot(valIdx);
    for (int i = 0; i < NVals(); ++i)
        if (valIdx < 0 || i == valIdx)
            SetValue(std::clamp(GetValue(i), 0.0, 1.0), i);
    dirty = true;
    if (graphics)
        graphics->NoteControlDirty();
    if (!triggerAction)
        return;
    for (int i = 0; i < NVals(); ++i)
        if (valIdx < 0 || i == valIdx)
            NotifyChange(i);
    if (actionFunc) {
        const IActionFunction action = actionFunc; // the action may replace itself
        action(this);
    }
}

void IControl::SetValueFromPointer(float x, float y, EDirection dir, const IRECT& bounds,
                                   int valIdx, double lo, double hi) {
    // A track without length measures no position; the division would send NaN to the parameter.
    const float span = dir == EDirection::Horizontal ? bounds.W() : bounds.H();
    if (!(span > 0.f))
        return;
    x = std::clamp(x, bounds.L, bounds.R);
    y = std::clamp(y, bounds.T, bounds.B);
    double v = dir == EDirection::Horizontal ? (x - bounds.L) / (bounds.R - bounds.L)
                                             : 1.0 - (y - bounds.T) / (bounds.B - bounds.T);
    v = std::round(v / 0.001) * 0.001;
    v = std::min(std::max(v, lo), hi);
    for (int i = 0; i < NVals(); ++i)
        if (valIdx < 0 || i == valIdx)
            SetValue(v, i);
    SetDirty(true, valIdx);
}

void IControl::OnAnimationFinished() {
    SetAnimation(nullptr);
    SetDirty(false, -1);
    if (animationEndFunc) {
        const IActionFunction end = animationEndFunc;
        end(this);
    }
}

const IParam* IControl::GetParam(int valIdx) const {
    const int paramIdx = GetParamIdx(valIdx);
    return paramIdx >= 0 && delegate ? delegate->GetParam(paramIdx) : nullptr;
}

int IControl::GetParamIdx(int valIdx) const {
    return IsValidSlot(valIdx) ? valueSlots[static_cast<size_t>(valIdx)].paramIdx : -1;
}

double IControl::GetValue(int valIdx) const {
    return IsValidSlot(valIdx) ? valueSlots[static_cast<size_t>(valIdx)].value : 0.0;
}

int IControl::GetValueIdxForParamIdx(int paramIdx) const {
    for (int i = 0; i < NVals(); ++i)
        if (valueSlots[static_cast<size_t>(i)].paramIdx == paramIdx)
            return i;
    return -1;
}

void IControl::OpenValueEntry(int valIdx) {
    const IParam* param = valIdx >= 0 ? GetParam(valIdx) : nullptr;
    if (!param || textEntryDisabled || !graphics)
        return;
    const float cx = drawRect.MW(), cy = drawRect.MH();
    const IRECT rect =
        param->DisplayTextCount() > 0 ? drawRect : IRECT{cx - 20.f, cy - 8.f, cx + 20.f, cy + 8.f};
    graphics->OpenValueEntry(this, rect, valIdx);
    SetDirty(false, -1);
}

void IControl::OpenValueEntryInRect(const IRECT& bounds, int valIdx) {
    if (valIdx >= 0 && GetParam(valIdx) && !textEntryDisabled && graphics)
        graphics->OpenValueEntry(this, bounds, valIdx);
}

void IControl::StartAnimation(int durationMs) {
    animationStart = MonotonicMs();
    animationDuration = durationMs;
}

double IControl::AnimationFraction() const {
    if (!animationFunc)
        return 0.0;
    return (MonotonicMs() - animationStart) / animationDuration;
}

void IControl::Animate() {
    if (animationFunc) {
        // A copy runs, so the animation may remove or replace itself.
        const IAnimationFunction step = animationFunc;
        step(this);
    }
}

void IControl::SetAnimation(IAnimationFunction f) {
    std::swap(animationFunc, f);
    if (animationFunc && graphics) // an animating control is dirty every frame
        graphics->NoteControlDirty();
}

void IControl::SetAnimation(IAnimationFunction f, int durationMs) {
    SetAnimation(std::move(f));
    StartAnimation(durationMs);
}

void IControl::AddGestureHandler(int kind, IGestureFunc func) {
    gestureFuncs.try_emplace(kind, std::move(func));
    if (graphics)
        graphics->AddToIntList(kind);
}

void IControl::SetHighlight(bool on, int colourKind) {
    static constexpr IColor kinds[] = {kColorRed, kColorBlue, kColorGreen, kColorYellow};
    if (colourKind >= 0 && colourKind < 4)
        highlightColor = kinds[colourKind];
    highlight = on;
    SetDirty(false, -1);
}

void IControl::ParamDisplayTextWithUnit(const IParam* param, VxString& out, bool withDisplayText) {
    if (!param)
        return;
    param->FormatDisplay(param->CurrentValue(), false, out, withDisplayText);
    const char* label = param->UnitLabel();
    if (label && *label) {
        out.AppendBounded(" ");
        out.AppendBounded(label);
    }
}

} // namespace vx::ui
