#pragma once

#include "toolkit/IControl.h"

// The controls ICanvas keeps outside its list, declared with what ICanvas
// asks of them; their drawing and behaviour live with each class.
namespace vx::ui {

class IPopupMenu;

// In-panel popup menu. While expanded it takes every click.
class IPopupMenuControl : public IControl {
public:
    using IControl::IControl;

    bool IsExpanded() const { return state == kExpanded; }
    // Opens the menu at the anchor; ignored unless the control is idle.
    virtual void Show(IPopupMenu& menu, const IRECT& anchor) = 0;

protected:
    static constexpr int kExpanded = 2;
    int state = 0;
};

// In-panel single-line text entry. While editing it takes every click and drag.
class ITextEntryControl : public IControl {
public:
    using IControl::IControl;

    bool IsEditing() const { return editing; }
    virtual void StartEdit(int paramIdx, const IText& text, const IRECT& bounds, int length,
                           const char* initial) = 0;

protected:
    bool editing = false;
};

// The drag handle in the window corner.
class ICornerResizerControl : public IControl {
public:
    using IControl::IControl;
};

// The value bubble shown beside a control while it is dragged.
class IBubbleControl : public IControl {
public:
    using IControl::IControl;
};

// The frame-time display; the drawing cycle feeds its ring.
class IFPSDisplayControl : public IControl {
public:
    static constexpr int kRingSize = 100;

    using IControl::IControl;

    void AddFrameTime(float seconds) {
        ringIndex = (ringIndex + 1) % kRingSize;
        ring[ringIndex] = seconds;
    }
    float FrameTime(int index) const { return ring[index]; }
    int NewestIndex() const { return ringIndex; }

protected:
    float ring[kRingSize] = {};
    int ringIndex = 0;
};

} // namespace vx::ui
