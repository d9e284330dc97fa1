#include "platform/ak/Window.h"
#include "winlayer/window/WindowCalls.h"
#include "winlayer/window/WindowView.h"

#include <algorithm>
#include <vector>

namespace winlayer {
namespace {

// Window views alive now, attached or not.
std::vector<Wisp_vOmnarControl_hwnd*>& Views() {
    static std::vector<Wisp_vOmnarControl_hwnd*> views;
    return views;
}

ak::View* FindBelow(ak::View& view, const void* address) {
    if (static_cast<const void*>(static_cast<ak::Responder*>(&view)) == address)
        return &view;
    for (const auto& subview : view.Subviews())
        if (ak::View* found = FindBelow(*subview, address))
            return found;
    return nullptr;
}

} // namespace

void RegisterView(Wisp_vOmnarControl_hwnd* view) {
    InstallLiveWindows();
    Views().push_back(view);
}

void UnregisterView(Wisp_vOmnarControl_hwnd* view) {
    std::erase(Views(), view);
}

ak::Responder* FindObject(HWND window) {
    if (window == nullptr)
        return nullptr;
    const void* address = window;
    for (Wisp_vOmnarControl_hwnd* view : Views())
        if (static_cast<const void*>(static_cast<ak::Responder*>(view)) == address)
            return view;
    for (const auto& open : ak::Window::AllWindows()) {
        if (static_cast<const void*>(static_cast<ak::Responder*>(open.Get())) == address)
            return open.Get();
        if (ak::View* content = open->ContentView())
            if (ak::View* found = FindBelow(*content, address))
                return found;
    }
    // Native controls inside window views that are not in a window.
    for (Wisp_vOmnarControl_hwnd* view : Views())
        if (ak::View* found = FindBelow(*view, address))
            return found;
    return nullptr;
}

ak::View* FindView(HWND window) {
    ak::Responder* object = FindObject(window);
    if (auto* asWindow = dynamic_cast<ak::Window*>(object))
        return asWindow->ContentView();
    return dynamic_cast<ak::View*>(object);
}

ak::Window* FindWindow(HWND window) {
    ak::Responder* object = FindObject(window);
    if (auto* asWindow = dynamic_cast<ak::Window*>(object))
        return asWindow;
    auto* view = dynamic_cast<ak::View*>(object);
    if (view && view->GetWindow() && view->GetWindow()->ContentView() == view)
        return view->GetWindow();
    return nullptr;
}

} // namespace winlayer

namespace winlayer {

bool IsLiveWindowHandle(HWND window) {
    if (window == nullptr)
        return false;
    const void* address = window;
    for (const auto& open : ak::Window::AllWindows()) {
        if (static_cast<const void*>(static_cast<ak::Responder*>(open.Get())) == address)
            return true;
        if (ak::View* content = open->ContentView(); content && FindBelow(*content, address))
            return true;
    }
    return false;
}

} // namespace winlayer
