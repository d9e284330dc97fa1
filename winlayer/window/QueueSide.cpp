#include "platform/ak/Application.h"
#include "winlayer/window/TopLevel.h"
#include "winlayer/window/WindowCalls.h"
#include "winlayer/window/WindowView.h"

namespace winlayer {
namespace {

// The queue and the geometry calls reach only windows found among the live ones.
class LiveWindows : public QueueWindows, public WindowGeometry {
public:
    BOOL clientRect(HWND window, RECT* rect) override { return ClientRectOf(window, rect); }
    BOOL windowRect(HWND window, RECT* rect) override { return WindowRectOf(window, rect); }
    BOOL setWindowPos(HWND window, HWND after, int x, int y, int width, int height,
                      UINT flags) override {
        return SetWindowPosOf(window, after, x, y, width, height, flags);
    }
    ak::Responder* find(HWND window) override { return FindObject(window); }
    void deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        SendMessage(window, message, wParam, lParam);
    }
};

} // namespace

void InstallLiveWindows() {
    static LiveWindows windows;
    SetQueueWindows(&windows);
    SetWindowGeometry(&windows);
    AddWindowApiNames();
}

void WantKeyOnFirstShow(ak::Window& window) {
    if (auto* modeless = dynamic_cast<Wisp_vOmnarControl_modelesswindow*>(&window))
        modeless->wantKeyOnFirstShow = true;
}

void DestroyOwnedWindows(ak::Window& window) {
    if (TopLevel* top = AsTopLevel(&window))
        top->destroyAllOwnedWindows();
}

void ApplyCtlColors(HWND window, DLGPROC proc) {
    WISP_ApplyCtlColors(window, proc, FALSE);
}

} // namespace winlayer

// The application delegate must answer the queue's tick; without one the
// queue stays off and PostMessage answers FALSE.
void WISP_Internal_PostMessage_Init() {
    winlayer::InstallLiveWindows();
    ak::Application* app = ak::Application::Shared();
    auto* host = app ? dynamic_cast<winlayer::QueueHost*>(app->Delegate()) : nullptr;
    if (!host)
        return;
    winlayer::InitPostedQueue(*host);
}
