#pragma once

#include "controls/IButtonControlBase.h"
#include "toolkit/IVectorBase.h"

namespace vx::ui {

// A momentary push button in the vector style; only its widget takes clicks.
class IVButtonControl : public IButtonControlBase, public IVectorBase {
public:
    IVButtonControl(const IRECT& bounds, IActionFunction action = splashClickAction,
                    const char* label = "", const IVStyle& style = kDefaultStyle,
                    bool labelInButton = true, bool valueInButton = true,
                    EVShape shape = EVShape::Rectangle);

    void Draw(ICanvas& g) override;
    void DrawControlBody(ICanvas& g) override;
    void OnResize() override;
    bool ContainsPoint(float x, float y) const override;
};

} // namespace vx::ui
