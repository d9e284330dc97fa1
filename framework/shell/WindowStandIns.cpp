// The windowing layer's window functions are not built yet. The program has
// no main window, so nothing reaches these; if something does, it stops
// loudly rather than answer for a window that does not exist.

#include "winlayer/WinTypes.h"

#include <cstdio>
#include <cstdlib>

namespace {
[[noreturn]] void NotBuilt(const char* name) {
    std::fprintf(stderr, "winlayer: %s is not built yet\n", name);
    std::abort();
}
} // namespace

BOOL GetClientRect(HWND, RECT*) {
    NotBuilt("GetClientRect");
}
BOOL GetWindowRect(HWND, RECT*) {
    NotBuilt("GetWindowRect");
}
BOOL SetWindowPos(HWND, HWND, int, int, int, int, UINT) {
    NotBuilt("SetWindowPos");
}
