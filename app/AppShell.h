#pragma once

#include "framework/VxString.h"
#include "framework/host/StandaloneHost.h"
#include "winlayer/WindowApi.h"

// The application shell: the handler the windowing layer's application
// controller calls, the main window and the preferences dialog. Main thread
// only. The process-wide host is host::StandaloneHost::Current().

// Message 1 makes and starts the host, 2 opens the main window with its menu
// bar, 3 destroys it, 153 forwards a menu command, 256 filters keys.
INT_PTR AppMessageHandler(int message, INT_PTR param1, INT_PTR param2);
INT_PTR MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR PreferencesDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Fills every list of the preferences dialog from the host's settings.
void FillPreferencesDialog(host::StandaloneHost& host, HWND dialog);

// The editor's data folder.
void GetAppSupportPath(VxString& out, const char* name);
// True when the home folder lies in a macOS sandbox container.
bool IsSandboxed();

namespace shell {

// The main window while it lives, else null.
HWND MainWindow();
// The product's host: OmnarControl, with message boxes for its messages.
host::HostOptions ProductHostOptions();
// "OmnarControl <version>", the About box's text when the editor shows none.
const char* AboutText();

} // namespace shell
