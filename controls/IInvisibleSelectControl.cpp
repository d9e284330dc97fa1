#include "controls/IInvisibleSelectControl.h"

#include "toolkit/IKeyPress.h"

namespace vx::ui {

namespace {

// Sets the value to where (x, y) lies along the area, from the integer origin
// over the integer extent, and hands it on. An area without extent keeps its
// value rather than sending NaN.
void SetValueAlong(IControl& area, bool vertical, int top, int left, int height, int width, float x,
                   float y) {
    const int extent = vertical ? height : width;
    if (extent == 0)
        return;
    area.SetValue(double((vertical ? y : x) - float(vertical ? top : left)) / extent);
    area.SetDirty(true);
}

} // namespace

IInvisibleSelectControl3::IInvisibleSelectControl3(int paramIdx, int axis, const IRECT& bounds)
    : IControl(bounds, paramIdx), verticalAxis(axis == 0), height(int(bounds.H())),
      width(int(bounds.W())), top(int(bounds.T)), left(int(bounds.L)) {
    textEntryDisabled = true;
}

void IInvisibleSelectControl3::Record(int kind, const IMouseMod& mod) {
    gestureKind = kind;
    modifierCode = mod.S ? kShift : (mod.C ? kControl : kNoModifier);
}

void IInvisibleSelectControl3::SetValueAtPoint(float x, float y) {
    SetValueAlong(*this, verticalAxis, top, left, height, width, x, y);
}

void IInvisibleSelectControl3::OnMouseDown(float x, float y, const IMouseMod& mod) {
    Record(kMouseDown, mod);
    SetValueAtPoint(x, y);
}

void IInvisibleSelectControl3::OnMouseUp(float x, float y, const IMouseMod& mod) {
    Record(kMouseUp, mod);
    SetValueAtPoint(x, y);
}

void IInvisibleSelectControl3::OnMouseDrag(float x, float y, float, float dY,
                                           const IMouseMod& mod) {
    Record(kDrag, mod);
    lastDeltaPositive = dY > 0.f;
    SetValueAtPoint(x, y);
}

void IInvisibleSelectControl3::OnMouseDoubleClick(float x, float y, const IMouseMod& mod) {
    Record(kDoubleClick, mod);
    SetValueAtPoint(x, y);
}

void IInvisibleSelectControl3::OnMouseWheel(float x, float y, const IMouseMod& mod, float delta) {
    Record(kWheel, mod);
    lastDeltaPositive = delta > 0.f;
    if (delta != 0.f)
        SetValueAtPoint(x, y);
}

bool IInvisibleSelectControl3::OnKeyDown(float, float, const IKeyPress& key) {
    if (key.VK == 0)
        modifierCode = kKeyCode0;
    else if (key.VK == 1)
        modifierCode = kKeyCode1;
    return false;
}

IInvisibleSelectControl2::IInvisibleSelectControl2(int paramIdx, int axis, const IRECT& bounds)
    : IControl(bounds, paramIdx), verticalAxis(axis == 0), height(int(bounds.H())),
      width(int(bounds.W())), top(int(bounds.T)), left(int(bounds.L)) {
    textEntryDisabled = true;
}

void IInvisibleSelectControl2::OnMouseDown(float, float, const IMouseMod&) {
    gestureKind = 0;
}

void IInvisibleSelectControl2::OnMouseDrag(float, float, float, float, const IMouseMod&) {
    gestureKind = 2;
}

void IInvisibleSelectControl2::OnMouseUp(float x, float y, const IMouseMod&) {
    gestureKind = 1;
    SetValueAlong(*this, verticalAxis, top, left, height, width, x, y);
}

} // namespace vx::ui
