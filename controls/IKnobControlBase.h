#pragma once

#include "toolkit/IControl.h"

namespace vx::ui {

// A rotary control dragged along one axis: gearing drag-area lengths cross the
// whole range (ten times as many under fine adjustment).
class IKnobControlBase : public IControl {
public:
    IKnobControlBase(const IRECT& bounds, int paramIdx, IActionFunction action,
                     EDirection direction, double gearing);

    void OnMouseDown(float x, float y, const IMouseMod& mod) override;
    void OnMouseUp(float x, float y, const IMouseMod& mod) override;
    void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) override;
    void OnMouseWheel(float x, float y, const IMouseMod& mod, float delta) override;

    // The area whose length a drag is measured against.
    virtual IRECT KnobDragArea() const { return targetRect; }

protected:
    bool hideCursorOnDrag = true;
    EDirection direction;
    double gearing;
    bool mouseDown = false;
    double dragValue = 0.0;
};

} // namespace vx::ui
