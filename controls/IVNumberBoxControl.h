#pragma once

#include "controls/IVButtonControl.h"
#include "controls/IVLabelControl.h"
#include "framework/VxString.h"
#include "toolkit/IContainerBase.h"
#include "toolkit/IVectorBase.h"

namespace vx::ui {

// A number in a framed box, changed by vertical drags, the wheel, typing after
// a double click or optional "+" and "-" buttons; clamped to a range,
// formatted with a printf format and sent to a linked parameter. The value
// keeps its fractions, so fine drags add up on integer parameters; the text
// shows the value sent.
class IVNumberBoxControl : public IContainerBase, public IVectorBase {
public:
    IVNumberBoxControl(const IRECT& bounds, int paramIdx, IActionFunction action, const char* label,
                       const IVStyle& style, double initialValue, double minValue, double maxValue,
                       bool showButtons, const char* format, bool showTriangle);
    ~IVNumberBoxControl() override;

    void OnInit() override;
    void OnAddedToGraphics() override;
    void OnResize() override;
    void OnMouseDown(float x, float y, const IMouseMod& mod) override;
    void OnMouseUp(float x, float y, const IMouseMod& mod) override;
    void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) override;
    void OnMouseWheel(float x, float y, const IMouseMod& mod, float delta) override;
    void OnMouseDoubleClick(float x, float y, const IMouseMod& mod) override;
    void OnTextEntryFinished(const char* text, int valIdx) override;
    void SetValueFromEditorSide(double normalised, int valIdx = 0) override;
    void SetValueFromTypedEntry(double normalised, int valIdx = 0) override;
    void SetStyle(const IVStyle& style) override;
    void Draw(ICanvas& g) override;

    double GetRealValue() const { return realValue; }
    IVLabelControl* GetTextControl() const { return Live(textControl); }
    IVButtonControl* GetIncButton() const { return Live(incButton); }
    IVButtonControl* GetDecButton() const { return Live(decButton); }
    const IRECT& GetTextRECT() const { return textRect; }

private:
    void UpdateValue(bool fromDelegate);
    void ShowValue(double value);
    // The real value of a normalised one: stepped, in the parameter's range and in ours.
    double RealFromNormalised(double normalised) const;
    void LayOut();
    double Step(const IMouseMod& mod) const;
    // The child while the context still holds it, else null: a child removed
    // on its own leaves the box working.
    template <typename T>
    T* Live(T* child) const {
        for (int i = 0; child && i < NChildren(); ++i)
            if (GetChild(i) == child)
                return child;
        return nullptr;
    }

    IActionFunction mIncrementFunc;
    IActionFunction mDecrementFunc;
    IVLabelControl* textControl = nullptr;
    IVButtonControl* incButton = nullptr;
    IVButtonControl* decButton = nullptr;
    VxString valueFormat;
    double coarseStep = 1.0;
    double fineStep = double(0.1f);
    double minValue, maxValue, realValue;
    bool hideCursorOnDrag = true;
    bool showButtons;
    bool showTriangle;
    bool mouseDown = false;
    IRECT textRect, incRect, decRect;
};

} // namespace vx::ui
