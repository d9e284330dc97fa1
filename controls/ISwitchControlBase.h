#pragma once

#include "toolkit/IControl.h"

#include <vector>

namespace vx::ui {

// A switch that steps through its states on each press and wraps to the first.
class ISwitchControlBase : public IControl {
public:
    ISwitchControlBase(const IRECT& bounds, int paramIdx, IActionFunction action, int numStates);

    void OnInit() override;
    void OnMouseDown(float x, float y, const IMouseMod& mod) override;
    void OnMouseUp(float x, float y, const IMouseMod& mod) override;

    bool IsStateDisabled(int state) const;
    void DisableState(int state, bool disable);
    void DisableAllStates(bool disable);
    int NStates() const { return numStates; }

protected:
    int numStates;
    std::vector<bool> stateDisabled;
    bool mouseDown = false;
};

} // namespace vx::ui
