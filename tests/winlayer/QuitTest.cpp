#include "platform/ak/test/AkTest.h"
#include "tests/winlayer/support/WindowProbe.h"
#include "winlayer/window/TopLevel.h"

#include <gtest/gtest.h>

namespace winlayer::test {
namespace {

using QuitTest = WindowTest;

// After the quit request windows no longer become key or tell of activation.
TEST_F(QuitTest, QuittingEndsTheLoopsAndKeyChanges) {
    DialogResourceRecord resource{1, "Probe", 28, nullptr, 200, 200, nullptr};
    const HWND top = CreateModelessWindow(&resource, nullptr, &WindowProbe::DialogProc, 0, 0);
    probe.Take();
    probe.quiet.clear();
    EXPECT_FALSE(IsQuitting());
    WISP_PostQuitMessage(top);
    EXPECT_TRUE(IsQuitting());
    EXPECT_TRUE(ak::Application::Shared()->IsTerminating());
    ShowWindow(top, SW_SHOW);
    EXPECT_FALSE(FindWindow(top)->IsKeyWindow());
    for (const std::string& line : probe.Take())
        EXPECT_EQ(line.rfind("? 6 ", 0), std::string::npos) << line; // no WM_ACTIVATE
    DestroyWindow(top);
}

} // namespace
} // namespace winlayer::test
