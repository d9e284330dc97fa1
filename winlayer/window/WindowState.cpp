// Window-level attributes and the small state calls. Shadows, represented
// files, clear backgrounds and monitor auto-sizing have no effect here.
#include "platform/ak/Application.h"
#include "platform/ak/Control.h"
#include "platform/ak/TextField.h"
#include "platform/ak/Window.h"
#include "winlayer/window/TopLevel.h"
#include "winlayer/window/WindowCalls.h"
#include "winlayer/window/WindowView.h"

using winlayer::FindObject;
using winlayer::FindView;

namespace {

// A view gives its window; a window stands for itself.
ak::Window* WindowOfAny(HWND window) {
    ak::Responder* object = FindObject(window);
    if (auto* asWindow = dynamic_cast<ak::Window*>(object))
        return asWindow;
    auto* view = dynamic_cast<ak::View*>(object);
    return view ? view->GetWindow() : nullptr;
}

} // namespace

BOOL ScrollWindow(HWND window, int dx, int dy) {
    ak::View* view = FindView(window);
    if (!view || (dx == 0 && dy == 0))
        return FALSE;
    const std::vector<ak::Ref<ak::View>> children = view->Subviews();
    for (const auto& child : children) {
        const ak::Rect frame = child->Frame();
        child->SetFrameOrigin({frame.MinX() + dx, frame.MinY() + dy});
    }
    view->SetNeedsDisplay();
    return TRUE;
}

void WISP_FlushWindow(HWND window) {
    if (ak::Window* host = WindowOfAny(window))
        host->DisplayIfNeeded();
}

void SetAllowNoMiddleManRendering(HWND, BOOL) {}

void WISP_SetNoMultiMonitorAutoSize(HWND window, BOOL disable) {
    if (auto* top = winlayer::AsTopLevel(WindowOfAny(window)))
        top->disableMonitorAutosize = disable != FALSE;
}

void WISP_SetWindowRepre(HWND, const char*, BOOL) {}

void SetWindowHasShadow(HWND, BOOL) {}

void MakeWindowBackgroundClear(HWND) {}

BOOL WISP_IsStaticText(HWND window) {
    auto* field = dynamic_cast<ak::TextField*>(FindObject(window));
    return field && field->Kind() == ak::TextFieldKind::Label ? TRUE : FALSE;
}

void WISP_GetDesiredControlSize(HWND window, RECT* rect) {
    auto* control = dynamic_cast<ak::Control*>(FindObject(window));
    if (!control || !rect)
        return;
    const ak::Rect old = control->Frame();
    control->SizeToFit();
    const ak::Size size = control->Frame().size;
    control->SetFrame(old);
    *rect = {0, 0, ak::PixelEdge(size.width), ak::PixelEdge(size.height)};
}

int WISP_GetDefaultButtonID(HWND window, BOOL onlyEnabled) {
    auto* view = dynamic_cast<ak::View*>(FindObject(window));
    ak::Window* host = view ? view->GetWindow() : nullptr;
    auto* button = dynamic_cast<ak::Control*>(host ? host->DefaultButton() : nullptr);
    if (!button || (onlyEnabled == 1 && !button->IsEnabled()))
        return 0;
    return int(button->Tag());
}

void* WISP_ModalWindowStart(HWND window) {
    ak::Window* host = WindowOfAny(window);
    ak::Application* app = ak::Application::Shared();
    return host && app ? app->BeginModalSession(host) : nullptr;
}

// Closing lets go of the window: its views hear WM_DESTROY first.
void WISP_CloseWindow(HWND window) {
    if (ak::Window* host = WindowOfAny(window))
        DestroyWindow(winlayer::HandleOf(host));
}
