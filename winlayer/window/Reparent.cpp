// SetParent: moving a view between parents, a window's content into another
// window, and a child out into a window of its own.
#include "platform/ak/Window.h"
#include "winlayer/window/NativeText.h"
#include "winlayer/window/TopLevel.h"
#include "winlayer/window/WindowCalls.h"
#include "winlayer/window/WindowView.h"

using winlayer::FindObject;
using winlayer::HandleOf;

namespace {

// The style of a dialog created as a child, for views that kept none.
constexpr uint32_t kChildWindowStyle = 15;

bool IsContent(const ak::View& view) {
    return view.GetWindow() && view.GetWindow()->ContentView() == &view;
}

std::string TextOf(ak::Responder* object) {
    if (auto* view = dynamic_cast<Wisp_vOmnarControl_hwnd*>(object))
        return view->onWispGetText();
    return winlayer::NativeText(object).value_or("");
}

// The window's content joins newParent: its title and owner go with it, a
// plain view takes its place, and the window is destroyed.
void ContentIntoParent(ak::View& view, ak::View& newParent) {
    ak::Window* window = view.GetWindow();
    ak::Ref<ak::Window> holdWindow(window);
    const std::string title = window->Title();
    if (auto* own = dynamic_cast<Wisp_vOmnarControl_hwnd*>(&view)) {
        own->onWispSetText(title.c_str());
        const winlayer::TopLevel* top = winlayer::AsTopLevel(window);
        own->setWispLastTopLevelOwner(top ? top->owner() : nullptr);
    }
    window->SetContentView(ak::MakeRef<ak::View>().Get());
    newParent.AddSubview(&view);
    DestroyWindow(HandleOf(window));
}

// A child becomes a window again, owned by the window it came from when that
// one still exists.
void ChildIntoWindow(ak::View& view) {
    auto* own = dynamic_cast<Wisp_vOmnarControl_hwnd*>(&view);
    const uint32_t style = own ? own->wispCreateWindowFlags() : kChildWindowStyle;
    HWND owner = own ? own->wispLastTopLevelOwner() : nullptr;
    if (owner && !IsWindow(owner))
        owner = nullptr;
    const std::string text = TextOf(&view);
    winlayer::WrapInModelessWindow(view, owner, style);
    if (view.GetWindow())
        view.GetWindow()->SetTitle(text);
}

} // namespace

HWND SetParent(HWND window, HWND newParent) {
    ak::View* view = winlayer::FindView(window);
    if (!view)
        return nullptr;
    ak::Ref<ak::View> hold(view);
    ak::View* parentView = newParent ? winlayer::FindView(newParent) : nullptr;
    if (newParent && (!parentView || parentView->IsDescendantOf(view)))
        return nullptr; // nowhere to go, or into itself
    // The focus stays behind with the window the view leaves.
    if (!parentView || parentView->GetWindow() != view->GetWindow())
        winlayer::ClearFocusWithin(*view);
    if (IsContent(*view)) {
        if (!parentView)
            return nullptr;
        ContentIntoParent(*view, *parentView);
        return newParent;
    }
    if (!parentView) {
        ChildIntoWindow(*view);
        return nullptr;
    }
    const HWND previous = HandleOf(view->Superview());
    parentView->AddSubview(view);
    return previous;
}
