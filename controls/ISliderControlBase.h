#pragma once

#include "toolkit/IControl.h"

namespace vx::ui {

// A linear control over a track. Continuous parameters jump to the click and,
// with a visible cursor, follow the pointer; stepped ones are dragged relatively.
class ISliderControlBase : public IControl {
public:
    ISliderControlBase(const IRECT& bounds, int paramIdx, EDirection direction, double gearing,
                       float handleSize);
    ISliderControlBase(const IRECT& bounds, IActionFunction action, EDirection direction,
                       double gearing, float handleSize);

    void OnResize() override;
    void OnMouseDown(float x, float y, const IMouseMod& mod) override;
    void OnMouseUp(float x, float y, const IMouseMod& mod) override;
    void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) override;
    void OnMouseWheel(float x, float y, const IMouseMod& mod, float delta) override;

    const IRECT& GetTrackRECT() const { return trackRect; }

protected:
    bool IsParamStepped() const;

    bool hideCursorOnDrag = true;
    EDirection direction;
    IRECT trackRect;
    float handleSize;
    double gearing;
    bool mouseDown = false;
    double dragValue = 0.0;
};

} // namespace vx::ui
