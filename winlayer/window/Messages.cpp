#include "platform/ak/Button.h"
#include "platform/ak/ComboBox.h"
#include "platform/ak/PopUpButton.h"
#include "platform/ak/Slider.h"
#include "platform/ak/TextField.h"
#include "platform/ak/Window.h"
#include "platform/sys/Utf8.h"
#include "winlayer/controls/DialogControls.h"
#include "winlayer/controls/EditMessages.h"
#include "winlayer/window/NativeText.h"
#include "winlayer/window/TopLevel.h"
#include "winlayer/window/WindowCalls.h"
#include "winlayer/window/WindowView.h"

#include <cstring>

using winlayer::FindObject;
using winlayer::FindView;
using winlayer::HandleOf;

namespace {

constexpr WPARAM kMixedBit = 2;

constexpr UINT kComboFirst = 323, kComboLast = 353;
constexpr UINT kSliderFirst = 1024, kSliderLast = 1030;
constexpr int kAddPosition = -1000;
constexpr int kTextBufferSize = 0x100000;

// Combo rows go through the combo calls with control id 0: the handle is the control.
LRESULT AnswerForCombo(HWND combo, int count, int selected, UINT message, WPARAM wParam,
                       LPARAM lParam) {
    const int index = int(wParam);
    const auto text = reinterpret_cast<const char*>(lParam);
    switch (message) {
    case CB_ADDSTRING:
        return WISP_CB_InsertString(combo, 0, kAddPosition, text);
    case CB_DELETESTRING:
        WISP_CB_DeleteString(combo, 0, index);
        return 1;
    case CB_GETCOUNT:
        return count;
    case CB_GETCURSEL:
        return selected;
    case CB_GETLBTEXT:
        return WISP_CB_GetItemText(combo, 0, index, reinterpret_cast<char*>(lParam),
                                   kTextBufferSize);
    case CB_GETLBTEXTLEN:
        return WISP_CB_GetItemText(combo, 0, index, nullptr, 0);
    case CB_INSERTSTRING:
        return WISP_CB_InsertString(combo, 0, index, text);
    case CB_RESETCONTENT:
        WISP_CB_Empty(combo, 0);
        return 0;
    case CB_FINDSTRING:
    case CB_FINDSTRINGEXACT:
        return text ? WISP_CB_FindString(combo, 0, index, text, message == CB_FINDSTRINGEXACT) : -1;
    case CB_SETCURSEL:
        WISP_CB_SetCurSel(combo, 0, index);
        return 0;
    case CB_GETITEMDATA:
        return WISP_CB_GetItemData(combo, 0, index);
    case CB_SETITEMDATA:
        WISP_CB_SetItemData(combo, 0, index, lParam);
        return 0;
    default:
        return 0;
    }
}

LRESULT AnswerForSlider(HWND slider, UINT message, LPARAM lParam) {
    switch (message) {
    case TBM_GETPOS:
        return WISP_TB_GetPos(slider, 0);
    case TBM_SETTIC:
        WISP_TB_SetTic(slider, 0, int(lParam));
        return 1;
    case TBM_SETPOS:
        WISP_TB_SetPos(slider, 0, int(lParam));
        return 1;
    case TBM_SETRANGE:
        WISP_TB_SetRange(slider, 0, int(lParam & 0xFFFF), int((lParam >> 16) & 0xFFFF));
        return 1;
    default:
        return 0;
    }
}

// Selections exist only while the field is being edited (it has the focus).
LRESULT AnswerForField(ak::TextField& field, UINT message, WPARAM wParam, LPARAM lParam) {
    ak::Window* window = field.GetWindow();
    const bool editing = window && window->FirstResponder() == &field;
    if (message == winlayer::EM_GETSEL) {
        winlayer::WriteEditSelection(editing ? field.Selection() : std::pair{0, 0}, wParam, lParam);
    } else if (message == winlayer::EM_SETSEL && editing) {
        const auto [start, length] =
            winlayer::EditSelectionFor(int(sys::Utf8ToUtf32(field.Text()).size()), wParam, lParam);
        field.SetSelection(start, length);
    }
    return 0;
}

// The native-control answers of SendMessage for objects without a message entry.
LRESULT AnswerForNativeControl(ak::Responder* object, UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND handle = HandleOf(object);
    if (message >= kComboFirst && message <= kComboLast) {
        if (auto* popUp = dynamic_cast<ak::PopUpButton*>(object))
            return AnswerForCombo(handle, popUp->Count(), popUp->SelectedIndex(), message, wParam,
                                  lParam);
        if (auto* combo = dynamic_cast<ak::ComboBox*>(object))
            return AnswerForCombo(handle, combo->Count(), combo->SelectedIndex(), message, wParam,
                                  lParam);
    }
    if (message >= kSliderFirst && message <= kSliderLast && dynamic_cast<ak::Slider*>(object))
        return AnswerForSlider(handle, message, lParam);
    if (message == winlayer::WM_SETFONT) {
        if (auto* control = dynamic_cast<ak::Control*>(object))
            winlayer::SetFontFromHandle(*control, reinterpret_cast<HFONT>(wParam));
        return 0;
    }
    if (auto* field = dynamic_cast<ak::TextField*>(object))
        return AnswerForField(*field, message, wParam, lParam);
    if (auto* button = dynamic_cast<ak::Button*>(object)) {
        if (message == BM_SETCHECK) {
            button->SetState((wParam & kMixedBit) ? -1 : int(wParam & 1));
            return 0;
        }
        if (message == BM_GETCHECK)
            return button->State() < 0 ? 2 : button->State();
        if (auto* own = dynamic_cast<Wisp_vOmnarControl_button*>(button);
            own && (message == BM_GETIMAGE || message == BM_SETIMAGE))
            return own->wispImageMessage(message, wParam, lParam);
    }
    return 0;
}

bool IsContentView(const ak::View* view) {
    return view && view->GetWindow() && view->GetWindow()->ContentView() == view;
}

} // namespace

LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ak::Responder* object = FindObject(window);
    if (!object)
        return 0;
    ak::Ref<ak::Responder> hold(object);
    if (auto* target = dynamic_cast<winlayer::WispMessageTarget*>(object))
        return target->onWispMessage(message, wParam, lParam);
    if (auto* asWindow = dynamic_cast<ak::Window*>(object))
        if (auto* content = dynamic_cast<winlayer::WispMessageTarget*>(asWindow->ContentView()))
            return content->onWispMessage(message, wParam, lParam);
    return AnswerForNativeControl(object, message, wParam, lParam);
}

HWND GetDlgItem(HWND dialog, int controlId) {
    ak::View* parent = FindView(dialog);
    if (!parent)
        return nullptr;
    if (controlId == 0)
        return HandleOf(parent);
    for (const auto& subview : parent->Subviews()) {
        if (auto* view = dynamic_cast<Wisp_vOmnarControl_hwnd*>(subview.Get());
            view && view->tag() == controlId)
            return HandleOf(view);
        if (auto* control = dynamic_cast<ak::Control*>(subview.Get());
            control && control->Tag() == controlId)
            return HandleOf(control);
    }
    return nullptr;
}

BOOL GetDlgItemText(HWND window, int id, char* buffer, int size) {
    if (buffer == nullptr || size < 1)
        return FALSE;
    buffer[0] = '\0';
    if (id != 0)
        window = GetDlgItem(window, id);
    ak::Responder* object = FindObject(window);
    if (!object)
        return FALSE;
    if (auto* view = dynamic_cast<ak::View*>(object); IsContentView(view))
        object = view->GetWindow();
    std::string text;
    if (auto* windowView = dynamic_cast<Wisp_vOmnarControl_hwnd*>(object))
        text = windowView->onWispGetText();
    else if (auto native = winlayer::NativeText(object))
        text = *native;
    else
        return FALSE;
    const std::size_t count = std::min(text.size(), std::size_t(size - 1));
    std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
    return TRUE;
}

BOOL SetDlgItemText(HWND window, int id, const char* text) {
    if (id != 0)
        window = GetDlgItem(window, id);
    ak::Responder* object = FindObject(window);
    if (!object)
        return FALSE;
    ak::Ref<ak::Responder> hold(object);
    const std::string value = text ? text : "";
    if (auto* view = dynamic_cast<ak::View*>(object); IsContentView(view))
        SetDlgItemText(HandleOf(view->GetWindow()), 0, text);
    if (auto* windowView = dynamic_cast<Wisp_vOmnarControl_hwnd*>(object)) {
        windowView->onWispSetText(value.c_str());
        return TRUE;
    }
    if (!winlayer::SetNativeText(object, value))
        return FALSE;
    // A program's change of an edit field reads as an edit; a combo's does not.
    if (auto* field = dynamic_cast<ak::TextField*>(object);
        field && field->Kind() != ak::TextFieldKind::Label) {
        const WPARAM command = (WPARAM(EN_CHANGE) << 16) + WPARAM(field->Tag() & 0xFFFF);
        SendMessage(GetParent(window), WM_COMMAND, command, reinterpret_cast<LPARAM>(window));
    }
    return TRUE;
}

BOOL IsWindowEnabled(HWND window) {
    ak::View* view = FindView(window);
    if (auto* windowView = dynamic_cast<Wisp_vOmnarControl_hwnd*>(view))
        return windowView->isEnabled() ? TRUE : FALSE;
    if (auto* control = dynamic_cast<ak::Control*>(view))
        return control->IsEnabled() ? TRUE : FALSE;
    return FALSE;
}

HWND GetParent(HWND window) {
    ak::Responder* object = FindObject(window);
    auto* asWindow = dynamic_cast<ak::Window*>(object);
    if (auto* view = dynamic_cast<ak::View*>(object)) {
        if (!IsContentView(view))
            return HandleOf(view->Superview());
        asWindow = view->GetWindow();
    }
    if (auto* top = winlayer::AsTopLevel(asWindow); top && top->owner()) {
        if (auto* ownerWindow = dynamic_cast<ak::Window*>(FindObject(top->owner())))
            return HandleOf(ownerWindow->ContentView());
        return top->owner();
    }
    return nullptr;
}

void ScreenToClient(HWND window, POINT* point) {
    ak::View* view = FindView(window);
    if (!point || !view || !view->GetWindow())
        return;
    const ak::Point inWindow =
        view->GetWindow()->ConvertPointFromScreen({double(point->x), double(point->y)});
    const ak::Point local = view->ConvertPointFromView(inWindow, nullptr);
    *point = {ak::PixelEdge(local.x), ak::PixelEdge(local.y)};
}

void ClientToScreen(HWND window, POINT* point) {
    ak::View* view = FindView(window);
    if (!point || !view || !view->GetWindow())
        return;
    const ak::Point inWindow =
        view->ConvertPointToView({double(point->x), double(point->y)}, nullptr);
    const ak::Point onScreen = view->GetWindow()->ConvertPointToScreen(inWindow);
    *point = {ak::PixelEdge(onScreen.x), ak::PixelEdge(onScreen.y)};
}
