// Menus meeting windows: routing to a window view, each window's own menu
// bar, and popups answered to a window.
#include "winlayer/Menus.h"
#include "winlayer/window/MenuSlots.h"
#include "winlayer/window/TopLevel.h"
#include "winlayer/window/WindowCalls.h"
#include "winlayer/window/WindowView.h"

#include "platform/ak/Menu.h"

#include <algorithm>

using namespace winlayer;

namespace {

// A window view as the destination of menu choices: they arrive as
// WM_COMMAND, and a submenu about to open as WM_INITMENUPOPUP.
class WindowMenuTarget : public MenuDestination {
public:
    explicit WindowMenuTarget(HWND window) : window_(window) {}
    void OnMenuCommand(int id) override {
        if (IsWindow(window_))
            SendMessage(window_, WM_COMMAND, static_cast<WPARAM>(id), 0);
    }
    void OnMenuWillShow(HMENU menu) override {
        if (IsWindow(window_))
            SendMessage(window_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    }

private:
    HWND window_;
};

Wisp_vOmnarControl_hwnd* MenuHolder(HWND window) {
    return dynamic_cast<Wisp_vOmnarControl_hwnd*>(FindView(window));
}

// Shows the bar above the client area, which stays where it is: the frame
// grows upward, but its top never leaves the screen's visible frame.
void ShowBar(ak::Window& window, HMENU menu) {
    const ak::Rect before = window.Frame();
    const double clientBefore = window.ContentRect().size.height;
    window.SetMenuBar(AkMenu(menu));
    const double grown = clientBefore - window.ContentRect().size.height;
    if (grown == 0)
        return;
    ak::Rect frame = before;
    frame.size.height += grown;
    frame.origin.y -= grown;
    RECT visible{};
    const RECT source{int(before.MinX()), int(before.MinY()), int(before.MaxX()),
                      int(before.MaxY())};
    WISP_GetViewPort(&visible, &source, TRUE);
    if (grown > 0)
        frame.origin.y = std::max(frame.origin.y, double(visible.top));
    window.SetFrame(frame);
}

ak::View* PopupView(HWND window) {
    if (window)
        return FindView(window);
    const auto windows = ak::Window::OrderedWindows();
    return windows.empty() ? nullptr : windows.front()->ContentView();
}

} // namespace

void WISP_SetMenuDestination(HMENU menu, HWND destination) {
    if (!destination) {
        RouteMenu(menu, nullptr);
        return;
    }
    // Only window views take menu commands.
    if (Wisp_vOmnarControl_hwnd* view = MenuHolder(destination))
        RouteMenu(menu, std::make_shared<WindowMenuTarget>(view->Handle()));
}

BOOL SetMenu(HWND window, HMENU menu) {
    Wisp_vOmnarControl_hwnd* view = MenuHolder(window);
    if (!view || IsQuitting())
        return FALSE;
    view->wispSetMenu(menu);
    if (menu)
        WISP_SetMenuDestination(menu, view->Handle());
    ak::Window* top = view->GetWindow();
    if (!top || !view->isContentView())
        return TRUE;
    // Dialogs show no bar of their own.
    if (!dynamic_cast<ak::Panel*>(top))
        ShowBar(*top, menu);
    if (top->IsKeyWindow() && menu != WISP_GetCurrentMenu()) {
        SetCurrentMenu(menu);
        if (menu)
            SendMessage(view->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    }
    return TRUE;
}

HMENU GetMenu(HWND window) {
    Wisp_vOmnarControl_hwnd* view = MenuHolder(window);
    return view ? view->wispGetMenu() : nullptr;
}

void WISP_SetCurrentMenu(HMENU menu) {
    SetCurrentMenu(menu);
}

BOOL TrackPopupMenu(HMENU menu, int flags, int x, int y, int, HWND window) {
    ReleaseCapture();
    if (!menu)
        return 0;
    ak::View* view = PopupView(window);
    ak::Window* top = view ? view->GetWindow() : nullptr;
    if (!top)
        return 0;
    const ak::Point inWindow = top->ConvertPointFromScreen({double(x), double(y)});
    const ak::Point inView = view->ConvertPointFromView(inWindow, nullptr);
    std::shared_ptr<MenuDestination> target;
    if (window && IsWindow(window))
        target = std::make_shared<WindowMenuTarget>(window);
    return TrackPopupMenuIn(menu, flags, view, inView, target);
}
