// Life of the context, size and scale, value prompts and popup menus.
#include "toolkit/ICanvas.h"

#include "framework/IParam.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace vx::ui {

namespace {

bool IsDisplayText(const IParam& param, const char* text) {
    for (int i = 0; i < param.DisplayTextCount(); ++i)
        if (std::strcmp(param.DisplayTextAt(i), text ? text : "") == 0)
            return true;
    return false;
}

double ParseTyped(const char* text) {
    return std::strtod(text ? text : "", nullptr);
}

} // namespace

// The view's pixel size: the scaled panel truncated to whole units, then the window's scale.
void ICanvas::RequestNativeSize(bool needsPlatformResize) {
    const float native = NativeWindowScale();
    const int pw = static_cast<int>(native * float(static_cast<int>(float(width) * drawScale)));
    const int ph = static_cast<int>(native * float(static_cast<int>(float(height) * drawScale)));
    ResizeNativeView(delegate.RequestEditorResize(pw, ph, needsPlatformResize));
}

void ICanvas::SetScaleLimits(float a, float b) {
    minScale = std::min(a, b);
    maxScale = std::max(a, b);
}

void ICanvas::Resize(int w, int h, float scale, bool needsPlatformResize) {
    delegate.ConstrainEditorSize(w, h);
    scale = std::min(maxScale, std::max(minScale, scale));
    if (w == width && h == height && scale == drawScale)
        return;
    ClearMouseCapture();
    drawScale = scale;
    width = w;
    height = h;
    if (cornerResizer)
        cornerResizer->OnRescale();
    RequestNativeSize(needsPlatformResize);
    ForAllControls(&IControl::OnResize);
    MarkAllControlsDirty();
    RebuildBackBuffer();
    if (layoutOnResize)
        delegate.RunLayoutFunc(this);
}

void ICanvas::SetScreenScale(float scale) {
    screenScale = scale;
    RequestNativeSize(true);
    ForAllControls(&IControl::OnRescale);
    MarkAllControlsDirty();
    RebuildBackBuffer();
}

void ICanvas::OpenValueEntry(IControl* control, const IRECT& bounds, int valIdx) {
    const IParam* param = control ? control->GetParam(valIdx) : nullptr;
    if (!param)
        return;
    const bool menu = param->Type() == IParam::kTypeEnum ||
                      (param->Type() == IParam::kTypeBool && param->DisplayTextCount() > 0);
    VxString current;
    if (menu) {
        param->FormatDisplay(param->CurrentValue(), false, current, true);
        promptMenu.Clear();
        for (int i = 0; i < param->DisplayTextCount(); ++i) {
            const char* text = param->DisplayTextAt(i);
            const bool checked = std::strcmp(text, current.Get()) == 0;
            promptMenu.AddItem(text, checked ? IPopupMenu::kChecked : 0);
        }
        promptMenu.SetTitle(param->Name());
        OpenPopupMenu(control, promptMenu, bounds, valIdx, false);
        return;
    }
    param->FormatDisplay(param->CurrentValue(), false, current, false);
    if (control->GetShowParamLabel()) {
        current.AppendBounded(" ");
        current.AppendBounded(param->Label());
    }
    BeginTextEntry(control, control->GetText(), bounds, current.Get(), valIdx);
}

void ICanvas::BeginTextEntry(IControl* control, const IText& text, const IRECT& bounds,
                             const char* initial, int valIdx) {
    inTextEntry = control;
    textEntryValIdx = valIdx;
    const int paramIdx = valIdx < 0 ? -1 : control->GetParamIdx(valIdx);
    if (textEntryControl)
        textEntryControl->StartEdit(paramIdx, text, bounds, control->GetTextEntryLength(), initial);
    else
        ShowNativeTextEntry(paramIdx, text, bounds, control->GetTextEntryLength(), initial);
    control->SetDirty(false, -1);
}

void ICanvas::ApplyTextEntryValue(const char* text) {
    IControl* control = inTextEntry;
    if (!control)
        return;
    const IParam* param = textEntryValIdx >= 0 ? control->GetParam(textEntryValIdx) : nullptr;
    inTextEntry = nullptr;
    if (!param) {
        control->OnTextEntryFinished(text, textEntryValIdx);
        return;
    }
    // "inf" or "nan" typed into a number changes nothing rather than pinning the value.
    const double value = param->ValueFromText(text);
    if (!std::isfinite(value) || (!IsDisplayText(*param, text) && !std::isfinite(ParseTyped(text))))
        return;
    // ToNormalised steps, clamps to the range, maps and clamps to 0..1.
    control->SetValueFromTypedEntry(param->ToNormalised(value), textEntryValIdx);
}

void ICanvas::OpenPopupMenu(IControl* control, IPopupMenu& menu, const IRECT& bounds, int valIdx,
                            bool isContext) {
    ClearMouseCapture();
    if (popupMenuControl && popupMenuControl->GetState() != IPopupMenuControl::kCollapsed) {
        // The in-panel menu takes one menu at a time. The one on screen keeps its opener, or
        // its choice would go to this control; this request is answered at once without a choice.
        menu.SetChosenItemIdx(-1);
        if (const IPopupMenu::CompletionFunc completion = menu.GetCompletion())
            completion(&menu);
        DeliverMenuChoice(control, &menu, valIdx, isContext);
        return;
    }
    inPopupMenu = control;
    popupValIdx = valIdx;
    isContextMenu = isContext;
    if (popupMenuControl) {
        popupMenuControl->Show(menu, bounds);
        return;
    }
    bool answersLater = false;
    IPopupMenu* result = ShowNativePopupMenu(menu, answersLater, bounds);
    if (!answersLater)
        ApplyPopupMenuChoice(result);
}

void ICanvas::ApplyPopupMenuChoice(IPopupMenu* result) {
    IControl* control = inPopupMenu;
    if (!control)
        return;
    // Cleared first: a menu the choice opens (answered later) keeps its own opener.
    inPopupMenu = nullptr;
    DeliverMenuChoice(control, result, popupValIdx, isContextMenu);
}

void ICanvas::DeliverMenuChoice(IControl* control, IPopupMenu* result, int valIdx, bool isContext) {
    if (!control)
        return;
    const std::vector<int> params = BoundParams(control);
    if (isContext)
        control->OnContextMenuChoice(result ? result->GetChosenItemIdx() : -1);
    else
        control->OnMenuChoice(result && result->GetChosenItemIdx() >= 0 ? result : nullptr, valIdx);
    for (int paramIdx : params)
        delegate.EndParamChangeFromUI(paramIdx);
}

void ICanvas::ForwardPopupMenuEvent() {
    if (inPopupMenu)
        inPopupMenu->OnPopupMenuEvent();
}

void ICanvas::OnAppearanceChanged(int dark) {
    if (appearanceCallback)
        appearanceCallback(dark);
}

void ICanvas::AddToIntList(int kind) {
    if (std::find(gestureKinds.begin(), gestureKinds.end(), kind) == gestureKinds.end())
        gestureKinds.push_back(kind);
}

} // namespace vx::ui
