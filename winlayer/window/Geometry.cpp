#include "platform/ak/Button.h"
#include "platform/ak/ComboBox.h"
#include "platform/ak/Control.h"
#include "platform/ak/PopUpButton.h"
#include "platform/ak/Slider.h"
#include "platform/ak/TextField.h"
#include "platform/ak/TextView.h"
#include "platform/ak/Window.h"
#include "winlayer/Placement.h"
#include "winlayer/WindowData.h"
#include "winlayer/window/ControlReports.h"
#include "winlayer/window/MetalView.h"
#include "winlayer/window/WindowCalls.h"
#include "winlayer/window/WindowView.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

using winlayer::FindObject;
using winlayer::FindView;
using winlayer::HandleOf;

namespace {

// Windows whose GetClientRect is asking WM_NCCALCSIZE now: a procedure that
// asks again gets the plain bounds instead of recursing.
std::vector<HWND> g_inClientQuery;

ak::View* ViewOrNull(HWND window) {
    return FindView(window);
}

void RestackView(ak::View& view, HWND after) {
    ak::View* parent = view.Superview();
    if (!parent || parent->Subviews().size() < 2 || after == HandleOf(&view))
        return;
    const auto& siblings = parent->Subviews();
    ak::View* anchor = nullptr; // place above this; null: on top
    const auto afterValue = reinterpret_cast<std::intptr_t>(after);
    if (afterValue == 0) {
        if (siblings.back().Get() == &view)
            return;
    } else if (afterValue == 1) {
        if (siblings.front().Get() == &view)
            return;
    } else if (afterValue == -1 || afterValue == -2) {
        return;
    } else {
        auto* other = dynamic_cast<ak::View*>(FindObject(after));
        if (!other || other->Superview() != parent)
            return;
        anchor = other;
    }
    if (auto* capture = dynamic_cast<ak::View*>(FindObject(GetCapture()));
        capture && capture->IsDescendantOf(&view))
        return;
    ak::Ref<ak::View> hold(&view);
    ak::Window* window = view.GetWindow();
    auto* first = window ? dynamic_cast<ak::View*>(window->FirstResponder()) : nullptr;
    const bool hadFocus = first && first->IsDescendantOf(&view);
    ak::Ref<ak::View> focus(first);
    // ak adds on top only: re-add the views that belong above, in order.
    std::vector<ak::Ref<ak::View>> order(siblings.begin(), siblings.end());
    std::erase(order, hold);
    if (afterValue == 1) {
        order.insert(order.begin(), hold);
    } else if (anchor) {
        auto it = std::find(order.begin(), order.end(), ak::Ref<ak::View>(anchor));
        order.insert(it + 1, hold);
    } else {
        order.push_back(hold);
    }
    std::size_t keep = 0;
    while (keep < order.size() && siblings[keep] == order[keep])
        ++keep;
    for (std::size_t i = keep; i < order.size(); ++i)
        parent->AddSubview(order[i].Get());
    if (hadFocus && window)
        window->MakeFirstResponder(focus.Get());
}

} // namespace

namespace winlayer {

BOOL WindowRectOf(HWND window, RECT* rect) {
    if (ak::Window* asWindow = winlayer::FindWindow(window)) {
        *rect = winlayer::RoundedRect(asWindow->Frame());
        return TRUE;
    }
    ak::View* view = ViewOrNull(window);
    if (!view)
        return FALSE;
    ak::Rect inWindow = view->ConvertRectToView(view->Bounds(), nullptr);
    if (ak::Window* host = view->GetWindow()) {
        const ak::Point origin = host->ConvertPointToScreen(inWindow.origin);
        inWindow.origin = origin;
    }
    *rect = winlayer::RoundedRect(inWindow);
    return TRUE;
}

BOOL ClientRectOf(HWND window, RECT* rect) {
    ak::View* view = ViewOrNull(window);
    if (!view)
        return FALSE;
    *rect = winlayer::RoundedRect(view->Bounds());
    if (std::find(g_inClientQuery.begin(), g_inClientQuery.end(), window) != g_inClientQuery.end())
        return TRUE;
    NCCALCSIZE_PARAMS params{};
    params.rgrc[0] = *rect;
    g_inClientQuery.push_back(window);
    SendMessage(window, WM_NCCALCSIZE, 0, reinterpret_cast<LPARAM>(&params));
    g_inClientQuery.pop_back();
    const RECT& asked = params.rgrc[0];
    rect->right = rect->left + (asked.right - asked.left);
    rect->bottom = rect->top + (asked.bottom - asked.top);
    return TRUE;
}

BOOL SetWindowPosOf(HWND window, HWND after, int x, int y, int width, int height, UINT flags) {
    ak::Window* asWindow = winlayer::FindWindow(window);
    ak::View* view = asWindow ? nullptr : dynamic_cast<ak::View*>(FindObject(window));
    if (!asWindow && !view)
        return FALSE;
    if (view && !(flags & SWP_NOZORDER))
        RestackView(*view, after);
    if ((flags & SWP_KEEPPOSITION) && (flags & SWP_KEEPSIZE))
        return TRUE;
    ak::Rect frame = asWindow ? asWindow->Frame() : view->Frame();
    if (!(flags & SWP_KEEPPOSITION))
        frame.origin = {double(float(x)), double(float(y))};
    if (!(flags & SWP_KEEPSIZE))
        frame.size = {double(float(width)), double(float(std::abs(height)))};
    if (asWindow) {
        ak::Ref<ak::Window> hold(asWindow);
        asWindow->SetFrame(frame); // clamped to the limits WM_GETMINMAXINFO gives
        asWindow->DisplayIfNeeded();
    } else {
        ak::Ref<ak::View> hold(view);
        view->SetFrame(frame);
    }
    return TRUE;
}

} // namespace winlayer

