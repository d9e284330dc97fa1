// Finding windows: ancestry, enumeration, search by class and title, the
// foreground window and the content area on screen.
#include "platform/ak/TextField.h"
#include "platform/ak/Window.h"
#include "winlayer/Placement.h"
#include "winlayer/window/WindowCalls.h"
#include "winlayer/window/WindowView.h"

#include <cstring>
#include <string>
#include <vector>

using winlayer::FindObject;
using winlayer::HandleOf;

namespace {

constexpr int kTitleBufferSize = 512;
constexpr int kClassBufferSize = 1024;
constexpr std::size_t kGestureInfoSize = 56;

bool TitleMatches(HWND window, const char* title) {
    if (!title)
        return true;
    std::vector<char> text(kTitleBufferSize);
    return GetDlgItemText(window, 0, text.data(), kTitleBufferSize) &&
           std::strcmp(text.data(), title) == 0;
}

bool ClassMatches(HWND window, const char* className) {
    if (!className)
        return true;
    std::vector<char> name(kClassBufferSize);
    GetClassName(window, name.data(), kClassBufferSize);
    if (std::strcmp(name.data(), className) == 0)
        return true;
    return std::strcmp(className, "Static") == 0 &&
           dynamic_cast<ak::TextField*>(FindObject(window)) != nullptr;
}

HWND FindChild(ak::View& parent, HWND after, const char* className, const char* title) {
    const std::vector<ak::Ref<ak::View>> children = parent.Subviews();
    auto it = children.begin();
    if (after) {
        while (it != children.end() && HandleOf(it->Get()) != after)
            ++it;
        if (it == children.end())
            return nullptr; // not a child of this parent
        ++it;
    }
    for (; it != children.end(); ++it) {
        const HWND child = HandleOf(it->Get());
        if (TitleMatches(child, title) && ClassMatches(child, className))
            return child;
    }
    return nullptr;
}

HWND FindTopLevel(HWND after, const char* className, const char* title) {
    const std::vector<ak::Ref<ak::Window>> windows = ak::Window::AllWindows();
    auto it = windows.begin();
    if (after) {
        ak::Window* holder = winlayer::FindWindow(after);
        if (auto* view = dynamic_cast<ak::View*>(FindObject(after)); view && !holder)
            holder = view->GetWindow();
        while (it != windows.end() && it->Get() != holder)
            ++it;
        if (it == windows.end())
            return nullptr;
        ++it;
    }
    for (; it != windows.end(); ++it) {
        ak::View* content = (*it)->ContentView();
        if (!content || (*it)->Title() != title)
            continue;
        if (ClassMatches(HandleOf(content), className))
            return HandleOf(content);
    }
    return nullptr;
}

} // namespace

BOOL IsChild(HWND parent, HWND child) {
    if (!parent || !child || parent == child)
        return FALSE;
    auto* view = dynamic_cast<ak::View*>(FindObject(child));
    ak::Responder* above = FindObject(parent);
    if (!view || !above)
        return FALSE;
    if (auto* window = dynamic_cast<ak::Window*>(above))
        return view->GetWindow() == window ? TRUE : FALSE;
    for (ak::View* v = view->Superview(); v; v = v->Superview())
        if (v == above)
            return TRUE;
    return FALSE;
}

BOOL EnumWindows(BOOL (*callback)(HWND, LPARAM), LPARAM lParam) {
    if (!callback)
        return TRUE;
    for (const auto& window : ak::Window::AllWindows())
        if (ak::View* content = window->ContentView();
            content && !callback(HandleOf(content), lParam))
            return FALSE;
    return TRUE;
}

HWND FindWindowEx(HWND parent, HWND childAfter, const char* className, const char* title) {
    if (parent) {
        ak::View* view = winlayer::FindView(parent);
        return view ? FindChild(*view, childAfter, className, title) : nullptr;
    }
    return title ? FindTopLevel(childAfter, className, title) : nullptr;
}

// Without field editors the key window's first responder is the focus itself.
HWND GetForegroundWindow() {
    return GetFocus();
}

BOOL GetWindowContentViewRect(HWND window, RECT* rect) {
    if (!rect)
        return FALSE;
    *rect = {};
    ak::Responder* object = FindObject(window);
    if (!object)
        return FALSE;
    ak::Window* host = winlayer::FindWindow(window);
    if (!host)
        return GetWindowRect(window, rect);
    ak::View* content = host->ContentView();
    if (!content)
        return FALSE;
    const ak::Rect bounds = content->ConvertRectToView(content->Bounds(), nullptr);
    const ak::Point topLeft = host->ConvertPointToScreen(bounds.origin);
    *rect = winlayer::RoundedRect({topLeft, bounds.size});
    return TRUE;
}

BOOL WISP_GetGestureInfo(const void* gesture, void* info) {
    if (!gesture || !info)
        return FALSE;
    std::memcpy(info, gesture, kGestureInfoSize);
    return TRUE;
}
