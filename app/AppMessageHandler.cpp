#include "app/AppShell.h"

#include "app/ShellIds.h"
#include "app/ShellResources.h"
#include "device/OmnarControl.h"
#include "render/vg/VGImage.h"
#include "toolkit/ResourcePath.h"
#include "winlayer/InputRecords.h"
#include "winlayer/window/WindowCalls.h"

namespace {

constexpr int kVirtualKeyFlag = 1;
constexpr WPARAM kEscape = 27;
constexpr WPARAM kReturn = 13;

// Plain Return and Escape aimed at a view that is no text view go straight
// to it, so the dialog key routing never turns them into commands of the
// main window; every other key passes on.
INT_PTR FilterKey(const MSG* msg, const void* platformEvent) {
    if (!msg || !msg->hwnd || msg->message != WM_KEYDOWN || WISP_IsTextView(msg->hwnd))
        return 0;
    if (msg->wParam != kEscape && msg->wParam != kReturn)
        return 0;
    if ((msg->lParam & ~LPARAM(kVirtualKeyFlag)) != 0)
        return 0;
    WISP_DeliverKeyDown(msg->hwnd, platformEvent);
    return 1;
}

void Launch() {
    HMENU menu = WISP_LoadMenu(shell::MenuResources(), shell::kMainMenu);
    HWND window = WISP_CreateDialog(shell::DialogResources(), shell::kMainWindowDialog, nullptr,
                                    &MainWindowProc, 0);
    if (!window || !menu)
        return;
    SetMenu(window, menu);
    WISP_SetDefaultModalWindowMenu(menu);
}

} // namespace

namespace shell {

host::HostOptions ProductHostOptions() {
    host::HostOptions options;
    options.makeProduct = [](const vx::InstanceInfo& info) -> std::unique_ptr<vx::IStandaloneApp> {
        return CreatePlugInstance(info);
    };
    options.showMessage = [](const std::string& text, const std::string& title) {
        MessageBox(MainWindow(), text.c_str(), title.c_str(), MB_OK);
    };
    return options;
}

} // namespace shell

INT_PTR AppMessageHandler(int message, INT_PTR param1, INT_PTR param2) {
    switch (message) {
    case AppMsg_Load: {
        // The panel's background is by far the largest image of the first
        // frame: it decodes while the audio and MIDI devices are opened.
        if (VxString background; vx::FindResourcePath("background.png", "png", background))
            vg_prefetch_image_file(background.Get());
        host::StandaloneHost& host = host::StandaloneHost::Make(shell::ProductHostOptions());
        host.StartUp();
        host.ApplyAudioSettings();
        return 0;
    }
    case AppMsg_Launched:
        Launch();
        return 0;
    case AppMsg_Destroy:
        if (HWND window = shell::MainWindow())
            DestroyWindow(window);
        return 0;
    case AppMsg_MenuCommand:
        if (HWND window = shell::MainWindow(); window && (param1 & 0xFFFF) != 0)
            SendMessage(window, WM_COMMAND, WPARAM(param1 & 0xFFFF), 0);
        return 0;
    case AppMsg_KeyEvent:
        return FilterKey(reinterpret_cast<const MSG*>(param1),
                         reinterpret_cast<const void*>(param2));
    default:
        return 0;
    }
}
