#include "controls/ITextControl.h"

namespace vx::ui {

ITextToggleControl::ITextToggleControl(const IRECT& bounds, int paramIdx, const char* off,
                                       const char* on, const IText& style, const IColor& background)
    : ITextToggleControl(bounds, IActionFunction(), off, on, style, background) {
    BindParam(paramIdx, 0);
}

ITextToggleControl::ITextToggleControl(const IRECT& bounds, IActionFunction action, const char* off,
                                       const char* on, const IText& style, const IColor& background)
    : ITextControl(bounds, off, style, background, false) {
    SetActionFunction(std::move(action));
    offText.SetBounded(off);
    onText.SetBounded(on);
    ignoreMouse = false;
    dblAsSingleClick = true;
}

void ITextToggleControl::OnMouseDown(float, float, const IMouseMod&) {
    SetValue(GetValue(0) < 0.5 ? 1.0 : 0.0);
    SetDirty(true, 0);
}

void ITextToggleControl::SetDirty(bool triggerAction, int) {
    // SetString marks the control dirty again; by then the text matches, so that ends here.
    SetString(GetValue(0) > 0.5 ? onText.Get() : offText.Get());
    IControl::SetDirty(triggerAction, -1);
}

} // namespace vx::ui
