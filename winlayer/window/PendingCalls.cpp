// Calls of later parts of the layer, declared now so the window core links.
// Stand-ins must define every call of this file together.
// Each aborts when reached until its part is built.
#include "winlayer/window/WindowCalls.h"

#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void NotBuiltYet(const char* name) {
    std::fprintf(stderr, "winlayer: %s is not built yet\n", name);
    std::abort();
}

} // namespace

void WISP_InitiateDragDrop(HWND, RECT*, const char*, void*) {
    NotBuiltYet("WISP_InitiateDragDrop");
}

void WISP_InitiateDragDropOfFileList(HWND, RECT*, const char**, int, void*) {
    NotBuiltYet("WISP_InitiateDragDropOfFileList");
}
