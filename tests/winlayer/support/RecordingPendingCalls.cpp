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

void WISP_ApplyCtlColors(HWND, DLGPROC, BOOL force) {
    winlayer::test::PendingCalls().push_back("WISP_ApplyCtlColors " + std::to_string(force));
}
