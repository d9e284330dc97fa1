#include "controls/ISliderControlBase.h"

#include "controls/StepConstraint.h"
#include "framework/IParam.h"
#include "toolkit/ICanvas.h"

#include <algorithm>

namespace vx::ui {

ISliderControlBase::ISliderControlBase(const IRECT& bounds, int paramIdx, EDirection dir,
                                       double gear, float handle)
    : IControl(bounds, paramIdx), direction(dir), handleSize(handle), gearing(gear) {}

ISliderControlBase::ISliderControlBase(const IRECT& bounds, IActionFunction action, EDirection dir,
                                       double gear, float handle)
    : IControl(bounds, std::move(action)), direction(dir), handleSize(handle), gearing(gear) {}

bool ISliderControlBase::IsParamStepped() const {
    const IParam* param = GetParam(0);
    return param && param->Stepped();
}

void ISliderControlBase::OnResize() {
    targetRect = drawRect;
    mouseIsOver = false;
    trackRect = drawRect;
    SetDirty(false);
}

void ISliderControlBase::OnMouseDown(float x, float y, const IMouseMod& mod) {
    mouseDown = true;
    if (!IsParamStepped())
        SetValueFromPointer(x, y, direction, trackRect, -1, 0.0, 1.0);
    dragValue = GetValue(0);
    if (hideCursorOnDrag && graphics)
        graphics->SetCursorHidden(true, true);
    if (mod.R)
        OpenValueEntry(ValueSlotAtPoint(x, y));
    SetDirty(false);
}

void ISliderControlBase::OnMouseUp(float, float, const IMouseMod&) {
    if (hideCursorOnDrag && graphics)
        graphics->SetCursorHidden(false, true);
    mouseDown = false;
    SetDirty(false);
}

void ISliderControlBase::OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) {
    const bool relative = (mod.touchID == 0 && hideCursorOnDrag) || IsParamStepped();
    if (!relative) {
        SetValueFromPointer(x, y, direction, trackRect, -1, 0.0, 1.0);
        return;
    }
    if (!AdvanceDrag(dragValue, trackRect, direction, gearing, dX, dY, mod))
        return;
    SetValue(ConstrainNormalised(GetParam(0), dragValue));
    SetDirty(true);
}

void ISliderControlBase::OnMouseWheel(float, float, const IMouseMod& mod, float delta) {
    SetValue(WheelValue(*this, mod, delta));
    SetDirty(true);
}

} // namespace vx::ui
