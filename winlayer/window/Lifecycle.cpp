#include "platform/ak/Application.h"
#include "platform/ak/Window.h"
#include "winlayer/window/MetalView.h"
#include "winlayer/window/TopLevel.h"
#include "winlayer/window/WindowCalls.h"
#include "winlayer/window/WindowView.h"

using winlayer::FindObject;
using winlayer::HandleOf;

namespace winlayer {

void ClearFocusWithin(ak::View& view) {
    ak::Window* window = view.GetWindow();
    auto* first = window ? dynamic_cast<ak::View*>(window->FirstResponder()) : nullptr;
    if (first && first->IsDescendantOf(&view))
        window->MakeFirstResponder(nullptr);
}

} // namespace winlayer

using winlayer::ClearFocusWithin;

namespace {

enum ShowCommand { hide = 0, normal = 1, show = 2, minimize = 3, maximize = 4, restore = 5 };

void ShowTopLevel(ak::Window& window, int command) {
    auto* top = winlayer::AsTopLevel(&window);
    switch (command) {
    case hide:
        window.OrderOut();
        break;
    case normal:
        if (top && dynamic_cast<Wisp_vOmnarControl_modelesswindow*>(&window) &&
            std::exchange(top->wantKeyOnFirstShow, false))
            window.MakeKeyAndOrderFront();
        else
            window.OrderFront();
        break;
    case show:
        window.MakeKeyAndOrderFront();
        break;
    case minimize:
        window.Miniaturize();
        break;
    case maximize:
    case restore:
        if (window.IsZoomed() == (command == restore))
            window.Zoom();
        window.OrderFront();
        break;
    default:
        break;
    }
}

void ShowView(ak::View& view, int command) {
    const bool wasHidden = view.IsHidden();
    if (command == normal || command == show || command == maximize || command == restore) {
        view.SetHidden(false);
    } else if (command == hide) {
        ClearFocusWithin(view);
        if (!view.IsHidden() && view.Superview())
            view.Superview()->SetNeedsDisplayInRect(view.Frame());
        view.SetHidden(true);
    }
    if (wasHidden != view.IsHidden()) {
        ak::Ref<ak::View> hold(&view);
        SendMessage(HandleOf(&view), WM_SHOWWINDOW, view.IsHidden() ? 0 : 1, 0);
        if (auto* own = dynamic_cast<Wisp_vOmnarControl_hwnd*>(&view))
            winlayer::MetalViewShown(own, !view.IsHidden());
    }
}

void DestroyTopLevel(ak::Window& window) {
    ak::Ref<ak::Window> hold(&window);
    KillTimer(HandleOf(&window), winlayer::kAllTimers);
    if (auto* content = dynamic_cast<winlayer::WispMessageTarget*>(window.ContentView()))
        content->onWispMessage(WM_DESTROY, 0, 0);
    if (auto* top = winlayer::AsTopLevel(&window))
        top->doDestroyStuff();
    window.Close();
}

} // namespace

BOOL ShowWindow(HWND handle, int command) {
    ak::Responder* object = FindObject(handle);
    if (auto* window = dynamic_cast<ak::Window*>(object)) {
        ShowTopLevel(*window, command);
        return TRUE;
    }
    auto* view = dynamic_cast<ak::View*>(object);
    if (!view)
        return FALSE;
    ak::Ref<ak::View> hold(view);
    ShowView(*view, command);
    if (view->GetWindow() && view->GetWindow()->ContentView() == view)
        ShowTopLevel(*view->GetWindow(), command);
    return TRUE;
}

BOOL DestroyWindow(HWND handle) {
    ak::Responder* object = FindObject(handle);
    if (auto* window = dynamic_cast<ak::Window*>(object)) {
        DestroyTopLevel(*window);
        return TRUE;
    }
    auto* view = dynamic_cast<ak::View*>(object);
    if (!view)
        return FALSE;
    ak::Ref<ak::View> hold(view);
    KillTimer(handle, winlayer::kAllTimers);
    if (auto* target = dynamic_cast<winlayer::WispMessageTarget*>(view))
        target->onWispMessage(WM_DESTROY, 0, 0);
    ak::Window* window = view->GetWindow();
    if (window && window->ContentView() == view) {
        DestroyTopLevel(*window);
        return TRUE;
    }
    ClearFocusWithin(*view);
    view->RemoveFromSuperview();
    return TRUE;
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
    ak::Window* window = winlayer::FindWindow(dialog);
    if (!window) {
        auto* view = dynamic_cast<ak::View*>(FindObject(dialog));
        window = view ? view->GetWindow() : nullptr;
    }
    if (!window)
        return FALSE;
    ak::Ref<ak::Window> hold(window);
    auto* box = dynamic_cast<Wisp_vOmnarControl_dialogbox*>(window);
    if (box)
        box->wispSetModalRetVal(int(result));
    ak::Application* app = ak::Application::Shared();
    if (app && box && box->wispIsRunningModal() && app->ModalWindow() != window) {
        // Under another modal loop (a message box): the dialog's own loop
        // ends once that one has, and WISP_DialogBox destroys and closes it.
        app->StopModal(window, int(result));
        return TRUE;
    }
    if (!app || app->ModalWindow() != window)
        return TRUE; // a modeless window only keeps the value
    if (auto* content = dynamic_cast<winlayer::WispMessageTarget*>(window->ContentView()))
        content->onWispMessage(WM_DESTROY, 0, 0);
    app->StopModal(window, int(result));
    window->Close();
    return TRUE;
}

// The application's delegate may refuse; quitting starts only when it has not.
void WISP_PostQuitMessage(HWND) {
    ak::Application* app = ak::Application::Shared();
    if (app)
        app->Terminate();
    if (!app || app->IsTerminating())
        winlayer::SetQuitting();
}
