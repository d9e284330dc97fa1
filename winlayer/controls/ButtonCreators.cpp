// Push buttons, check boxes, radio buttons and group boxes of the Button class.
#include "platform/ak/Window.h"
#include "winlayer/InputRecords.h"
#include "winlayer/Placement.h"
#include "winlayer/controls/BuildState.h"
#include "winlayer/controls/ControlCalls.h"
#include "winlayer/controls/DialogControls.h"
#include "winlayer/controls/StyleBits.h"
#include "winlayer/draw/Gdi.h"
#include "winlayer/window/WindowCalls.h"
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

// An owner-drawn button asks its parent's procedure to draw it, through a
// context around the widget's cairo context.
void PaintOwnerDrawn(Wisp_vOmnarControl_button& button, cairo_t* cr, ak::Rect bounds) {
    HDC hdc = WISP_WrapGraphicsContext(cr);
    if (!hdc)
        return;
    const HWND handle = HandleOf(&button);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = static_cast<std::uint32_t>(button.Tag());
    item.hwndItem = handle;
    item.hDC = hdc;
    item.rcItem = RoundedRect(bounds);
    SendMessage(GetParent(handle), WM_DRAWITEM, static_cast<WPARAM>(button.Tag()),
                reinterpret_cast<LPARAM>(&item));
    WISP_DeleteGfxContext(hdc);
}

// What the style asks of a button once it has its title: a bitmap button
// shows its image only, BS_LEFTTEXT puts a mark after the title, an
// owner-drawn button is painted by the parent's procedure.
void ApplyButtonStyle(Wisp_vOmnarControl_button& button, int style) {
    switch (button.Kind()) {
    case ak::ButtonKind::Push:
        if (style & BS_BITMAP)
            button.SetImagePosition(ak::ImagePosition::Only);
        break;
    case ak::ButtonKind::Check:
    case ak::ButtonKind::Radio:
        if (style & BS_LEFTTEXT)
            button.SetImagePosition(ak::ImagePosition::Right);
        break;
    case ak::ButtonKind::OwnerDraw:
        button.SetPainter(
            [&button](cairo_t* cr, ak::Rect bounds, bool) { PaintOwnerDrawn(button, cr, bounds); });
        break;
    }
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
    ApplyButtonStyle(*button, style);
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
    ApplyButtonStyle(*button, style);
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

LRESULT Wisp_vOmnarControl_button::wispImageMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // Only the bitmap kind (IMAGE_BITMAP 0) and icons (1) are held.
    if (wParam > 1)
        return 0;
    const auto held = reinterpret_cast<LRESULT>(gdiImage_);
    if (message == BM_SETIMAGE) {
        auto* object = reinterpret_cast<HGDIOBJ>(lParam);
        auto* image = static_cast<ak::Image*>(GetNSImageFromHICON(object));
        SetImage(image);
        gdiImage_ = image ? object : nullptr;
    }
    return held;
}

Wisp_vOmnarControl_box::Wisp_vOmnarControl_box(ak::Rect frame, int etchMode)
    : ak::Box(frame, etchMode == SS_ETCHEDHORZ    ? ak::BoxKind::HorizontalLine
                     : etchMode == SS_ETCHEDVERT  ? ak::BoxKind::VerticalLine
                     : etchMode == SS_ETCHEDFRAME ? ak::BoxKind::EtchedFrame
                                                  : ak::BoxKind::Titled),
      etchMode_(etchMode) {}
