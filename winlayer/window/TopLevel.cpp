#include "winlayer/window/TopLevel.h"

#include "winlayer/SizeLimits.h"
#include "winlayer/WindowData.h"
#include "winlayer/window/MenuSlots.h"
#include "winlayer/window/WindowCalls.h"
#include "winlayer/window/WindowView.h"

#include <algorithm>

namespace winlayer {
namespace {

// The last window whose key status went; cleared when it is destroyed.
HWND g_previousActive = nullptr;

HMENU MenuOfContent(ak::Window& window) {
    auto* view = dynamic_cast<Wisp_vOmnarControl_hwnd*>(window.ContentView());
    return view ? view->wispGetMenu() : nullptr;
}

// A modeless window without a menu of its own takes its owner's, and so on.
HMENU MenuForModeless(ak::Window& window) {
    ak::Window* w = &window;
    for (int depth = 0; w && depth < 64; ++depth) {
        if (HMENU menu = MenuOfContent(*w))
            return menu;
        TopLevel* top = AsTopLevel(w);
        ak::Window* owner = top ? FindWindow(top->owner()) : nullptr;
        if (!owner) {
            auto* ownerView = dynamic_cast<ak::View*>(FindObject(top ? top->owner() : nullptr));
            owner = ownerView ? ownerView->GetWindow() : nullptr;
        }
        if (owner == w)
            break;
        w = owner;
    }
    return DefaultWindowMenu();
}

} // namespace

TopLevel* AsTopLevel(ak::Responder* object) {
    return dynamic_cast<TopLevel*>(object);
}

void TopLevel::addOwnedWindow(HWND owned) {
    if (!owned || std::find(owned_.begin(), owned_.end(), owned) != owned_.end())
        return;
    owned_.insert(owned_.begin(), owned);
    if (TopLevel* other = AsTopLevel(FindObject(owned)))
        other->setOwner(HandleOf(&window()));
}

void TopLevel::removeOwnedWindow(HWND owned) {
    auto it = std::find(owned_.begin(), owned_.end(), owned);
    if (it != owned_.end())
        owned_.erase(it);
}

void TopLevel::destroyAllOwnedWindows() {
    const std::vector<HWND> owned = std::exchange(owned_, {});
    for (HWND window : owned)
        DestroyWindow(window);
}

void TopLevel::doDestroyStuff() {
    ak::Ref<ak::Window> hold(&window());
    if (g_previousActive == HandleOf(&window()))
        g_previousActive = nullptr;
    destroyAllOwnedWindows();
    const HWND owner = std::exchange(owner_, nullptr);
    ak::Window* ownerWindow = FindWindow(owner);
    if (!ownerWindow) {
        auto* ownerView = dynamic_cast<ak::View*>(FindObject(owner));
        ownerWindow = ownerView ? ownerView->GetWindow() : nullptr;
    }
    if (TopLevel* top = AsTopLevel(ownerWindow)) {
        top->removeOwnedWindow(HandleOf(&window()));
        if (window().IsKeyWindow() && ownerWindow->IsVisible())
            ownerWindow->MakeKeyWindow();
    }
}

LRESULT TopLevel::sendToContent(UINT message, WPARAM wParam, LPARAM lParam) {
    ak::Ref<ak::View> content(window().ContentView());
    auto* target = dynamic_cast<WispMessageTarget*>(content.Get());
    return target ? target->onWispMessage(message, wParam, lParam) : 0;
}

void TopLevel::sendMove() {
    const ak::Rect frame = window().Frame();
    sendToContent(WM_MOVE, 0, PackMoveParam(frame.MinX(), frame.MinY()));
}

void TopLevel::sendSizeIfChanged() {
    const ak::Size size = window().Frame().size;
    const bool zoomed = window().IsZoomed();
    if (int(size.width) == int(lastFrameSize_.width) &&
        int(size.height) == int(lastFrameSize_.height) && zoomed == lastZoom_)
        return;
    const bool becameZoomed = zoomed && !lastZoom_;
    lastZoom_ = zoomed;
    lastFrameSize_ = size;
    sendToContent(WM_SIZE, becameZoomed ? 2 : 0, 0);
    if (ak::View* content = window().ContentView(); content && content->IsOpaque())
        content->SetNeedsDisplay();
}

void TopLevel::sendBecameKey(bool isDialogBox) {
    if (IsQuitting())
        return;
    HWND previous = nullptr;
    if (g_previousActive && IsWindow(g_previousActive)) {
        ak::Window* prevWindow = FindWindow(g_previousActive);
        auto* view = dynamic_cast<Wisp_vOmnarControl_hwnd*>(prevWindow ? prevWindow->ContentView()
                                                                       : nullptr);
        if (view && !view->wispHasBeenDestroyed())
            previous = view->Handle();
    }
    auto* content = dynamic_cast<Wisp_vOmnarControl_hwnd*>(window().ContentView());
    if (content && content->wispHasBeenDestroyed())
        return;
    HMENU menu = nullptr;
    if (isDialogBox) {
        menu = MenuOfContent(window());
        if (!menu)
            menu = DefaultModalWindowMenu();
        if (!menu)
            menu = DefaultWindowMenu();
    } else {
        menu = MenuForModeless(window());
    }
    if (menu)
        SetCurrentMenu(menu);
    sendToContent(WM_ACTIVATE, 1, reinterpret_cast<LPARAM>(previous));
    sendToContent(WM_MOUSEACTIVATE, 0, 0);
}

void TopLevel::sendResignedKey() {
    if (IsQuitting())
        return;
    sendToContent(WM_ACTIVATE, 0, 0);
    g_previousActive = HandleOf(&window());
}

bool TopLevel::sendClose() {
    ak::Ref<ak::Window> hold(&window());
    ak::Ref<ak::View> content(window().ContentView());
    if (sendToContent(WM_CLOSE, 0, 0) == 0) {
        auto* target = dynamic_cast<WispMessageTarget*>(content.Get());
        if (target)
            target->onWispMessage(WM_COMMAND, IDCANCEL, 0);
    }
    return false; // only DestroyWindow closes a window
}

ak::Size TopLevel::askMinSize(ak::Size toolkitMinimum) {
    const SizeLimit limit =
        AskMinimumSize({toolkitMinimum.width, toolkitMinimum.height}, [this](MINMAXINFO& info) {
            sendToContent(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
        });
    return {limit.width, limit.height};
}

ak::Size TopLevel::askMaxSize(ak::Size toolkitMaximum) {
    const SizeLimit limit =
        AskMaximumSize({toolkitMaximum.width, toolkitMaximum.height}, [this](MINMAXINFO& info) {
            sendToContent(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
        });
    return {limit.width, limit.height};
}

} // namespace winlayer
