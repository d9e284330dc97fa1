#include "app/AppShell.h"

#include "app/ShellIds.h"
#include "app/ShellResources.h"
#include "app/WindowCentring.h"
#include "platform/ak/ModalPrompt.h"
#include "winlayer/SizeLimits.h"
#include "winlayer/window/WindowCalls.h"

#include <climits>

namespace {

constexpr int kSizeRestored = 0;
constexpr int kSizeMaximized = 2;

HWND g_mainWindow = nullptr;

host::StandaloneHost* Host() {
    return host::StandaloneHost::Current();
}

void Centre(HWND window, const vx::IStandaloneApp& editor) {
    RECT client{}, frame{};
    GetClientRect(window, &client);
    GetWindowRect(window, &frame);
    const shell::Placement placement = shell::CentredPlacement(
        editor.EditorWidth(), editor.EditorHeight(), GetSystemMetrics(SM_CXSCREEN),
        GetSystemMetrics(SM_CYSCREEN), client.right, client.bottom, frame.right - frame.left,
        frame.bottom - frame.top);
    SetWindowPos(window, nullptr, placement.x, placement.y, placement.width, placement.height, 0);
}

INT_PTR InitMainWindow(HWND window) {
    g_mainWindow = window;
    if (host::StandaloneHost* host = Host()) {
        host->SetMainWindow(window);
        host->ShowEditor(winlayer::FindView(window));
        Centre(window, host->Plugin());
    }
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    return 1;
}

void WriteSizeLimits(MINMAXINFO& info, const vx::IStandaloneApp& editor) {
    int minWidth = 0, minHeight = 0, maxWidth = INT_MAX, maxHeight = INT_MAX;
    editor.ConstrainEditorSize(minWidth, minHeight);
    editor.ConstrainEditorSize(maxWidth, maxHeight);
    info.ptMinTrackSize = {minWidth, minHeight};
    info.ptMaxTrackSize = {maxWidth, maxHeight};
}

void ShowPreferences(HWND window) {
    const int answer = WISP_DialogBox(shell::DialogResources(), shell::kPreferencesDialog, window,
                                      &PreferencesDialogProc, 0);
    if (answer == shell::kOk)
        if (host::StandaloneHost* host = Host())
            host->SaveSettings();
}

void RunCommand(HWND window, int id) {
    // Over a box or a file chooser only Quit answers: the prompt is dismissed
    // and the quit comes again once the code that asked has had its answer,
    // so nothing on the stack outlives the host.
    if (ak::ModalPromptRunning()) {
        if (id == shell::kCmdQuit && ak::DismissModalPrompt())
            PostMessage(window, WM_COMMAND, WPARAM(shell::kCmdQuit), 0);
        return;
    }
    host::StandaloneHost* host = Host();
    vx::IStandaloneApp* editor = host ? &host->Plugin() : nullptr;
    switch (id) {
    case shell::kCmdAbout:
        if (!editor || !editor->OnHostRequestingAboutBox())
            MessageBox(window, shell::AboutText(), "OmnarControl", MB_OK);
        break;
    case shell::kCmdPreferences:
        ShowPreferences(window);
        break;
    case shell::kCmdQuit:
        DestroyWindow(window);
        break;
    case shell::kCmdReadManual:
        if (!editor || !editor->OnHostRequestingManual())
            MessageBox(window, "See the manual", "OmnarControl", MB_OK);
        break;
    case shell::kCmdUpdateFirmware:
    case shell::kCmdGlobalSettings:
    case shell::kCmdRebuildLibrary:
        if (editor)
            editor->OnHostRequestingMessage(id - shell::kCmdUpdateFirmware + 1);
        break;
    case shell::kCmdRestoreBank:
    case shell::kCmdBackUpBank:
    case shell::kCmdEditorCommand7:
    case shell::kCmdEditorCommand8:
        if (editor)
            editor->OnHostRequestingMessage(id - shell::kCmdRestoreBank + 5);
        break;
    default:
        break;
    }
}

// The editor closes first (it tells a connected device and writes its
// scale), then the host stops audio and MIDI and deletes it.
void DestroyMainWindow(HWND window) {
    if (host::StandaloneHost* host = Host()) {
        host->HideEditor();
        host->SetMainWindow(nullptr);
    }
    g_mainWindow = nullptr;
    host::StandaloneHost::Destroy();
    WISP_PostQuitMessage(window);
}

} // namespace

namespace shell {

HWND MainWindow() {
    return g_mainWindow;
}

const char* AboutText() {
    return "OmnarControl " OMNAR_VERSION;
}

} // namespace shell

INT_PTR MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    host::StandaloneHost* host = Host();
    switch (message) {
    case WM_INITDIALOG:
        return InitMainWindow(window);
    case WM_SIZE:
        if (wParam != kSizeRestored && wParam != kSizeMaximized)
            return 0;
        if (host && host->Plugin().HostResize()) {
            RECT client{};
            GetClientRect(window, &client);
            host->Plugin().ResizeEditorFromHost(client.right, client.bottom);
        }
        return 1;
    case WM_GETMINMAXINFO:
        if (!host)
            return 1;
        WriteSizeLimits(*reinterpret_cast<MINMAXINFO*>(lParam), host->Plugin());
        return 0;
    case WM_CLOSE:
        DestroyWindow(window);
        // Handled: the layer would otherwise send IDCANCEL to the destroyed window.
        return 1;
    case WM_DESTROY:
        DestroyMainWindow(window);
        return 0;
    case WM_COMMAND:
        RunCommand(window, int(wParam & 0xFFFF));
        return 0;
    default:
        return 0;
    }
}
