#include "controls/ISwitchControlBase.h"

#include "framework/IParam.h"

#include <algorithm>
#include <cmath>

namespace vx::ui {

namespace {

// Rounding may leave a sum one unit in the last place above 1.0: that is still the last state.
constexpr double kJustAboveOne = 1.0000000000000002;

} // namespace

ISwitchControlBase::ISwitchControlBase(const IRECT& bounds, int paramIdx, IActionFunction action,
                                       int states)
    : IControl(bounds, paramIdx, std::move(action)), numStates(states),
      stateDisabled(static_cast<size_t>(std::max(states, 0)), false) {
    dblAsSingleClick = true;
}

void ISwitchControlBase::OnInit() {
    if (GetParamIdx(0) < 0)
        return;
    if (const IParam* param = GetParam(0))
        numStates = static_cast<int>(std::trunc(param->Max() - param->Min())) + 1;
}

void ISwitchControlBase::OnMouseDown(float, float, const IMouseMod&) {
    double next = 0.0;
    if (numStates == 2) {
        next = GetValue(0) == 0.0 ? 1.0 : 0.0;
    } else {
        next = GetValue(0) + 1.0 / (numStates - 1);
        if (next > kJustAboveOne)
            next = 0.0;
    }
    SetValue(next);
    mouseDown = true;
    SetDirty(true);
}

void ISwitchControlBase::OnMouseUp(float, float, const IMouseMod&) {
    mouseDown = false;
    SetDirty(false);
}

bool ISwitchControlBase::IsStateDisabled(int state) const {
    if (state < 0 || state >= numStates || state >= static_cast<int>(stateDisabled.size()))
        return false;
    return stateDisabled[static_cast<size_t>(state)];
}

void ISwitchControlBase::DisableState(int state, bool disable) {
    if (state >= 0 && state < static_cast<int>(stateDisabled.size()))
        stateDisabled[static_cast<size_t>(state)] = disable;
    SetDirty(false);
}

void ISwitchControlBase::DisableAllStates(bool disable) {
    std::fill(stateDisabled.begin(), stateDisabled.end(), disable);
    SetDirty(false);
}

} // namespace vx::ui
