#include "controls/IVTabSwitchControl.h"

#include "framework/IParam.h"
#include "toolkit/ICanvas.h"

#include <algorithm>

namespace vx::ui {

IVTabSwitchControl::IVTabSwitchControl(const IRECT& bounds, int paramIdx,
                                       std::initializer_list<const char*> options,
                                       const char* label, const IVStyle& s, EVShape shp,
                                       EDirection dir)
    : ISwitchControlBase(bounds, paramIdx, splashClickAction, static_cast<int>(options.size())),
      IVectorBase(s), direction(dir) {
    SetUp(options, label, shp);
}

IVTabSwitchControl::IVTabSwitchControl(const IRECT& bounds, IActionFunction action,
                                       std::initializer_list<const char*> options,
                                       const char* label, const IVStyle& s, EVShape shp,
                                       EDirection dir)
    : ISwitchControlBase(bounds, -1, std::move(action), static_cast<int>(options.size())),
      IVectorBase(s), direction(dir) {
    SetUp(options, label, shp);
}

void IVTabSwitchControl::SetUp(std::initializer_list<const char*> options, const char* label,
                               EVShape shp) {
    AttachIControl(this);
    SetLabelStr(label);
    text = style.valueText;
    style.valueText.align = text.align = 1;
    style.valueText.vAlign = text.vAlign = 1;
    shape = shp;
    for (const char* option : options)
        tabLabels.push_back(std::make_unique<VxString>(option ? option : ""));
}

int IVTabSwitchControl::SelectedIndex() const {
    return static_cast<int>(GetValue(0) * (numStates - 1) + 0.5);
}

IVTabSwitchControl::ESegment IVTabSwitchControl::SegmentOf(int i) const {
    if (i == numStates - 1)
        return kLast;
    return i == 0 ? kFirst : kMiddle;
}

void IVTabSwitchControl::Draw(ICanvas& g) {
    DrawBackground(g, drawRect);
    DrawLabel(g);
    DrawControlBody(g);
}

void IVTabSwitchControl::DrawControlBody(ICanvas& g) {
    const int n = std::min(numStates, static_cast<int>(buttons.size()));
    const int selected = SelectedIndex();
    for (int i = 0; i < n; ++i) {
        const IRECT& r = buttons[static_cast<size_t>(i)];
        const bool pressed = i == selected, over = i == mouseOverButton;
        DrawButton(g, r, pressed, over, SegmentOf(i), OptionDisabled(i));
        if (i < NTabLabels())
            DrawButtonText(g, r, pressed, over, SegmentOf(i),
                           tabLabels[static_cast<size_t>(i)]->Get(), OptionDisabled(i));
    }
}

void IVTabSwitchControl::DrawButton(ICanvas& g, const IRECT& r, bool pressed, bool mouseOver,
                                    ESegment position, bool isDisabled) {
    const bool horizontal = direction == EDirection::Horizontal;
    const bool first = position == kFirst, last = position == kLast;
    switch (shape) {
    case EVShape::EndsRounded:
        if (horizontal)
            DrawPushableRectangle(g, r, pressed, mouseOver, isDisabled, first, last, false, false);
        else
            DrawPushableRectangle(g, r, pressed, mouseOver, isDisabled, false, first, false, last);
        break;
    case EVShape::AllRounded:
        if (horizontal)
            DrawPushableRectangle(g, r, pressed, mouseOver, isDisabled, true, true, false, false);
        else
            DrawPushableRectangle(g, r, pressed, mouseOver, isDisabled, false, true, false, true);
        break;
    default:
        DrawPushableShape(g, shape, r, pressed, mouseOver, isDisabled);
        break;
    }
}

void IVTabSwitchControl::DrawButtonText(ICanvas& g, const IRECT& r, bool, bool, ESegment,
                                        const char* str, bool) {
    if (str && *str)
        g.DrawText(style.valueText, str, r, &blend);
}

int IVTabSwitchControl::GetButtonForPoint(float x, float y) const {
    for (size_t i = 0; i < buttons.size(); ++i)
        if (buttons[i].ContainsPoint(x, y))
            return static_cast<int>(i);
    return -1;
}

bool IVTabSwitchControl::ContainsPoint(float x, float y) const {
    return GetButtonForPoint(x, y) >= 0;
}

void IVTabSwitchControl::OnMouseDown(float x, float y, const IMouseMod&) {
    const int i = GetButtonForPoint(x, y);
    // One option is always the first and the last.
    if (i >= 0)
        SetValue(numStates > 1 ? static_cast<double>(i) / (numStates - 1) : 0.0);
    SetDirty(true);
}

void IVTabSwitchControl::OnMouseOver(float x, float y, const IMouseMod& mod) {
    mouseOverButton = GetButtonForPoint(x, y);
    IControl::OnMouseOver(x, y, mod);
    SetDirty(false);
}

void IVTabSwitchControl::OnMouseOut() {
    mouseOverButton = -1;
    IControl::OnMouseOut();
    SetDirty(false);
}

void IVTabSwitchControl::OnResize() {
    targetRect = LayoutRects(drawRect, false);
    mouseIsOver = false;
    buttons.clear();
    const IRECT& w = widgetBounds;
    const int n = numStates;
    for (int i = 0; i < n; ++i) {
        const float fi = static_cast<float>(i);
        if (direction == EDirection::Horizontal) {
            const float bw = w.W() / static_cast<float>(n);
            buttons.push_back({w.L + fi * bw, w.T, w.L + fi * bw + bw, w.B});
        } else {
            const float bh = w.H() / static_cast<float>(n);
            buttons.push_back({w.L, w.T + fi * bh, w.R, w.T + fi * bh + bh});
        }
    }
    SetDirty(false);
}

void IVTabSwitchControl::OnInit() {
    ISwitchControlBase::OnInit();
    const IParam* param = GetParam(0);
    if (!param)
        return;
    if (tabLabels.empty()) {
        for (int i = 0; i < numStates; ++i) {
            const char* shown = param->DisplayTextFor(static_cast<double>(i));
            tabLabels.push_back(std::make_unique<VxString>(shown ? shown : ""));
        }
    }
    if (labelStr.GetLength() == 0)
        SetLabelStr(param->Name());
}

const char* IVTabSwitchControl::GetSelectedLabelStr() const {
    const int i = SelectedIndex();
    if (i < 0 || i >= NTabLabels())
        return "";
    return tabLabels[static_cast<size_t>(i)]->Get();
}

IVRadioButtonControl::IVRadioButtonControl(const IRECT& bounds, int paramIdx,
                                           std::initializer_list<const char*> options,
                                           const char* label, const IVStyle& s, EVShape shp,
                                           EDirection dir, float size)
    : IVTabSwitchControl(bounds, paramIdx, options, label, s, shp, dir) {
    SetUp(size);
}

IVRadioButtonControl::IVRadioButtonControl(const IRECT& bounds, IActionFunction action,
                                           std::initializer_list<const char*> options,
                                           const char* label, const IVStyle& s, EVShape shp,
                                           EDirection dir, float size)
    : IVTabSwitchControl(bounds, std::move(action), options, label, s, shp, dir) {
    SetUp(size);
}

void IVRadioButtonControl::SetUp(float size) {
    buttonSize = size;
    buttonAreaWidth = 3.f * size;
    style.valueText.align = text.align = 0;
    style.valueText.vAlign = text.vAlign = 1;
}

void IVRadioButtonControl::DrawControlBody(ICanvas& g) {
    const int n = std::min(numStates, static_cast<int>(buttons.size()));
    const int selected = SelectedIndex();
    const float side = std::max(1.f, buttonSize);
    for (int i = 0; i < n; ++i) {
        const IRECT& row = buttons[static_cast<size_t>(i)];
        const IRECT area = ButtonArea(row);
        const IRECT button{area.MW() - side / 2.f, area.MH() - side / 2.f, area.MW() + side / 2.f,
                           area.MH() + side / 2.f};
        DrawButton(g, button, i == selected, i == mouseOverButton, kMiddle, OptionDisabled(i));
        if (i >= NTabLabels())
            continue;
        IText optionText = style.valueText;
        optionText.FGColor = GetColor(i == selected ? kPR : kX1);
        g.DrawText(optionText, tabLabels[static_cast<size_t>(i)]->Get(),
                   {row.L + buttonAreaWidth, row.T, row.R, row.B}, &blend);
    }
}

int IVRadioButtonControl::GetButtonForPoint(float x, float y) const {
    if (!onlyButtonsRespondToMouse)
        return IVTabSwitchControl::GetButtonForPoint(x, y);
    for (size_t i = 0; i < buttons.size(); ++i)
        if (ButtonArea(buttons[i]).ContainsPoint(x, y))
            return static_cast<int>(i);
    return -1;
}

} // namespace vx::ui
