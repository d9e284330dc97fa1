#pragma once

#include "winlayer/WindowApi.h"

#include <string>

// The clipboard over the desktop's, shell execution, the focus rectangle and
// further window services. Main thread only. Memory blocks are GlobalAlloc's.

UINT RegisterClipboardFormat(const char* name);
BOOL OpenClipboard(HWND owner);
UINT EnumClipboardFormats(UINT previous);
// A block the clipboard owns until CloseClipboard, or null.
void* GetClipboardData(UINT format);
// The clipboard takes the block; it is written at CloseClipboard.
void* SetClipboardData(UINT format, void* block);
BOOL EmptyClipboard();
BOOL CloseClipboard();

// Opens addresses, files and folders with the desktop's applications; never
// runs a shell or the named file. 1 when something opened, else 0.
INT_PTR ShellExecute(HWND owner, const char* verb, const char* file, const char* parameters,
                     const char* folder, int show);

// Shows, moves (rect non-null) or removes (rect null) a half-transparent
// rectangle over the window; *overlay holds it between calls.
void WISP_DrawFocusRect(HWND window, const RECT* rect, void** overlay);
// Iconifies the application's windows.
void WISP_HideApp();

// A session of WISP_ModalWindowStart, one turn: 1 while it continues (or
// without code), else 0 with its result in code; 0 for an unknown session.
int WISP_ModalWindowRun(void* session, int* code);
// Stops the session when it still runs, waits at most 2 s, then ends it.
void WISP_ModalWindowEnd(void* session);

namespace winlayer {

// What ShellExecute does, decided without touching the desktop.
enum class ShellAction { None, OpenUri, Reveal, OpenWithTextEditor, OpenPath };
struct ShellPlan {
    ShellAction action = ShellAction::None;
    std::string target;
    bool operator==(const ShellPlan&) const = default;
};
ShellPlan PlanShellExecute(const char* file, const char* parameters);

// Carries a plan out; the desktop's by default, a recorder in tests.
class ShellLauncher {
public:
    virtual ~ShellLauncher() = default;
    virtual bool OpenUri(const std::string& uri) = 0;
    virtual bool RevealPath(const std::string& path) = 0;
    virtual bool OpenPath(const std::string& path, const char* contentType) = 0;
};
ShellLauncher& DesktopLauncher();
INT_PTR CarryOut(const ShellPlan& plan, ShellLauncher& launcher);

} // namespace winlayer
