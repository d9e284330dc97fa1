// How far a modeless window asks to be raised, and whether a window stands
// on a high-density screen.
#include "platform/ak/Screen.h"
#include "platform/ak/Window.h"
#include "winlayer/Placement.h"
#include "winlayer/window/TopLevel.h"
#include "winlayer/window/WindowCalls.h"
#include "winlayer/window/WindowView.h"

#include <vector>

using winlayer::FindObject;

namespace {

constexpr double kRetinaScaleAbove = 1.9;

// The window of a window handle or of a view in one.
ak::Window* HostWindow(HWND window) {
    if (ak::Window* asWindow = winlayer::FindWindow(window))
        return asWindow;
    auto* view = dynamic_cast<ak::View*>(FindObject(window));
    return view ? view->GetWindow() : nullptr;
}

} // namespace

int WISP_GetWindowWantRaiseAmt(HWND window) {
    auto* modeless = dynamic_cast<Wisp_vOmnarControl_modelesswindow*>(HostWindow(window));
    return modeless ? modeless->wispWantRaise() : 0;
}

void WISP_SetWindowWantRaiseAmt(HWND window, int amount) {
    auto* modeless = dynamic_cast<Wisp_vOmnarControl_modelesswindow*>(HostWindow(window));
    if (!modeless)
        return;
    const int old = modeless->wispWantRaise();
    modeless->wispSetWantRaise(amount);
    // While the application is active (it has a key window) the level follows.
    if (amount != old && ak::Window::KeyWindow())
        modeless->SetLevel(modeless->Level() + amount - old);
}

BOOL WISP_IsRetinaHWND(HWND window) {
    ak::Window* host = HostWindow(window);
    const std::vector<ak::Screen> screens = ak::Screen::All();
    if (!host || screens.empty())
        return FALSE;
    std::vector<ak::Rect> frames;
    for (const ak::Screen& screen : screens)
        frames.push_back(screen.Frame());
    const std::size_t best = winlayer::ChooseScreen(frames, winlayer::RoundedRect(host->Frame()));
    return screens[best].BackingScaleFactor() > kRetinaScaleAbove ? TRUE : FALSE;
}
