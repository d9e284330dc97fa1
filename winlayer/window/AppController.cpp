#include "winlayer/window/AppController.h"

#include "winlayer/ApiNames.h"
#include "winlayer/Runtime.h"
#include "winlayer/WinBasics.h"
#include "winlayer/window/WindowCalls.h"
#include "winlayer/window/WindowView.h"

#include <array>
#include <cstring>
#include <vector>

namespace {

constexpr int kOpenFileBufferSize = 4096;

} // namespace

void WISPAppController::awakeFromNib(ak::Application& app) {
    WISP_EnsureMultithreadedCocoa();
    app.SetDelegate(this);
    WISP_Internal_PostMessage_Init();
    callHandler(AppMsg_Load, 0, 0);
}

INT_PTR WISPAppController::callHandler(int message, INT_PTR param1, INT_PTR param2) {
    return handler_ ? handler_(message, param1, param2) : 0;
}

void WISPAppController::DidFinishLaunching() {
    callHandler(AppMsg_Launched, 0, 0);
}

void WISPAppController::activate(int active) {
    if (callHandler(AppMsg_Activate, active, 0) == 0)
        WISP_BroadcastMessage(WM_ACTIVATEAPP, WPARAM(active), 0);
}

// Asked again while asking (the handler quitting from its answer): no.
bool WISPAppController::ShouldTerminate() {
    if (askingToTerminate_)
        return false;
    askingToTerminate_ = true;
    const bool later = callHandler(AppMsg_QueryTerminate, 0, 0) > 0;
    askingToTerminate_ = false;
    if (!later)
        winlayer::SetQuitting();
    return !later;
}

void WISPAppController::WillTerminate() {
    callHandler(AppMsg_Destroy, 0, 0);
}

void WISPAppController::onSysMenuCommand(std::int64_t tag, void* sender) {
    if (tag != 0)
        callHandler(AppMsg_MenuCommand, INT_PTR(tag), reinterpret_cast<INT_PTR>(sender));
}

bool WISPAppController::applicationOpenFile(const char* name) {
    // A name that does not fit is refused, never cut.
    if (!name || name[0] == '\0' || std::strlen(name) >= kOpenFileBufferSize)
        return false;
    std::array<char, kOpenFileBufferSize> buffer{};
    std::memcpy(buffer.data(), name, std::strlen(name) + 1);
    return callHandler(AppMsg_OpenFile, reinterpret_cast<INT_PTR>(buffer.data()), 0) > 0;
}

bool WISPAppController::applicationOpenUntitledFile() {
    return callHandler(AppMsg_OpenUntitled, 0, 0) > 0;
}

bool WISPAppController::applicationShouldOpenUntitledFile() {
    return callHandler(AppMsg_QueryOpenUntitled, 0, 0) > 0;
}

void* WISPAppController::wispGetAPPAPIFunc() const {
    winlayer::AddWindowApiNames();
    return reinterpret_cast<void*>(&LookupAPIFunctionByName);
}

bool WISPAppController::wispPostMessage(HWND window, int message, WPARAM wParam, LPARAM lParam) {
    return PostMessage(window, UINT(message), wParam, lParam) != FALSE;
}

void WISPAppController::wispPostMessageClearQ(HWND window) {
    WISP_MessageQueue_Clear(window);
}

void WISP_BroadcastMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // Each window and its content view are held while called; windows that
    // open or close meanwhile do not disturb the walk.
    const std::vector<ak::Ref<ak::Window>> windows = ak::Window::AllWindows();
    for (const auto& window : windows) {
        if (window->IsClosed())
            continue;
        ak::Ref<ak::View> content(window->ContentView());
        if (auto* target = dynamic_cast<winlayer::WispMessageTarget*>(content.Get()))
            target->onWispMessage(message, wParam, lParam);
    }
}
