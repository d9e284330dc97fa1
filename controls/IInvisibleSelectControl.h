#pragma once

#include "toolkit/IControl.h"

namespace vx::ui {

// An invisible area over a list: every gesture sets the value to where it
// happened along the axis (0 at the top or left) and records what it was, so
// the editor can tell a click from a double click, a drag or a wheel turn.
class IInvisibleSelectControl3 : public IControl {
public:
    enum EGestureKind { kMouseDown = 0, kMouseUp = 1, kDrag = 2, kDoubleClick = 3, kWheel = 4 };
    enum EModifier { kNoModifier = 0, kShift = 1, kControl = 2, kKeyCode0 = 3, kKeyCode1 = 4 };

    // axis 0: the value follows y; any other: x.
    IInvisibleSelectControl3(int paramIdx, int axis, const IRECT& bounds);

    void Draw(ICanvas&) override {}
    void OnMouseDown(float x, float y, const IMouseMod& mod) override;
    void OnMouseUp(float x, float y, const IMouseMod& mod) override;
    void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) override;
    void OnMouseDoubleClick(float x, float y, const IMouseMod& mod) override;
    void OnMouseWheel(float x, float y, const IMouseMod& mod, float delta) override;
    bool OnKeyDown(float x, float y, const IKeyPress& key) override;

    void GetGestureKind(int& out) const { out = gestureKind; }
    void GetGestureModifier(int& out) const { out = modifierCode; }
    bool GetGestureDirection() const { return lastDeltaPositive; }

private:
    void Record(int kind, const IMouseMod& mod);
    void SetValueAtPoint(float x, float y);

    bool verticalAxis;
    int height, width, top, left;
    bool lastDeltaPositive = false;
    int gestureKind = kMouseDown;
    int modifierCode = kNoModifier;
};

// The simpler area: press, drag and release only; the release sets the value.
class IInvisibleSelectControl2 : public IControl {
public:
    IInvisibleSelectControl2(int paramIdx, int axis, const IRECT& bounds);

    void Draw(ICanvas&) override {}
    void OnMouseDown(float x, float y, const IMouseMod& mod) override;
    void OnMouseUp(float x, float y, const IMouseMod& mod) override;
    void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) override;

    void GetGestureKind(int& out) const { out = gestureKind; }

private:
    bool verticalAxis;
    int height, width, top, left;
    int gestureKind = 0;
};

} // namespace vx::ui
