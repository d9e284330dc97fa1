// Edit fields, labels and static texts.
#include "platform/sys/Utf8.h"
#include "winlayer/controls/BuildState.h"
#include "winlayer/controls/ControlCalls.h"
#include "winlayer/controls/DialogControls.h"
#include "winlayer/controls/EditMessages.h"
#include "winlayer/controls/StyleBits.h"
#include "winlayer/window/WindowCalls.h"
#include "winlayer/window/WindowView.h"

#include <cstdlib>
#include <cstring>
#include <string>

using namespace winlayer;

namespace {

// Labels taller than this many dialog units wrap; so do edit fields taller
// than their own limit.
constexpr int kLabelOneLineHeight = 12;
constexpr int kEditOneLineHeight = 19;

ak::Ref<Wisp_vOmnarControl_textfield> NewLabel(ControlFrame frame, const char* caption) {
    auto label = ak::MakeRef<Wisp_vOmnarControl_textfield>(ToRect(frame), ak::TextFieldKind::Label);
    label->SetEditable(false);
    label->SetSelectable(false);
    ApplyScaleFont(*label);
    if (caption && *caption)
        label->SetText(CaptionText(caption));
    return label;
}

} // namespace

HWND WISP_MakeLabel(int alignment, const char* caption, int id, int x, int y, int w, int h,
                    int style) {
    ak::View* parent = BuildParent();
    if (!parent)
        return nullptr;
    auto label = NewLabel(ScaleControlRect(BuildParms(), x, y, w, h, ShiftRequest::Shift), caption);
    label->setWispStyle(style);
    label->SetAlignment(alignment < 0    ? ak::TextAlignment::Left
                        : alignment == 0 ? ak::TextAlignment::Center
                                         : ak::TextAlignment::Right);
    label->SetWraps(h > kLabelOneLineHeight);
    label->wispSetReportsClicks(style & SS_NOTIFY);
    label->SetTag(id);
    const HWND handle = AddToParent(*parent, *label, style);
    if (BuildParms().sizeToFit == 1 && caption && std::strlen(caption) > 1)
        label->SizeToFit();
    MeasureShift(*label);
    return handle;
}

namespace {

// Multi-line: the text view keeps its own scrollers, shown when needed;
// lines wrap unless a horizontal scroller is asked for.
HWND MakeMultiLineEdit(ak::View& parent, ControlFrame frame, int id, int style) {
    auto text = ak::MakeRef<Wisp_vOmnarControl_textview>(ToRect(frame));
    text->SetEditable(!(style & ES_READONLY));
    text->SetWraps(!(style & WS_HSCROLL_STYLE));
    ApplyScaleFont(*text);
    text->SetTag(id);
    const HWND handle = AddToParent(parent, *text, style);
    MeasureShift(*text);
    return handle;
}

} // namespace

HWND WISP_MakeEditField(int id, int x, int y, int w, int h, int style) {
    ak::View* parent = BuildParent();
    if (!parent)
        return nullptr;
    const ControlFrame frame = ScaleControlRect(BuildParms(), x, y, w, h, ShiftRequest::Shift);
    if (style & (WS_HSCROLL_STYLE | WS_VSCROLL_STYLE))
        return MakeMultiLineEdit(*parent, frame, id, style);
    // Fields taller than one line wrap their text; a password stays on one.
    const bool password = (style & ES_PASSWORD) != 0;
    auto field = ak::MakeRef<Wisp_vOmnarControl_textfield>(
        ToRect(frame), password ? ak::TextFieldKind::Secure : ak::TextFieldKind::Editable,
        !password && std::abs(h) > kEditOneLineHeight);
    field->setWispStyle(style);
    field->SetEditable(!(style & ES_READONLY));
    field->SetSelectable(true);
    field->SetContextMenuEnabled(true);
    ApplyScaleFont(*field);
    field->SetAlignment((style & ES_CENTER)  ? ak::TextAlignment::Center
                        : (style & ES_RIGHT) ? ak::TextAlignment::Right
                                             : ak::TextAlignment::Left);
    field->SetTag(id);
    const HWND handle = AddToParent(*parent, *field, style);
    MeasureShift(*field);
    return handle;
}

void Wisp_vOmnarControl_textfield::MouseDown(const ak::Event& event) {
    if (!reportsClicks_ || !IsEnabled())
        return ak::TextField::MouseDown(event);
    FireAction();
}

LRESULT Wisp_vOmnarControl_textview::onWispMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETFONT:
        SetFontFromHandle(*this, reinterpret_cast<HFONT>(wParam));
        break;
    case EM_GETSEL:
        WriteEditSelection(Selection(), wParam, lParam);
        break;
    case EM_SETSEL: {
        const auto [start, length] =
            EditSelectionFor(int(sys::Utf8ToUtf32(Text()).size()), wParam, lParam);
        SetSelection(start, length);
        break;
    }
    case EM_SCROLL:
        if (wParam == SB_BOTTOM)
            ScrollToEnd();
        else if (wParam == SB_TOP)
            ScrollToStart();
        break;
    case EM_REPLACESEL:
        ReplaceText(reinterpret_cast<const char*>(lParam));
        break;
    default:
        break;
    }
    return 0;
}

// An empty text deletes a selection; another replaces it, or fills an empty view.
void Wisp_vOmnarControl_textview::ReplaceText(const char* text) {
    if (!text)
        return;
    if (!*text) {
        if (Selection().second > 0)
            ReplaceSelection("");
    } else if (Text().empty()) {
        SetText(text);
    } else {
        ReplaceSelection(text);
    }
}

namespace winlayer {

HWND MakeStaticClass(const char* caption, int id, int style, int x, int y, int w, int h) {
    ak::View* parent = BuildParent();
    if (!parent)
        return nullptr;
    const int kind = style & 0x1F;
    if (kind == SS_ETCHEDHORZ || kind == SS_ETCHEDVERT || kind == SS_ETCHEDFRAME) {
        const ControlFrame frame = ScaleControlRect(BuildParms(), x, y, w, h, ShiftRequest::None);
        auto box = ak::MakeRef<Wisp_vOmnarControl_box>(ToRect(frame), kind);
        box->SetTag(id);
        parent->AddSubview(box.Get());
        return HandleOf(box.Get());
    }
    // Static texts shift and record, but are not measured afterwards.
    auto text = NewLabel(ScaleControlRect(BuildParms(), x, y, w, h, ShiftRequest::Shift), caption);
    text->setWispStyle(style);
    text->SetAlignment(kind == SS_CENTER  ? ak::TextAlignment::Center
                       : kind == SS_RIGHT ? ak::TextAlignment::Right
                                          : ak::TextAlignment::Left);
    text->SetWraps(kind != SS_LEFTNOWORDWRAP);
    text->SetTag(id);
    if (kind == SS_BLACKRECT)
        text->SetHidden(true);
    return AddToParent(*parent, *text, style);
}

} // namespace winlayer

// Edit fields, multi-line edits and editable combo boxes.
void WISP_DisableContextMenu(HWND window, BOOL disable) {
    ak::Responder* object = winlayer::FindObject(window);
    if (auto* text = dynamic_cast<ak::TextView*>(object))
        text->SetContextMenuEnabled(!disable);
    else if (auto* field = dynamic_cast<ak::TextField*>(object))
        field->SetContextMenuEnabled(!disable);
    else if (auto* combo = dynamic_cast<ak::ComboBox*>(object))
        combo->SetContextMenuEnabled(!disable);
}
