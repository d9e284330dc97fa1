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
    // printf output cut to maxLength characters; a maximum of 0 or less gives "".
    virtual void SetStringFormatted(int maxLength, const char* format, ...)
        __attribute__((format(printf, 3, 4)));
    virtual void ClearString() { SetString(""); }

    const char* GetString() const { return str.Get(); }
    // The foreground colour of the text style; no redraw (callers follow with Hide(false)).
    void SetTextColor(const IColor& color) { text.FGColor = color; }
    void FitBoundsToString();

protected:
    // The background, then the text unless it is being edited.
    void DrawTextOnBackground(ICanvas& g);
    // The background over the whole control, the text within `textRect`.
    void DrawTextOnBackground(ICanvas& g, const IRECT& textRect);

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

// Shows a parameter's display text; a click opens its value menu or entry.
// Enumerated parameters get a small downward triangle at the free end.
class ICaptionControl : public ITextControl {
public:
    ICaptionControl(const IRECT& bounds, int paramIdx, const IText& text = IText(),
                    const IColor& bgColor = IColor(0, 0, 0, 0), bool showParamLabel = true);

    void OnMouseDown(float x, float y, const IMouseMod& mod) override;
    void OnResize() override;
    void Draw(ICanvas& g) override;

    const IRECT& GetTriangleRECT() const { return triangleRect; }

private:
    bool appendUnitLabel;
    IColor triangleColor = kColorBlack;
    IColor triangleMouseOverColor = kColorWhite;
    IRECT triangleRect;
};

// Underlined text that opens a web address; it keeps its clicked colour once visited.
class IURLControl : public ITextControl {
public:
    IURLControl(const IRECT& bounds, const char* text, const char* linkUrl,
                const IText& style = IText(), const IColor& bgColor = IColor(0, 0, 0, 0),
                const IColor& mouseOverColor = kColorWhite,
                const IColor& clickedColor = kColorBlue);

    void OnMouseDown(float x, float y, const IMouseMod& mod) override;
    void OnMouseOver(float x, float y, const IMouseMod& mod) override;
    void OnMouseOut() override;
    void SetText(const IText& style) override;
    void Draw(ICanvas& g) override;

    bool Visited() const { return visited; }
    // Run when a click finds nothing to open the address with.
    void SetOpenFailedAction(std::function<void()> action) { openFailed = std::move(action); }

private:
    static constexpr int kPointingHandCursor = 11;
    static constexpr int kArrowCursor = 0;

    VxString linkUrl;
    std::function<void()> openFailed;
    IColor baseColor;
    IColor mouseOverColor;
    IColor clickedColor;
    bool visited = false;
};

// A label that switches between two texts with its value.
class ITextToggleControl : public ITextControl {
public:
    ITextToggleControl(const IRECT& bounds, int paramIdx, const char* offText, const char* onText,
                       const IText& text = IText(), const IColor& bgColor = IColor(0, 0, 0, 0));
    ITextToggleControl(const IRECT& bounds, IActionFunction action, const char* offText,
                       const char* onText, const IText& text = IText(),
                       const IColor& bgColor = IColor(0, 0, 0, 0));

    void OnMouseDown(float x, float y, const IMouseMod& mod) override;
    void SetDirty(bool triggerAction = true, int valIdx = -1) override;

private:
    VxString offText;
    VxString onText;
};

// A box that shows its own position and size while a layout is being built.
class PlaceHolder : public ITextControl {
public:
    PlaceHolder(const IRECT& bounds, const char* str = "Place Holder");

    void OnMouseDoubleClick(float x, float y, const IMouseMod& mod) override;
    void OnTextEntryFinished(const char* entered, int valIdx) override;
    void OnResize() override;
    void Draw(ICanvas& g) override;

    const IRECT& GetCentreLabelRECT() const { return centreLabelRect; }

private:
    // Fills a box of the text's measured size at the anchor, then draws the text in it.
    IRECT DrawBoxedText(ICanvas& g, const IText& style, const char* s, float x, float y,
                        float blendWeight);

    IRECT centreLabelRect;
    VxString positionText;
    VxString widthText;
    VxString heightText;
    IText positionStyle;
    IText widthStyle;
    IText heightStyle;
};

} // namespace vx::ui