HWND GetWindow(HWND window, UINT command) {
    ak::View* view = ViewOrNull(window);
    if (!view)
        return nullptr;
    ak::Window* host = view->GetWindow();
    const bool content = host && host->ContentView() == view;
    ak::View* parent = view->Superview();
    switch (command) {
    case 0:
    case 1:
        if (content || !parent)
            return HandleOf(view);
        return HandleOf(command == 0 ? parent->Subviews().front().Get()
                                     : parent->Subviews().back().Get());
    case 2:
    case 3: {
        if (content || !parent)
            return nullptr;
        const auto& siblings = parent->Subviews();
        auto it = std::find(siblings.begin(), siblings.end(), ak::Ref<ak::View>(view));
        if (command == 2)
            return it + 1 < siblings.end() ? HandleOf((it + 1)->Get()) : nullptr;
        return it != siblings.begin() ? HandleOf((it - 1)->Get()) : nullptr;
    }
    case 4:
        return content ? GetParent(window) : HandleOf(parent);
    case 5:
        return view->Subviews().empty() ? nullptr : HandleOf(view->Subviews().front().Get());
    default:
        return nullptr;
    }
}

HWND SetFocus(HWND window) {
    const HWND previous = GetFocus();
    ak::Responder* object = FindObject(window);
    if (auto* asWindow = dynamic_cast<ak::Window*>(object)) {
        asWindow->MakeFirstResponder(asWindow->ContentView());
        if (asWindow->IsVisible())
            asWindow->MakeKeyAndOrderFront();
    } else if (auto* view = dynamic_cast<ak::View*>(object)) {
        ak::Ref<ak::View> hold(view);
        ak::Window* host = view->GetWindow();
        if (host && host->IsVisible())
            host->MakeKeyAndOrderFront();
        if (host && view->AcceptsFirstResponder())
            host->MakeFirstResponder(view);
    }
    return previous;
}

HWND SetForegroundWindow(HWND window) {
    return SetFocus(window);
}

BOOL EnableWindow(HWND window, int enable) {
    ak::View* view = ViewOrNull(window);
    auto* windowView = dynamic_cast<Wisp_vOmnarControl_hwnd*>(view);
    auto* control = dynamic_cast<ak::Control*>(view);
    if (!windowView && !control)
        return FALSE;
    ak::Ref<ak::View> hold(view);
    if (enable == 0) {
        auto* focus = dynamic_cast<ak::View*>(FindObject(GetFocus()));
        if (focus && focus->IsDescendantOf(view))
            SetFocus(GetParent(window));
    }
    constexpr int kEnableWithoutFocus = -1000;
    if (windowView && enable == kEnableWithoutFocus)
        windowView->setEnabledWispNoFocus();
    else if (windowView)
        windowView->setEnabled(enable != 0);
    else
        control->SetEnabled(enable != 0);
    return TRUE;
}

int GetWindowTextLength(HWND window) {
    char buffer[2048];
    return GetDlgItemText(window, 0, buffer, sizeof buffer) ? int(std::strlen(buffer)) : 0;
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
    auto* button = dynamic_cast<ak::Button*>(FindObject(GetDlgItem(dialog, id)));
    if (!button)
        return FALSE;
    button->SetState((check & 2) ? -1 : int(check & 1));
    return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
    auto* button = dynamic_cast<ak::Button*>(FindObject(GetDlgItem(dialog, id)));
    if (!button)
        return 0;
    return button->State() < 0 ? 2 : UINT(button->State());
}

BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) {
    char text[128];
    if (isSigned)
        std::snprintf(text, sizeof text, "%d", int(value));
    else
        std::snprintf(text, sizeof text, "%u", value);
    return SetDlgItemText(dialog, id, text);
}

