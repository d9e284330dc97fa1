#include "controls/IVNumberBoxControl.h"

#include "controls/StepConstraint.h"
#include "framework/IParam.h"
#include "framework/IParamShape.h"
#include "toolkit/ICanvas.h"
#include "toolkit/IEditorDelegate.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vx::ui {

namespace {

constexpr int kMaxValueTextLength = 32;
// Without buttons the text box fills the widget; with them it takes three quarters.
constexpr float kTextShareWithButtons = 0.75f;

// A finite number and nothing else but blanks; false for anything else.
bool ParseNumber(const char* text, double& out) {
    if (!text)
        return false;
    char* end = nullptr;
    const double v = std::strtod(text, &end);
    if (end == text || !std::isfinite(v))
        return false;
    while (*end == ' ' || *end == '\t')
        ++end;
    if (*end != '\0')
        return false;
    out = v;
    return true;
}

} // namespace

IVNumberBoxControl::IVNumberBoxControl(const IRECT& bounds, int paramIdx, IActionFunction action,
                                       const char* label, const IVStyle& s, double initialValue,
                                       double lo, double hi, bool buttons, const char* format,
                                       bool triangle)
    : IContainerBase(bounds), IVectorBase(s), minValue(lo), maxValue(hi), realValue(initialValue),
      showButtons(buttons), showTriangle(triangle) {
    BindParam(paramIdx, 0);
    SetActionFunction(std::move(action));
    AttachIControl(this);
    SetLabelStr(label);
    valueFormat.SetBounded(format);
    mIncrementFunc = [this](IControl*) {
        realValue += coarseStep;
        UpdateValue(false);
    };
    mDecrementFunc = [this](IControl*) {
        realValue -= coarseStep;
        UpdateValue(false);
    };
}

IVNumberBoxControl::~IVNumberBoxControl() {
    // The buttons stay in the context's list; their step functions must not reach a freed box.
    for (IVButtonControl* button : {Live(incButton), Live(decButton)})
        if (button)
            button->SetAnimationEndActionFunction(nullptr);
}

void IVNumberBoxControl::OnInit() {
    if (const IParam* param = GetParam(0)) {
        minValue = param->Min();
        maxValue = param->Max();
        realValue = param->Default();
    }
}

void IVNumberBoxControl::LayOut() {
    const IRECT w = LayoutRects(drawRect);
    const float share = showButtons ? kTextShareWithButtons : 1.f;
    textRect.L = w.L + 1.f;
    textRect.T = w.T + 1.f;
    textRect.R = textRect.L + (w.R - 1.f - textRect.L) * share;
    textRect.B = w.B - 1.f;
    const float h = (textRect.B - textRect.T) / 2.f;
    incRect = {textRect.R + 2.f, textRect.T, w.R - 1.f, textRect.T + h - 1.f};
    decRect = {textRect.R + 2.f, textRect.B - h + 1.f, w.R - 1.f, textRect.B};
}

void IVNumberBoxControl::OnAddedToGraphics() {
    LayOut();
    IVStyle framed = style;
    framed.drawFrame = true;
    textControl =
        static_cast<IVLabelControl*>(AddChildControl(new IVLabelControl(textRect, "0", framed)));
    if (showButtons) {
        incButton = static_cast<IVButtonControl*>(
            AddChildControl(new IVButtonControl(incRect, splashClickAction, "+", style)));
        decButton = static_cast<IVButtonControl*>(
            AddChildControl(new IVButtonControl(decRect, splashClickAction, "-", style)));
        if (incButton)
            incButton->SetAnimationEndActionFunction(mIncrementFunc);
        if (decButton)
            decButton->SetAnimationEndActionFunction(mDecrementFunc);
    }
    ShowValue(realValue);
}

void IVNumberBoxControl::OnResize() {
    IContainerBase::OnResize();
    LayOut();
    targetRect = textRect;
    mouseIsOver = false;
    auto place = [](IControl* child, const IRECT& r) {
        if (!child)
            return;
        child->SetRECT(r);
        child->SetTargetRECT(r);
        child->OnResize();
    };
    place(Live(textControl), textRect);
    place(Live(incButton), incRect);
    place(Live(decButton), decRect);
}

double IVNumberBoxControl::Step(const IMouseMod& mod) const {
    return FineAdjustRequested(mod) ? fineStep : coarseStep;
}

