#include "controls/IButtonControlBase.h"

namespace vx::ui {

IButtonControlBase::IButtonControlBase(const IRECT& bounds, IActionFunction action)
    : IControl(bounds, -1, std::move(action)) {
    dblAsSingleClick = true;
}

void IButtonControlBase::OnMouseDown(float, float, const IMouseMod&) {
    SetValue(1.0);
    SetDirty(true);
}

void IButtonControlBase::OnAnimationFinished() {
    SetValue(0.0);
    IControl::OnAnimationFinished();
}

} // namespace vx::ui