UINT GetDlgItemInt(HWND dialog, int id, BOOL* ok, BOOL isSigned) {
    char text[128];
    if (!GetDlgItemText(dialog, id, text, sizeof text)) {
        if (ok)
            *ok = FALSE;
        return 0;
    }
    return UINT(winlayer::ParseDialogInt(text, ok, isSigned));
}

BOOL InvalidateRect(HWND window, const RECT* rect, BOOL) {
    if (!window)
        return FALSE;
    ak::View* view = ViewOrNull(window);
    if (!view)
        return TRUE;
    if (auto* own = dynamic_cast<Wisp_vOmnarControl_hwnd*>(view); own && own->metal()) {
        winlayer::MetalNeedsRefresh(own, rect, false);
        return TRUE;
    }
    if (!rect) {
        view->SetNeedsDisplay();
        return TRUE;
    }
    view->SetNeedsDisplayInRect(
        {{double(rect->left), double(std::min(rect->top, rect->bottom))},
         {double(rect->right - rect->left), double(std::abs(rect->bottom - rect->top))}});
    return TRUE;
}

BOOL UpdateWindow(HWND window) {
    ak::View* view = ViewOrNull(window);
    if (view && view->GetWindow())
        view->GetWindow()->DisplayIfNeeded();
    return view ? TRUE : FALSE;
}

void* GetProp(HWND window, const char* name) {
    auto* view = dynamic_cast<Wisp_vOmnarControl_hwnd*>(ViewOrNull(window));
    return view ? view->props().get(name, false) : nullptr;
}

void* RemoveProp(HWND window, const char* name) {
    auto* view = dynamic_cast<Wisp_vOmnarControl_hwnd*>(ViewOrNull(window));
    return view ? view->props().get(name, true) : nullptr;
}

BOOL SetProp(HWND window, const char* name, void* data) {
    auto* view = dynamic_cast<Wisp_vOmnarControl_hwnd*>(ViewOrNull(window));
    return view && view->props().set(name, data) ? TRUE : FALSE;
}

int EnumPropsEx(HWND window, winlayer::WindowProps::EnumProc proc, LPARAM lParam) {
    auto* view = dynamic_cast<Wisp_vOmnarControl_hwnd*>(ViewOrNull(window));
    return view ? view->props().enumerate(window, proc, lParam) : -1;
}

int GetClassName(HWND window, char* buffer, int size) {
    if (!buffer || size < 1)
        return 0;
    ak::Responder* object = FindObject(window);
    std::string name;
    if (auto* view = dynamic_cast<Wisp_vOmnarControl_hwnd*>(object))
        name = view->getWispClass() ? view->getWispClass() : "";
    else if (auto* named = dynamic_cast<winlayer::WispClassNamed*>(object))
        name = named->getWispClass();
    else if (dynamic_cast<ak::Button*>(object))
        name = "Button";
    else if (auto* field = dynamic_cast<ak::TextField*>(object))
        name = field->Kind() == ak::TextFieldKind::Label ? "Static" : "Edit";
    else if (dynamic_cast<ak::TextView*>(object))
        name = "Edit";
    else if (dynamic_cast<ak::PopUpButton*>(object) || dynamic_cast<ak::ComboBox*>(object))
        name = "combobox";
    else if (dynamic_cast<ak::TabView*>(object))
        name = "SysTabControl32";
    else if (dynamic_cast<ak::ProgressIndicator*>(object))
        name = "msctls_progress32";
    const std::size_t count = std::min(name.size(), std::size_t(size - 1));
    std::memcpy(buffer, name.data(), count);
    buffer[count] = '\0';
    return int(count);
}

void WISP_SetClassName(HWND window, const char* name) {
    if (auto* view = dynamic_cast<Wisp_vOmnarControl_hwnd*>(FindObject(window)))
        view->setWispClass(name);
}

int WISP_SetWindowLevel(HWND window, int level) {
    ak::Window* asWindow = winlayer::FindWindow(window);
    if (!asWindow)
        if (auto* view = dynamic_cast<ak::View*>(FindObject(window)))
            asWindow = view->GetWindow();
    if (!asWindow)
        return 0;
    const int old = asWindow->Level();
    asWindow->SetLevel(level);
    return old;
}

void SetOpaque(HWND window, BOOL opaque) {
    if (auto* view = dynamic_cast<Wisp_vOmnarControl_hwnd*>(FindObject(window)))
        view->setOpaque(opaque != FALSE);
}

BOOL EnumChildWindows(HWND window, BOOL (*callback)(HWND, LPARAM), LPARAM lParam) {
    ak::View* view = ViewOrNull(window);
    if (!view || !callback)
        return view ? TRUE : FALSE;
    const std::vector<ak::Ref<ak::View>> children = view->Subviews();
    for (const auto& child : children) {
        if (!callback(HandleOf(child.Get()), lParam))
            return FALSE;
        if (!EnumChildWindows(HandleOf(child.Get()), callback, lParam))
            return FALSE;
    }
    return TRUE;
}
