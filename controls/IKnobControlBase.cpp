#include "controls/IKnobControlBase.h"

#include "controls/StepConstraint.h"
#include "toolkit/ICanvas.h"

#include <algorithm>

namespace vx::ui {

IKnobControlBase::IKnobControlBase(const IRECT& bounds, int paramIdx, IActionFunction action,
                                   EDirection dir, double gear)
    : IControl(bounds, paramIdx, std::move(action)), direction(dir), gearing(gear) {}

void IKnobControlBase::OnMouseDown(float x, float y, const IMouseMod& mod) {
    mouseDown = true;
    dragValue = GetValue(0);
    SetValue(dragValue);
    if (hideCursorOnDrag && graphics)
        graphics->SetCursorHidden(true, true);
    if (mod.R)
        OpenValueEntry(ValueSlotAtPoint(x, y));
    SetDirty(false);
    SetDirty(true);
}

void IKnobControlBase::OnMouseUp(float, float, const IMouseMod&) {
    if (hideCursorOnDrag && graphics)
        graphics->SetCursorHidden(false, true);
    mouseDown = false;
    SetDirty(false);
}

void IKnobControlBase::OnMouseDrag(float, float, float dX, float dY, const IMouseMod& mod) {
    if (!AdvanceDrag(dragValue, KnobDragArea(), direction, gearing, dX, dY, mod))
        return;
    SetValue(ConstrainNormalised(GetParam(0), dragValue));
    SetDirty(true);
}

void IKnobControlBase::OnMouseWheel(float, float, const IMouseMod& mod, float delta) {
    SetValue(WheelValue(*this, mod, delta));
    SetDirty(true);
}

} // namespace vx::ui
