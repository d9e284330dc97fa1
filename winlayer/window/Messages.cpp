#include "platform/ak/Button.h"
#include "platform/ak/ComboBox.h"
#include "platform/ak/TextField.h"
#include "platform/ak/Window.h"
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

// The native-control answers of SendMessage for objects without a message entry.
LRESULT AnswerForNativeControl(ak::Responder* object, UINT message, WPARAM wParam) {
    if (auto* button = dynamic_cast<ak::Button*>(object)) {
        if (message == BM_SETCHECK) {
            button->SetState((wParam & kMixedBit) ? -1 : int(wParam & 1));
            return 0;
        }
        if (message == BM_GETCHECK)
            return button->State() < 0 ? 2 : button->State();
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
    return AnswerForNativeControl(object, message, wParam);
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
