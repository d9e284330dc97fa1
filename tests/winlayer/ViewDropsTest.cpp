// Files dropped on window views: WM_DROPFILES with the block, the drag hooks
// on the way, nothing for views without drops or addresses that are not
// local files.
#include "tests/winlayer/support/ControlHost.h"
#include "winlayer/Runtime.h"
#include "winlayer/WinBasics.h"
#include "winlayer/drops/DropBlock.h"
#include "winlayer/window/WindowView.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace winlayer::test {
namespace {

std::vector<std::string> g_hooks;

void OnEnter(HDROP drop, POINT) {
    char name[64] = "";
    DragQueryFile(drop, 0, name, sizeof name);
    g_hooks.push_back("enter " + std::to_string(DragQueryFile(drop, kDropFileCount, nullptr, 0)) +
                      " " + name);
}
void OnOver(POINT) {
    if (g_hooks.empty() || g_hooks.back() != "over")
        g_hooks.push_back("over");
}
void OnLeave() {
    g_hooks.push_back("leave");
}

class ViewDropsTest : public ControlHostTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        g_hooks.clear();
        resource.flags = 28 | (1 << 5); // drops on
        ShowHost([](UINT message, LPARAM) -> std::string {
            return message == WM_DROPFILES ? "drop" : "";
        });
        probe.hook = [this](HWND, UINT message, WPARAM wParam, LPARAM) -> LRESULT {
            if (message == WM_DROPFILES) {
                const auto drop = reinterpret_cast<HDROP>(wParam);
                std::string line = "drop";
                for (UINT i = 0; i < DragQueryFile(drop, kDropFileCount, nullptr, 0); ++i) {
                    char name[256];
                    DragQueryFile(drop, i, name, sizeof name);
                    line += std::string(" ") + name;
                }
                notes.push_back(line);
            }
            return 0;
        };
    }
    void TearDown() override {
        WISP_ExtendedAPI("WISP_DDrop_onDragEnter", nullptr);
        WISP_ExtendedAPI("WISP_DDrop_onDragOver", nullptr);
        WISP_ExtendedAPI("WISP_DDrop_onDragLeave", nullptr);
        ControlHostTest::TearDown();
    }
};

TEST_F(ViewDropsTest, DropsReachTheProcedureAndTheHooks) {
    WISP_ExtendedAPI("WISP_DDrop_onDragEnter", reinterpret_cast<void*>(&OnEnter));
    WISP_ExtendedAPI("WISP_DDrop_onDragOver", reinterpret_cast<void*>(&OnOver));
    WISP_ExtendedAPI("WISP_DDrop_onDragLeave", reinterpret_cast<void*>(&OnLeave));
    ak::View& view = *FindView(top);
    const std::string uris = "file:///a/x.wav\r\nhttp://elsewhere/y\r\nfile:///b/y.txt\r\n";
    EXPECT_TRUE(ak::test::DragFiles(view, uris, {{20, 20}, {40, 40}}, true));
    ak::test::Pump();
    EXPECT_EQ(notes, (std::vector<std::string>{"drop /a/x.wav /b/y.txt"}));
    ASSERT_FALSE(g_hooks.empty());
    EXPECT_EQ(g_hooks.front(), "enter 2 /a/x.wav");
    EXPECT_EQ(g_hooks.back(), "leave");
}

TEST_F(ViewDropsTest, NoDropsNoOperation) {
    HWND plain = Wisp_vOmnarControl_hwnd::initChild(
                     nullptr, FindView(top), reinterpret_cast<DLGPROC>(&WindowProbe::Proc), 0)
                     ->Handle();
    SetWindowPos(plain, nullptr, 0, 0, 100, 100, SWP_NOZORDER);
    ShowWindow(plain, SW_SHOW);
    ak::test::Pump();
    EXPECT_FALSE(ak::test::DragFiles(*FindView(plain), "file:///a/x.wav\r\n", {{10, 10}}, true));
    // Addresses that are not local files drop nothing.
    EXPECT_FALSE(ak::test::DragFiles(*FindView(top), "http://elsewhere/y\r\n", {{150, 150}}, true));
    ak::test::Pump();
    EXPECT_TRUE(notes.empty());
}

} // namespace
} // namespace winlayer::test
