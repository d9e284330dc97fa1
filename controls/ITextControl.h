#pragma once

#include "framework/VxString.h"
#include "toolkit/IControl.h"

namespace vx::ui {

// One line of text on a background colour. A plain label is never hit by the
// mouse; subclasses that take clicks clear ignoreMouse again.
class ITextControl : public IControl {
public:
    ITextControl(const IRECT& bounds, const char* str = "", const IText& text = IText(),
                 const IColor& bgColor = IColor(0, 0, 0, 0), bool setBoundsFromStr = false);

    void OnInit() override;
    void Draw(ICanvas& g) override;

    // Replaces the text and redraws only when the text differs; null is "".
    virtual void SetString(const char* str);
    virtual void ClearString() { SetString(""); }

    const char* GetString() const { return str.Get(); }
    // The foreground colour of the text style; no redraw (callers follow with Hide(false)).
    void SetTextColor(const IColor& color) { text.FGColor = color; }
    void FitBoundsToString();

protected:
    VxString str;
    IColor bgColor;
    bool setBoundsFromStr;
};

// A label the user edits in place; the entered text runs the control's action.
class IEditableTextControl : public ITextControl {
public:
    IEditableTextControl(const IRECT& bounds, const char* str = "", const IText& text = IText(),
                         const IColor& bgColor = IColor(0, 0, 0, 0));

    void OnMouseDown(float x, float y, const IMouseMod& mod) override;
    void OnTextEntryFinished(const char* entered, int valIdx) override;
};

} // namespace vx::ui
