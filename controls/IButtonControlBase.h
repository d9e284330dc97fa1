#pragma once

#include "toolkit/IControl.h"

namespace vx::ui {

// A momentary button: 1.0 from the press until the click animation its action
// starts has ended, then 0.0. A double click counts as a second press.
class IButtonControlBase : public IControl {
public:
    IButtonControlBase(const IRECT& bounds, IActionFunction action);

    void OnMouseDown(float x, float y, const IMouseMod& mod) override;
    void OnAnimationFinished() override;
};

} // namespace vx::ui
