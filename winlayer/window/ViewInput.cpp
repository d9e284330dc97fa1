// A window view's mouse, wheel, key and gesture events as messages to its
// procedure.
#include "platform/ak/Event.h"
#include "platform/ak/Window.h"
#include "winlayer/InputRecords.h"
#include "winlayer/Runtime.h"
#include "winlayer/draw/Cursors.h"
#include "winlayer/window/WindowCalls.h"
#include "winlayer/window/WindowView.h"

using winlayer::FindView;
using winlayer::HandleOf;

namespace {

bool IsWheel(UINT message) {
    return message == WM_MOUSEWHEEL || message == WM_MOUSEHWHEEL;
}

bool IsClientMouseMessage(UINT message) {
    return message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK;
}

bool AsksForCursor(UINT message) {
    return message == WM_MOUSEMOVE || message == WM_LBUTTONUP || message == WM_RBUTTONUP ||
           message == WM_MBUTTONUP;
}

bool Alive(Wisp_vOmnarControl_hwnd* view) {
    return view && !view->wispHasBeenDestroyed() && view->getWispWindowProc();
}

void ShowArrowCursor() {
    HCURSOR arrow = WISP_LoadCursor(IDC_ARROW);
    if (arrow && ak::Cursor::Current() != arrow)
        arrow->Set();
}

// The window view holding the capture in the view's own window, other than the view.
Wisp_vOmnarControl_hwnd* CapturingSibling(Wisp_vOmnarControl_hwnd* view) {
    auto* holder = dynamic_cast<Wisp_vOmnarControl_hwnd*>(FindView(GetCapture()));
    if (!holder || holder == view || holder->GetWindow() != view->GetWindow())
        return nullptr;
    return holder;
}

// Where the event happened on the screen. The pointer may have moved on
// since (or, with input injected, never have been there).
LPARAM EventScreenPos(const ak::Event& event) {
    const ak::Point at = event.window ? event.window->ConvertPointToScreen(event.locationInWindow)
                                      : event.locationInWindow;
    return static_cast<LPARAM>(
        winlayer::PackMessagePos(winlayer::RoundCoordinate(at.x), winlayer::RoundCoordinate(at.y)));
}

} // namespace

LRESULT WISP_DispatchMouseMessage(Wisp_vOmnarControl_hwnd* view, UINT message,
                                  const ak::Event& event) {
    if (Wisp_vOmnarControl_hwnd* holder = view ? CapturingSibling(view) : nullptr)
        view = holder;
    if (!Alive(view))
        return -1;
    ak::Ref<ak::View> hold(view);
    const HWND self = view->Handle();
    const ak::Point at = MouseEventPosition(message, view, event);
    const bool captured = GetCapture() != nullptr;
    int hit = HTCLIENT;
    if (!captured && !IsWheel(message)) {
        const LPARAM messagePos = EventScreenPos(event);
        const LRESULT answer = view->onWispMessage(WM_NCHITTEST, 0, messagePos);
        if (!Alive(view))
            return -1;
        if (answer != HTCLIENT && IsClientMouseMessage(message))
            return view->onWispMessage(message - (WM_MOUSEMOVE - WM_NCMOUSEMOVE), WPARAM(answer),
                                       messagePos);
    }
    if (IsWheel(message)) {
        const double delta = message == WM_MOUSEWHEEL ? event.deltaY : event.deltaX;
        const auto wParam = winlayer::WheelParam(delta);
        return wParam ? view->onWispMessage(message, *wParam, EventScreenPos(event)) : 0;
    }
    const LRESULT result = view->onWispMessage(message, 0, winlayer::PackClientPoint(at.x, at.y));
    if (AsksForCursor(message) && !GetCapture() && Alive(view)) {
        const LPARAM where = LPARAM((WPARAM(message) << 16) | WPARAM(hit));
        if (view->onWispMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(self), where) == 0)
            ShowArrowCursor();
    }
    return result;
}

void Wisp_vOmnarControl_hwnd::MouseDown(const ak::Event& event) {
    if (!isEnabled())
        return;
    if ((event.modifierFlags & ak::ModifierFlag::Control) && winlayer::RightClickEmulation()) {
        RightMouseDown(event);
        // Every emulated press, double clicks too, so its release is a right one.
        fakeRightMouse_ = true;
        return;
    }
    WISP_FinishDragDrop(); // a new press starts afresh
    WISP_DispatchMouseMessage(this, event.clickCount < 2 ? WM_LBUTTONDOWN : WM_LBUTTONDBLCLK,
                              event);
}

void Wisp_vOmnarControl_hwnd::MouseUp(const ak::Event& event) {
    if (!isEnabled())
        return;
    if (fakeRightMouse_) {
        RightMouseUp(event);
        return;
    }
    WISP_DispatchMouseMessage(this, WM_LBUTTONUP, event);
}

void Wisp_vOmnarControl_hwnd::MouseDragged(const ak::Event& event) {
    if (!isEnabled())
        return;
    WISP_DispatchMouseMessage(this, WM_MOUSEMOVE, event);
    HCURSOR wanted = WISP_GetLastSetCursor();
    if (wanted && wanted != WISP_GetCursor())
        WISP_SetCursor(wanted);
}

void Wisp_vOmnarControl_hwnd::RightMouseDragged(const ak::Event& event) {
    MouseDragged(event);
}

