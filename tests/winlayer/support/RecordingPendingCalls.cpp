// Stand-ins for the calls of later parts of the layer: they record and do
// nothing. Each goes when its part is built.
#include "tests/winlayer/support/RecordingPendingCalls.h"

#include "winlayer/window/WindowCalls.h"

namespace winlayer::test {

std::vector<std::string>& PendingCalls() {
    static std::vector<std::string> calls;
    return calls;
}

} // namespace winlayer::test

void WISP_InitiateDragDrop(HWND, RECT*, const char*, void*) {
    winlayer::test::PendingCalls().push_back("WISP_InitiateDragDrop");
}

void WISP_InitiateDragDropOfFileList(HWND, RECT*, const char**, int, void*) {
    winlayer::test::PendingCalls().push_back("WISP_InitiateDragDropOfFileList");
}

namespace {

void Record(const char* name, LONG_PTR a = 0, LONG_PTR b = 0) {
    winlayer::test::PendingCalls().push_back(std::string(name) + " " + std::to_string(a) + " " +
                                             std::to_string(b));
}

} // namespace

int WISP_CB_InsertString(HWND, int, int index, const char*) {
    return Record("WISP_CB_InsertString", index), 0;
}

void WISP_CB_DeleteString(HWND, int, int index) {
    Record("WISP_CB_DeleteString", index);
}

int WISP_CB_GetItemText(HWND, int, int index, char*, int size) {
    return Record("WISP_CB_GetItemText", index, size), 1;
}

void WISP_CB_Empty(HWND, int) {
    Record("WISP_CB_Empty");
}

int WISP_CB_FindString(HWND, int, int start, const char*, BOOL exact) {
    return Record("WISP_CB_FindString", start, exact), 0;
}

void WISP_CB_SetCurSel(HWND, int, int index) {
    Record("WISP_CB_SetCurSel", index);
}

LONG_PTR WISP_CB_GetItemData(HWND, int, int index) {
    return Record("WISP_CB_GetItemData", index), 0;
}

void WISP_CB_SetItemData(HWND, int, int index, LONG_PTR value) {
    Record("WISP_CB_SetItemData", index, value);
}

int WISP_TB_GetPos(HWND, int) {
    return Record("WISP_TB_GetPos"), 0;
}

void WISP_TB_SetPos(HWND, int, int pos) {
    Record("WISP_TB_SetPos", pos);
}

void WISP_TB_SetRange(HWND, int, int low, int high) {
    Record("WISP_TB_SetRange", low, high);
}

void WISP_TB_SetTic(HWND, int, int pos) {
    Record("WISP_TB_SetTic", pos);
}
