// Push buttons, check boxes, radio buttons and group boxes of the Button class.
#include "platform/ak/Window.h"
#include "winlayer/controls/BuildState.h"
#include "winlayer/controls/ControlCalls.h"
#include "winlayer/controls/DialogControls.h"
#include "winlayer/controls/StyleBits.h"
#include "winlayer/window/WindowView.h"

using namespace winlayer;

namespace {

ak::ButtonKind KindOf(int buttonType) {
    switch (buttonType) {
    case BS_AUTOCHECKBOX:
    case BS_AUTO3STATE:
        return ak::ButtonKind::Check;
    case BS_AUTORADIOBUTTON:
        return ak::ButtonKind::Radio;
    case BS_OWNERDRAW:
        return ak::ButtonKind::OwnerDraw;
    default:
        return ak::ButtonKind::Push;
    }
}

// A radio button opens a group with WS_GROUP, or after anything that is not
// a button of the layer, or after a button that opened one.
int RadioGroupFor(const ak::View& parent, int style) {
    const auto& siblings = parent.Subviews();
    const auto* last =
        siblings.empty() ? nullptr : dynamic_cast<const WispButtonFlags*>(siblings.back().Get());
    int& counter = BuildParms().radioGroup;
    if ((style & WS_GROUP) || !last || (last->wispRadioFlags() & kFirstOfGroup))
        ++counter;
    return counter;
}

HWND MakeKindOfButton(const char* caption, int id, int x, int y, int w, int h, int style) {
    ak::View* parent = BuildParent();
    if (!parent)
        return nullptr;
    const int type = style & 0xF;
    const ControlFrame frame = ScaleControlRect(BuildParms(), x, y, w, h, ShiftRequest::Shift);
    auto button = ak::MakeRef<Wisp_vOmnarControl_button>(ToRect(frame), KindOf(type));
    button->setWispStyle(style);
    if (type == BS_AUTO3STATE)
        button->SetAllowsMixedState(true);
    if (type == BS_AUTORADIOBUTTON) {
        button->wispSetRadioFlags(kRadioButton | ((style & WS_GROUP) ? kFirstOfGroup : 0));
        button->SetRadioGroup(RadioGroupFor(*parent, style));
    }
    if (KindOf(type) == ak::ButtonKind::Push && (style & 0x300) == BS_LEFT)
        button->SetAlignment(ak::TextAlignment::Left);
    ApplyScaleFont(*button);
    button->SetTag(id);
    button->SetTitle(CaptionText(caption));
    const HWND handle = AddToParent(*parent, *button, style);
    if (type != BS_OWNERDRAW && BuildParms().sizeToFit)
        button->SizeToFit();
    MeasureShift(*button);
    return handle;
}

} // namespace

HWND WISP_MakeButton(int isDefault, const char* caption, int id, int x, int y, int w, int h,
                     int style) {
    ak::View* parent = BuildParent();
    if (!parent)
        return nullptr;
    auto button = ak::MakeRef<Wisp_vOmnarControl_button>(
        ToRect(ScaleControlRect(BuildParms(), x, y, w, h, ShiftRequest::Shift)),
        ak::ButtonKind::Push);
    button->setWispStyle(style);
    ApplyScaleFont(*button);
    button->SetTag(id);
    button->SetTitle(CaptionText(caption));
    if ((style & 0x300) == BS_LEFT)
        button->SetAlignment(ak::TextAlignment::Left);
    const HWND handle = AddToParent(*parent, *button, style);
    MeasureShift(*button);
    if (isDefault && parent->GetWindow())
        parent->GetWindow()->SetDefaultButton(button.Get());
    return handle;
}

HWND WISP_MakeCheckBox(const char* caption, int id, int x, int y, int w, int h, int style) {
    return WISP_MakeControl(caption, id, "Button", style | 3, x, y, w, h, 0);
}

HWND WISP_MakeGroupBox(const char* caption, int id, int x, int y, int w, int h, int style) {
    ak::View* parent = BuildParent();
    if (!parent)
        return nullptr;
    // The box reaches one unit above and two below the rectangle given.
    const ControlFrame frame =
        ScaleControlRect(BuildParms(), x, y - 1, w, h + 3, ShiftRequest::None);
    auto box = ak::MakeRef<Wisp_vOmnarControl_box>(ToRect(frame), 0);
    box->SetTitle(CaptionText(caption));
    box->SetTitleCentered((style & 0x300) == BS_CENTER);
    box->SetTag(id);
    parent->AddSubviewAtBack(box.Get());
    return HandleOf(box.Get());
}

namespace winlayer {

HWND MakeButtonClass(const char* caption, int id, int style, int x, int y, int w, int h) {
    if (style & BS_KIND_GROUPBOX)
        return WISP_MakeGroupBox(caption, id, x, y, w, h, style & ~BS_KIND_GROUPBOX);
    if (style & BS_KIND_DEFPUSH)
        return WISP_MakeButton(1, caption, id, x, y, w, h,
                               style & ~(BS_KIND_DEFPUSH | BS_KIND_GROUPBOX));
    if (style & BS_KIND_PUSH)
        return WISP_MakeButton(0, caption, id, x, y, w, h, style & ~BS_KIND_MASK);
    return MakeKindOfButton(caption, id, x, y, w, h, style);
}

} // namespace winlayer

Wisp_vOmnarControl_box::Wisp_vOmnarControl_box(ak::Rect frame, int etchMode)
    : ak::Box(frame, etchMode == SS_ETCHEDHORZ    ? ak::BoxKind::HorizontalLine
                     : etchMode == SS_ETCHEDVERT  ? ak::BoxKind::VerticalLine
                     : etchMode == SS_ETCHEDFRAME ? ak::BoxKind::EtchedFrame
                                                  : ak::BoxKind::Titled),
      etchMode_(etchMode) {}
