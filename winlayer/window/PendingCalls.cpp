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

int WISP_CB_InsertString(HWND, int, int, const char*) {
    NotBuiltYet("WISP_CB_InsertString");
}

void WISP_CB_DeleteString(HWND, int, int) {
    NotBuiltYet("WISP_CB_DeleteString");
}

int WISP_CB_GetItemText(HWND, int, int, char*, int) {
    NotBuiltYet("WISP_CB_GetItemText");
}

void WISP_CB_Empty(HWND, int) {
    NotBuiltYet("WISP_CB_Empty");
}

int WISP_CB_FindString(HWND, int, int, const char*, BOOL) {
    NotBuiltYet("WISP_CB_FindString");
}

void WISP_CB_SetCurSel(HWND, int, int) {
    NotBuiltYet("WISP_CB_SetCurSel");
}

LONG_PTR WISP_CB_GetItemData(HWND, int, int) {
    NotBuiltYet("WISP_CB_GetItemData");
}

void WISP_CB_SetItemData(HWND, int, int, LONG_PTR) {
    NotBuiltYet("WISP_CB_SetItemData");
}

int WISP_TB_GetPos(HWND, int) {
    NotBuiltYet("WISP_TB_GetPos");
}

void WISP_TB_SetPos(HWND, int, int) {
    NotBuiltYet("WISP_TB_SetPos");
}

void WISP_TB_SetRange(HWND, int, int, int) {
    NotBuiltYet("WISP_TB_SetRange");
}

void WISP_TB_SetTic(HWND, int, int) {
    NotBuiltYet("WISP_TB_SetTic");
}
