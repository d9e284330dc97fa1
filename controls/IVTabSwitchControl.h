#pragma once

#include "controls/ISwitchControlBase.h"
#include "framework/VxString.h"
#include "toolkit/IVectorBase.h"

#include <initializer_list>
#include <memory>
#include <vector>

namespace vx::ui {

// A segmented switch: one button per option, the chosen one pressed; a click
// chooses an option directly.
class IVTabSwitchControl : public ISwitchControlBase, public IVectorBase {
public:
    // Segment positions handed to DrawButton.
    enum ESegment { kFirst = 0, kMiddle = 1, kLast = 2 };

    IVTabSwitchControl(const IRECT& bounds, int paramIdx,
                       std::initializer_list<const char*> options, const char* label = "",
                       const IVStyle& style = kDefaultStyle, EVShape shape = EVShape::Rectangle,
                       EDirection direction = EDirection::Horizontal);
    IVTabSwitchControl(const IRECT& bounds, IActionFunction action,
                       std::initializer_list<const char*> options, const char* label = "",
                       const IVStyle& style = kDefaultStyle, EVShape shape = EVShape::Rectangle,
                       EDirection direction = EDirection::Horizontal);

    void Draw(ICanvas& g) override;
    void DrawControlBody(ICanvas& g) override;
    virtual void DrawButton(ICanvas& g, const IRECT& r, bool pressed, bool mouseOver,
                            ESegment position, bool disabled);
    virtual void DrawButtonText(ICanvas& g, const IRECT& r, bool pressed, bool mouseOver,
                                ESegment position, const char* str, bool disabled);
    virtual int GetButtonForPoint(float x, float y) const;

    bool ContainsPoint(float x, float y) const override;
    void OnMouseDown(float x, float y, const IMouseMod& mod) override;
    void OnMouseOver(float x, float y, const IMouseMod& mod) override;
    void OnMouseOut() override;
    void OnResize() override;
    void OnInit() override;

    // The chosen option's text; "" past the texts given.
    const char* GetSelectedLabelStr() const;
    int NTabLabels() const { return static_cast<int>(tabLabels.size()); }
    const IRECT& GetButtonRect(int i) const { return buttons[static_cast<size_t>(i)]; }
    int GetMouseOverButton() const { return mouseOverButton; }

protected:
    int SelectedIndex() const;
    bool OptionDisabled(int i) const { return disabled || IsStateDisabled(i); }
    ESegment SegmentOf(int i) const;

    int mouseOverButton = -1;
    std::vector<IRECT> buttons;
    std::vector<std::unique_ptr<VxString>> tabLabels;
    EDirection direction;

private:
    void SetUp(std::initializer_list<const char*> options, const char* label, EVShape shape);
};

// Options as small buttons, each followed by its text.
class IVRadioButtonControl : public IVTabSwitchControl {
public:
    IVRadioButtonControl(const IRECT& bounds, int paramIdx,
                         std::initializer_list<const char*> options, const char* label = "",
                         const IVStyle& style = kDefaultStyle, EVShape shape = EVShape::Ellipse,
                         EDirection direction = EDirection::Vertical, float buttonSize = 10.f);
    IVRadioButtonControl(const IRECT& bounds, IActionFunction action,
                         std::initializer_list<const char*> options, const char* label = "",
                         const IVStyle& style = kDefaultStyle, EVShape shape = EVShape::Ellipse,
                         EDirection direction = EDirection::Vertical, float buttonSize = 10.f);

    void DrawControlBody(ICanvas& g) override;
    int GetButtonForPoint(float x, float y) const override;
    void SetOnlyButtonsRespondToMouse(bool only) { onlyButtonsRespondToMouse = only; }

private:
    void SetUp(float size);
    IRECT ButtonArea(const IRECT& row) const {
        return {row.L, row.T, row.L + buttonAreaWidth, row.B};
    }

    float buttonSize = 10.f;
    float buttonAreaWidth = 30.f;
    bool onlyButtonsRespondToMouse = false;
};

} // namespace vx::ui
