#include "platform/ak/Application.h"
#include "platform/ak/Button.h"
#include "platform/ak/Menu.h"
#include "platform/ak/OutlineView.h"
#include "platform/ak/PopUpButton.h"
#include "platform/ak/Screen.h"
#include "platform/ak/TableView.h"
#include "platform/ak/Window.h"
#include "winlayer/Placement.h"
#include "winlayer/WindowData.h"
#include "winlayer/draw/Gdi.h"
#include "winlayer/window/WindowCalls.h"
#include "winlayer/window/WindowView.h"

using winlayer::FindObject;
using winlayer::FindView;
using winlayer::HandleOf;

namespace {

HWND g_capture = nullptr;
bool g_captureWantsNotice = false;

constexpr LRESULT kKeyToControl = 1;
constexpr LRESULT kKeyPassedOn = 69;
constexpr LPARAM kKeyModifierBits = 0x38; // FCONTROL, FALT, the Control key
constexpr LPARAM kVirtualKeyFlag = 1;
constexpr WPARAM kTab = 9;
constexpr WPARAM kLeft = 37, kUp = 38, kRight = 39, kDown = 40;

LPARAM PackPoint(int x, int y) {
    return (LPARAM(y) << 16) | (x & 0xFFFF);
}

RECT ToRect(ak::Rect r) {
    return winlayer::RoundedRect(r);
}

// Scroll wheels and context menus climb to the first window view above.
LRESULT PassUp(ak::View* view, UINT message, WPARAM wParam, LPARAM lParam) {
    ak::View* content = view && view->GetWindow() ? view->GetWindow()->ContentView() : nullptr;
    for (ak::View* v = view; v && v != content; v = v->Superview())
        if (ak::View* above = v->Superview();
            above && dynamic_cast<winlayer::WispMessageTarget*>(above))
            return SendMessage(HandleOf(above), message, wParam, lParam);
    return 0;
}

void SendContextMenuAt(HWND window, ak::View* view, LPARAM clientPoint) {
    POINT point{static_cast<std::int16_t>(clientPoint & 0xFFFF),
                static_cast<std::int16_t>((clientPoint >> 16) & 0xFFFF)};
    ClientToScreen(window, &point);
    HWND target = window;
    auto* hit = dynamic_cast<ak::View*>(FindObject(WindowFromPoint(point)));
    if (hit && hit->IsDescendantOf(view))
        target = HandleOf(hit);
    SendMessage(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(target),
                PackPoint(point.x, point.y));
}

LRESULT KeyAnswer(ak::View* view, WPARAM key, LPARAM flags) {
    if ((flags & kKeyModifierBits) || (key == kTab && (flags & kVirtualKeyFlag)))
        return kKeyPassedOn;
    ak::Window* window = view ? view->GetWindow() : nullptr;
    ak::Responder* first = window ? window->FirstResponder() : nullptr;
    if (dynamic_cast<ak::TableView*>(first) || dynamic_cast<ak::OutlineView*>(first))
        return kKeyToControl;
    const bool arrow = key >= kLeft && key <= kDown;
    if (arrow && dynamic_cast<ak::PopUpButton*>(first))
        return key == kLeft || key == kRight ? kKeyToControl : kKeyPassedOn;
    if (arrow && dynamic_cast<ak::Button*>(first))
        return kKeyToControl;
    return kKeyPassedOn;
}

LRESULT HitTestClient(HWND window, LPARAM lParam) {
    RECT frame{};
    GetWindowRect(window, &frame);
    NCCALCSIZE_PARAMS params{};
    params.rgrc[0] = frame;
    SendMessage(window, WM_NCCALCSIZE, 0, reinterpret_cast<LPARAM>(&params));
    const int x = static_cast<std::int16_t>(lParam & 0xFFFF);
    const int y = static_cast<std::int16_t>((lParam >> 16) & 0xFFFF);
    const RECT& client = params.rgrc[0];
    return x >= client.left && x < client.right && y >= client.top && y < client.bottom ? 1 : 0;
}

} // namespace

LRESULT DefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ak::View* view = FindView(window);
    switch (message) {
    case WM_CONTEXTMENU:
    case WM_GESTURE:
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
        return PassUp(view, message, wParam, lParam);
    case WM_NCHITTEST:
        return HitTestClient(window, lParam);
    case WM_NCRBUTTONUP:
        SendMessage(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), lParam);
        return 1;
    case WM_RBUTTONUP:
        if (view)
            SendContextMenuAt(window, view, lParam);
        return 1;
    case WM_KEYDOWN:
    case WM_KEYUP:
        return KeyAnswer(view, wParam, lParam);
    case WM_DISPLAYCHANGE:
        if (view) {
            const std::vector<ak::Ref<ak::View>> subviews = view->Subviews();
            for (const auto& subview : subviews)
                if (auto* target = dynamic_cast<winlayer::WispMessageTarget*>(subview.Get()))
                    target->onWispMessage(message, wParam, lParam);
            view->SetNeedsDisplay();
        }
        return 0;
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<LRESULT>(winlayer::DarkStaticColors(reinterpret_cast<HDC>(wParam)));
    default:
        return 0;
    }
}