void Wisp_vOmnarControl_hwnd::RightMouseDown(const ak::Event& event) {
    fakeRightMouse_ = false;
    ak::Ref<ak::View> hold(this);
    if (GetWindow() && !GetWindow()->IsKeyWindow())
        SetFocus(Handle());
    WISP_DispatchMouseMessage(this, event.clickCount < 2 ? WM_RBUTTONDOWN : WM_RBUTTONDBLCLK,
                              event);
}

void Wisp_vOmnarControl_hwnd::RightMouseUp(const ak::Event& event) {
    if (!isEnabled())
        return;
    fakeRightMouse_ = false;
    WISP_DispatchMouseMessage(this, WM_RBUTTONUP, event);
}

void Wisp_vOmnarControl_hwnd::OtherMouseDown(const ak::Event& event) {
    ak::Ref<ak::View> hold(this);
    if (GetWindow() && !GetWindow()->IsKeyWindow())
        SetFocus(Handle());
    WISP_DispatchMouseMessage(this, event.clickCount < 2 ? WM_MBUTTONDOWN : WM_MBUTTONDBLCLK,
                              event);
}

void Wisp_vOmnarControl_hwnd::OtherMouseUp(const ak::Event& event) {
    if (isEnabled())
        WISP_DispatchMouseMessage(this, WM_MBUTTONUP, event);
}

// GTK already sends motion to the view under the pointer, so only the last
// step of the platform's walk is left.
void Wisp_vOmnarControl_hwnd::MouseMoved(const ak::Event& event) {
    const HWND holder = GetCapture();
    if (isEnabled() && (!holder || holder == Handle()))
        WISP_DispatchMouseMessage(this, WM_MOUSEMOVE, event);
}

void Wisp_vOmnarControl_hwnd::ScrollWheel(const ak::Event& event) {
    if (!isEnabled())
        return;
    ak::Ref<ak::View> hold(this);
    if (event.deltaY != 0)
        WISP_DispatchMouseMessage(this, WM_MOUSEWHEEL, event);
    if (event.deltaX != 0)
        WISP_DispatchMouseMessage(this, WM_MOUSEHWHEEL, event);
}

void Wisp_vOmnarControl_hwnd::sendKey(UINT message, const ak::Event& event) {
    int flags = 0;
    const int key = WISP_MacKeyToWindowsKey(&event, &flags);
    if (canTakeMessages()) {
        ak::Ref<ak::View> hold(this);
        if (onWispMessage(message, WPARAM(key), LPARAM(flags)) != kPassKeyOn)
            return;
    }
    if (message == WM_KEYDOWN)
        ak::View::KeyDown(event);
    else
        ak::View::KeyUp(event);
}

void Wisp_vOmnarControl_hwnd::KeyDown(const ak::Event& event) {
    sendKey(WM_KEYDOWN, event);
}

void Wisp_vOmnarControl_hwnd::KeyUp(const ak::Event& event) {
    sendKey(WM_KEYUP, event);
}

void Wisp_vOmnarControl_hwnd::sendGesture(std::uint32_t id, const ak::Event& event,
                                          std::uint64_t beginArgument, std::uint64_t endArgument,
                                          POINT endLocation) {
    if (!canTakeMessages())
        return;
    ak::Ref<ak::View> hold(this);
    GESTUREINFO info{};
    info.cbSize = sizeof(GESTUREINFO);
    info.dwFlags = GF_BEGIN;
    info.dwID = id;
    info.hwndTarget = Handle();
    const ak::Point onScreen = event.window
                                   ? event.window->ConvertPointToScreen(event.locationInWindow)
                                   : event.locationInWindow;
    info.ptsLocation = {winlayer::GestureCoordinate(onScreen.x),
                        winlayer::GestureCoordinate(onScreen.y)};
    info.ullArguments = beginArgument;
    onWispMessage(WM_GESTURE, 0, reinterpret_cast<LPARAM>(&info));
    if (!canTakeMessages())
        return;
    info.dwFlags = GF_END;
    info.ullArguments = endArgument;
    if (id == GID_PAN)
        info.ptsLocation = {winlayer::GestureCoordinate(endLocation.x),
                            winlayer::GestureCoordinate(endLocation.y)};
    onWispMessage(WM_GESTURE, WPARAM(endArgument), reinterpret_cast<LPARAM>(&info));
}

void Wisp_vOmnarControl_hwnd::Magnify(const ak::Event& event) {
    constexpr std::uint64_t kUnchanged = 1024;
    sendGesture(GID_ZOOM, event, kUnchanged, winlayer::ZoomArgument(event.magnification), {});
}

void Wisp_vOmnarControl_hwnd::Rotate(const ak::Event& event) {
    sendGesture(GID_ROTATE, event, 0, winlayer::RotateArgument(event.rotation), {});
}

void Wisp_vOmnarControl_hwnd::Swipe(const ak::Event& event) {
    const ak::Point onScreen = event.window
                                   ? event.window->ConvertPointToScreen(event.locationInWindow)
                                   : event.locationInWindow;
    const POINT start{winlayer::GestureCoordinate(onScreen.x),
                      winlayer::GestureCoordinate(onScreen.y)};
    const ak::Size size = Bounds().size;
    sendGesture(
        GID_PAN, event, 0, 0,
        winlayer::SwipeLocation(start, size.width, size.height, event.deltaX, event.deltaY));
}
