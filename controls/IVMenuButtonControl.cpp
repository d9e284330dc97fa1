#include "controls/IVMenuButtonControl.h"

#include "controls/IVButtonControl.h"
#include "framework/IParam.h"
#include "toolkit/ICanvas.h"
#include "toolkit/IPopupMenu.h"

#include <string>

namespace vx::ui {

IVMenuButtonControl::IVMenuButtonControl(const IRECT& bounds, int paramIdx, const char* label,
                                         const IVStyle& s, EVShape shp)
    : IContainerBase(bounds), IVectorBase(s) {
    BindParam(paramIdx);
    AttachIControl(this);
    text = style.valueText;
    textEntryDisabled = false;
    const std::string childLabel = label ? label : "";
    attachFunc = [this, childLabel, s, shp](IContainerBase*, const IRECT& r) {
        CreateChild(r, childLabel.c_str(), s, shp);
    };
    resizeFunc = [this](IContainerBase*, const IRECT& r) { PlaceChild(r); };
}

IVMenuButtonControl::~IVMenuButtonControl() {
    // The child stays in the context's list; its end function must not reach us.
    if (IVButtonControl* child = GetMenuButton())
        child->SetAnimationEndActionFunction(nullptr);
}

IVButtonControl* IVMenuButtonControl::GetMenuButton() const {
    return HoldsChild(menuButton) ? menuButton : nullptr;
}

IVStyle IVMenuButtonControl::ChildStyle(IVStyle s) {
    s.valueText.vAlign = 1;
    return s;
}

void IVMenuButtonControl::CreateChild(const IRECT& r, const char* label, const IVStyle& s,
                                      EVShape shp) {
    auto* child = new IVButtonControl(r, splashClickAction, label, ChildStyle(s), false, true, shp);
    child->SetParent(this);
    if (!AddChildControl(child, -1, GetGroup()))
        return;
    menuButton = child;
    RefreshChild();
    child->SetAnimationEndActionFunction([this](IControl*) {
        if (IVButtonControl* shown = GetMenuButton())
            OpenValueEntryInRect(shown->GetWidgetBounds(), 0);
    });
}

void IVMenuButtonControl::PlaceChild(const IRECT& r) {
    IVButtonControl* child = GetMenuButton();
    if (!child)
        return;
    child->SetRECT(r);
    child->SetTargetRECT(r);
    child->OnResize(); // also clears its mouse-over flag
}

void IVMenuButtonControl::RefreshChild(const char* shown) {
    IVButtonControl* child = GetMenuButton();
    if (!child)
        return;
    if (shown) {
        child->SetValueStr(shown);
    } else if (const IParam* param = GetParam(0)) {
        VxString value;
        ParamDisplayTextWithUnit(param, value);
        child->SetValueStr(value.Get());
    }
    child->SetDirty(false);
    child->OnAppearanceChanged();
}

void IVMenuButtonControl::SetStyle(const IVStyle& s) {
    IVectorBase::SetStyle(s);
    if (IVButtonControl* child = GetMenuButton())
        child->SetStyle(ChildStyle(s));
}

void IVMenuButtonControl::OnMenuChoice(IPopupMenu* menu, int valIdx) {
    // No choice, a choice outside the menu or nothing to set: nothing changes.
    if (!menu || !GetParam(valIdx))
        return;
    const int index = menu->GetChosenItemIdx();
    const IPopupMenu::Item* chosen =
        index >= 0 && index < menu->NItems() ? menu->GetItem(index) : nullptr;
    if (!chosen)
        return;
    RefreshChild(chosen->text.Get());
    IControl::OnMenuChoice(menu, valIdx);
}

void IVMenuButtonControl::SetValueFromEditorSide(double value, int valIdx) {
    IControl::SetValueFromEditorSide(value, valIdx);
    RefreshChild();
}

void IVMenuButtonControl::SetValueFromTypedEntry(double value, int valIdx) {
    if (value == GetValue(valIdx))
        return;
    SetValue(value, valIdx);
    SetDirty(true, valIdx);
    RefreshChild();
}

} // namespace vx::ui