void IVNumberBoxControl::OnMouseDown(float, float, const IMouseMod&) {
    if (hideCursorOnDrag && graphics)
        graphics->SetCursorHidden(true, true);
    if (GetParam(0) && delegate)
        delegate->BeginParamChangeFromUI(GetParamIdx(0));
    mouseDown = true;
}

void IVNumberBoxControl::OnMouseUp(float, float, const IMouseMod&) {
    if (hideCursorOnDrag && graphics)
        graphics->SetCursorHidden(false, true);
    if (GetParam(0) && delegate)
        delegate->EndParamChangeFromUI(GetParamIdx(0));
    mouseDown = false;
    SetDirty(true);
}

void IVNumberBoxControl::OnMouseDrag(float, float, float, float dY, const IMouseMod& mod) {
    realValue -= dY * Step(mod);
    UpdateValue(false);
}

void IVNumberBoxControl::OnMouseWheel(float, float, const IMouseMod& mod, float delta) {
    // A sideways trackpad scroll arrives with delta 0: it must not move the value.
    if (delta == 0.f)
        return;
    realValue += delta > 0.f ? Step(mod) : -Step(mod);
    UpdateValue(false);
}

void IVNumberBoxControl::OnMouseDoubleClick(float x, float y, const IMouseMod&) {
    IVLabelControl* shown = Live(textControl);
    if (disabled || !graphics || !shown || !textRect.ContainsPoint(x, y))
        return;
    graphics->BeginTextEntry(this, text, textRect, shown->GetString(), 0);
}

void IVNumberBoxControl::OnTextEntryFinished(const char* entered, int) {
    double typed = 0.0;
    if (!ParseNumber(entered, typed))
        return;
    realValue = typed;
    UpdateValue(false);
}

double IVNumberBoxControl::RealFromNormalised(double normalised) const {
    const IParam* param = GetParam(0);
    const double real = SnapToStep(*param, param->GetShape().NormalisedToValue(normalised, *param));
    return std::clamp(real, minValue, maxValue);
}

void IVNumberBoxControl::SetValueFromEditorSide(double normalised, int valIdx) {
    if (GetParam(0)) {
        realValue = RealFromNormalised(normalised);
        ShowValue(realValue);
        SetDirty(false);
    }
    IControl::SetValueFromEditorSide(normalised, valIdx);
}

void IVNumberBoxControl::SetValueFromTypedEntry(double normalised, int valIdx) {
    if (GetParam(0)) {
        realValue = RealFromNormalised(normalised);
        ShowValue(realValue);
    }
    IControl::SetValueFromTypedEntry(normalised, valIdx);
}

void IVNumberBoxControl::ShowValue(double value) {
    IVLabelControl* shown = Live(textControl);
    if (!shown)
        return;
    if (valueFormat.GetLength() == 0)
        shown->SetString("");
    else
        shown->SetStringFormatted(kMaxValueTextLength, valueFormat.Get(), value);
}

void IVNumberBoxControl::UpdateValue(bool fromDelegate) {
    realValue = std::clamp(realValue, minValue, maxValue);
    double shown = realValue;
    const IParam* param = GetParam(0);
    if (!fromDelegate && param) {
        shown = SnapToStep(*param, realValue);
        SetValue(NormalisedOf(*param, shown));
    }
    ShowValue(shown);
    SetDirty(!fromDelegate);
}

void IVNumberBoxControl::SetStyle(const IVStyle& s) {
    IVectorBase::SetStyle(s);
    if (IVLabelControl* shown = Live(textControl))
        shown->SetStyle(s);
    for (IVButtonControl* button : {Live(incButton), Live(decButton)})
        if (button)
            button->SetStyle(s);
}

void IVNumberBoxControl::Draw(ICanvas& g) {
    DrawLabel(g);
    if (mouseIsOver)
        g.FillRect(GetColor(kHL), textRect, nullptr);
    if (mouseDown)
        g.FillRect(GetColor(kFG), textRect, nullptr);
    if (showTriangle) {
        const IRECT& r = textRect;
        const IColor& color = mouseIsOver ? GetColor(kX1) : GetColor(kSH);
        g.FillTriangle(color, r.L + 2.f, r.T + 2.f, r.L + 2.f + (r.B - r.T - 4.f),
                       (r.T + r.B) / 2.f, r.L + 2.f, r.B - 2.f, nullptr);
    }
}

} // namespace vx::ui
