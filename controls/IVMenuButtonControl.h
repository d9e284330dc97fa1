#pragma once

#include "toolkit/IContainerBase.h"
#include "toolkit/IVectorBase.h"

namespace vx::ui {

class IVButtonControl;

// A vector button showing an enumerated parameter's value; a click opens the
// parameter's menu over it. The button is a child made at attachment.
class IVMenuButtonControl : public IContainerBase, public IVectorBase {
public:
    IVMenuButtonControl(const IRECT& bounds, int paramIdx, const char* label = "",
                        const IVStyle& style = kDefaultStyle, EVShape shape = EVShape::Rectangle);
    ~IVMenuButtonControl() override;

    void SetStyle(const IVStyle& style) override;
    void OnMenuChoice(IPopupMenu* menu, int valIdx) override;
    void SetValueFromEditorSide(double value, int valIdx = 0) override;
    void SetValueFromTypedEntry(double value, int valIdx = 0) override;

    // The child while the context still holds it, else null.
    IVButtonControl* GetMenuButton() const;

private:
    static IVStyle ChildStyle(IVStyle style);
    void CreateChild(const IRECT& r, const char* label, const IVStyle& style, EVShape shape);
    void PlaceChild(const IRECT& r);
    // Shows the given text on the child, or the parameter's when null.
    void RefreshChild(const char* shown = nullptr);

    IVButtonControl* menuButton = nullptr;
};

} // namespace vx::ui
