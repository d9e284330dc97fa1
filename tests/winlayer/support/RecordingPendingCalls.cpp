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