BOOL EndPaint(HWND, const PAINTSTRUCT*) {
    return TRUE;
}

HWND GetCapture() {
    return g_capture;
}

HWND SetCapture(HWND window) {
    const HWND previous = g_capture;
    const bool previousWanted = g_captureWantsNotice;
    g_capture = window;
    // Window views ask to hear when they lose the capture.
    g_captureWantsNotice = dynamic_cast<Wisp_vOmnarControl_hwnd*>(FindObject(window)) != nullptr;
    if (previous && previousWanted && previous != window)
        SendMessage(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(window));
    return previous;
}

BOOL ReleaseCapture() {
    const HWND holder = std::exchange(g_capture, nullptr);
    const bool wanted = std::exchange(g_captureWantsNotice, false);
    if (holder && wanted)
        SendMessage(holder, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetFocus() {
    ak::Window* key = ak::Window::KeyWindow();
    if (!key)
        return nullptr;
    if (auto* first = dynamic_cast<ak::View*>(key->FirstResponder()))
        return HandleOf(first);
    return HandleOf(key->ContentView());
}

BOOL IsWindow(HWND window) {
    return winlayer::IsLiveWindowHandle(window) ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND window) {
    ak::Responder* object = FindObject(window);
    if (auto* asWindow = dynamic_cast<ak::Window*>(object))
        return asWindow->IsVisible() ? TRUE : FALSE;
    if (auto* view = dynamic_cast<ak::View*>(object)) {
        if (view->GetWindow() && !view->GetWindow()->IsVisible())
            return FALSE;
        return view->IsHiddenOrHasHiddenAncestor() ? FALSE : TRUE;
    }
    return FALSE;
}

HWND WindowFromPoint(POINT onScreen) {
    std::vector<ak::Ref<ak::Window>> windows = ak::Window::OrderedWindows();
    if (ak::Window* key = ak::Window::KeyWindow();
        key && std::find(windows.begin(), windows.end(), ak::Ref<ak::Window>(key)) == windows.end())
        windows.insert(windows.begin(), ak::Ref<ak::Window>(key));
    const ak::Point point{double(onScreen.x), double(onScreen.y)};
    for (const auto& window : windows) {
        ak::View* content = window->ContentView();
        if (!window->IsVisible() || !content || !window->Frame().Contains(point))
            continue;
        if (SendMessage(HandleOf(content), WM_NCHITTEST, 0, PackPoint(onScreen.x, onScreen.y)) ==
            -1)
            continue;
        ak::View* hit = content->HitTest(window->ConvertPointFromScreen(point));
        return HandleOf(hit ? hit : content);
    }
    return nullptr;
}

void WISP_GetViewPort(RECT* out, const RECT* source, BOOL workArea) {
    if (!out)
        return;
    const std::vector<ak::Screen> screens = ak::Screen::All();
    auto area = [&](const ak::Screen& s) { return workArea ? s.VisibleFrame() : s.Frame(); };
    if (screens.empty()) {
        *out = {0, 0, 1600, 1200};
        return;
    }
    if (screens.size() < 2 || !source) {
        *out = ToRect(area(ak::Screen::Main()));
        return;
    }
    std::vector<ak::Rect> frames;
    for (const ak::Screen& screen : screens)
        frames.push_back(screen.Frame());
    const std::size_t best = winlayer::ChooseScreen(frames, *source);
    *out = ToRect(area(screens[best]));
}

namespace {
constexpr int kMenuBarHeight = 15;
} // namespace

int GetSystemMetrics(int index) {
    const std::vector<ak::Screen> screens = ak::Screen::All();
    switch (index) {
    case 0:
        return screens.empty() ? 1024 : ak::PixelEdge(ak::Screen::Main().Frame().size.width);
    case 1:
        return screens.empty() ? 1024 : ak::PixelEdge(ak::Screen::Main().Frame().size.height);
    case 2:
    case 3:
    case 20:
    case 21:
        return 16;
    case kMenuBarHeight:
        return screens.empty() ? 0 : ak::PixelEdge(ak::MenuBarHeight());
    default:
        return 0;
    }
}
