#include "framework/Timer.h"
#include "platform/ak/FilePanel.h"
#include "platform/ak/test/AkTest.h"
#include "tests/winlayer/support/WindowProbe.h"
#include "winlayer/InputRecords.h"
#include "winlayer/window/DialogCalls.h"
#include "winlayer/window/TopLevel.h"
#include "winlayer/window/WindowView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace winlayer::test {
namespace {

using Log = std::vector<std::string>;
constexpr UINT kWmUser = 0x400;

long Count(const Log& log, const std::string& line) {
    return std::count(log.begin(), log.end(), line);
}

class DialogsTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        probe.answers[WM_INITDIALOG] = 1;
    }
    // Runs work on the main loop once the modal loop is under way.
    static void Later(std::function<void()> work) {
        ak::Application::RunOnMainLater(std::move(work));
    }
    int RunBox(int id = 40002, HWND parent = nullptr) {
        return WISP_DialogBox(&prefs, id, parent, &WindowProbe::DialogProc, 0);
    }
    DialogResourceRecord child{7, "Child", 1 | 4, nullptr, 120, 80, nullptr};
    DialogResourceRecord main{40001, "OmnarControl", 28, nullptr, 300, 300, &child};
    DialogResourceRecord prefs{40002, "Preferences", 12, nullptr, 334, 463, &main};
};

TEST_F(DialogsTest, EndDialogDuringInitDialogReturnsWithoutALoopAfterOneDestroy) {
    probe.hook = [](HWND window, UINT message, WPARAM, LPARAM) -> LRESULT {
        if (message == WM_INITDIALOG)
            EndDialog(window, 7);
        return 0;
    };
    EXPECT_EQ(RunBox(), 7);
    const Log log = probe.Take();
    EXPECT_EQ(Count(log, "? 272 0"), 1);
    EXPECT_EQ(Count(log, "? 2 0"), 1);
    EXPECT_EQ(ak::Application::Shared()->ModalWindow(), nullptr);
}

TEST_F(DialogsTest, RefusedDialogBoxesAnswerMinusOneAndCreateNothing) {
    const size_t windowsBefore = ak::Window::AllWindows().size();
    EXPECT_EQ(WISP_DialogBox(nullptr, 40002, nullptr, &WindowProbe::DialogProc, 0), -1);
    EXPECT_EQ(RunBox(12345), -1);
    EXPECT_EQ(RunBox(7), -1); // child-style
    EXPECT_EQ(ak::Window::AllWindows().size(), windowsBefore);
    EXPECT_TRUE(probe.Take().empty());
    EXPECT_EQ(WISP_CreateDialog(&prefs, 12345, nullptr, &WindowProbe::DialogProc, 0), nullptr);
}

TEST_F(DialogsTest, OkCancelAndTheCloseBoxEndTheModalLoop) {
    struct Case {
        const char* name;
        std::function<void(HWND)> act;
        int result;
    };
    const Case cases[] = {
        {"OK", [](HWND dialog) { PostMessage(dialog, WM_COMMAND, IDOK, 0); }, 1},
        {"Cancel", [](HWND dialog) { PostMessage(dialog, WM_COMMAND, IDCANCEL, 0); }, 2},
        {"close box", [](HWND dialog) { ak::test::CloseBox(*FindWindow(dialog)); }, 2},
    };
    for (const Case& c : cases) {
        probe.hook = [&c](HWND window, UINT message, WPARAM wParam, LPARAM) -> LRESULT {
            if (message == WM_INITDIALOG)
                Later([window, &c] { c.act(window); });
            if (message == WM_COMMAND && (wParam == IDOK || wParam == IDCANCEL))
                EndDialog(window, INT_PTR(wParam));
            return 0;
        };
        EXPECT_EQ(RunBox(), c.result) << c.name;
        EXPECT_EQ(Count(probe.Take(), "? 2 0"), 1) << c.name;
    }
}

TEST_F(DialogsTest, TimersAndThePostedQueueRunDuringTheModalLoop) {
    int timerTicks = 0, frameworkTicks = 0, posted = 0;
    std::unique_ptr<vx::Timer> timer;
    auto finishWhenAll = [&](HWND window) {
        if (timerTicks > 0 && frameworkTicks > 0 && posted > 0)
            EndDialog(window, 3);
    };
    probe.hook = [&](HWND window, UINT message, WPARAM, LPARAM) -> LRESULT {
        if (message == WM_INITDIALOG) {
            SetTimer(window, 5, 20, nullptr);
            PostMessage(window, kWmUser + 1, 0, 0);
            timer = vx::Timer::Make(
                [&, window](vx::Timer&) {
                    ++frameworkTicks;
                    finishWhenAll(window);
                },
                20);
        } else if (message == WM_TIMER) {
            ++timerTicks;
            finishWhenAll(window);
        } else if (message == kWmUser + 1) {
            ++posted;
        }
        return 0;
    };
    EXPECT_EQ(RunBox(), 3);
    EXPECT_GT(timerTicks, 0);
    EXPECT_GT(frameworkTicks, 0);
    EXPECT_EQ(posted, 1);
}

TEST_F(DialogsTest, DestroyingTheRunningDialogEndsItsLoopWithZero) {
    probe.hook = [](HWND window, UINT message, WPARAM, LPARAM) -> LRESULT {
        if (message == WM_INITDIALOG)
            Later([window] { DestroyWindow(window); });
        return 0;
    };
    EXPECT_EQ(RunBox(), 0);
    EXPECT_EQ(Count(probe.Take(), "? 2 0"), 1);
    EXPECT_EQ(ak::Application::Shared()->ModalWindow(), nullptr);
}

TEST_F(DialogsTest, EndDialogUnderAnInnerModalLoopEndsTheDialogOnceThatLoopEnds) {
    ak::Ref<ak::Window> inner;
    Log destroyedWhileInner;
    probe.hook = [&](HWND window, UINT message, WPARAM, LPARAM) -> LRESULT {
        if (message == WM_INITDIALOG) {
            Later([&, window] {
                inner =
                    ak::MakeRef<ak::Window>(ak::Rect{{50, 50}, {100, 60}}, ak::StyleMask::Titled);
                Later([&, window] {
                    EndDialog(window, 5);
                    destroyedWhileInner = probe.log;
                    ak::Application::Shared()->StopModal(inner.Get());
                });
                ak::Application::Shared()->RunModal(inner.Get());
            });
        }
        return 0;
    };
    EXPECT_EQ(RunBox(), 5);
    EXPECT_EQ(Count(destroyedWhileInner, "? 2 0"), 0);
    EXPECT_EQ(Count(probe.Take(), "? 2 0"), 1);
    inner->Close();
}

TEST_F(DialogsTest, SyntheticIdsMakeEmptyWindowsOrAChildView) {
    struct Case {
        int id;
        uint32_t style;
    };
    using ak::StyleMask::Closable, ak::StyleMask::Miniaturizable, ak::StyleMask::Resizable,
        ak::StyleMask::Titled;
    const Case cases[] = {
        {0x400001, Titled | Closable | Miniaturizable | Resizable},
        {0x400006, Titled},
        {0x400002, Titled | Closable},
    };
    for (const Case& c : cases) {
        const HWND dialog = WISP_CreateDialog(&prefs, c.id, nullptr, &WindowProbe::DialogProc, 0);
        ASSERT_NE(dialog, nullptr) << c.id;
        ak::Window* window = FindWindow(dialog);
        ASSERT_NE(window, nullptr) << c.id;
        EXPECT_EQ(window->GetStyleMask(), c.style) << c.id;
        EXPECT_EQ(FindView(dialog)->Frame().size, (ak::Size{10, 10})) << c.id;
        EXPECT_FALSE(window->IsVisible()) << c.id;
        EXPECT_EQ(Count(probe.Take(), "? 272 0"), 1) << c.id;
    }

    const HWND parent = WISP_CreateDialog(&prefs, 40001, nullptr, &WindowProbe::DialogProc, 0);
    const HWND child = WISP_CreateDialog(&prefs, 0x400000, parent, &WindowProbe::DialogProc, 0);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(FindView(child)->Superview(), FindView(parent));
    EXPECT_EQ(FindView(child)->Frame().size, (ak::Size{300, 200}));
    // Any other synthetic id stays a window, owned by the parent.
    const HWND owned = WISP_CreateDialog(&prefs, 0x400001, parent, &WindowProbe::DialogProc, 0);
    ASSERT_NE(FindWindow(owned), nullptr);
    EXPECT_EQ(GetParent(owned), parent);
}

TEST_F(DialogsTest, ChildStyleRecordsNeedAParentViewAndFilePanelsTakeThemAsAccessory) {
    const HWND alone = WISP_CreateDialog(&prefs, 7, nullptr, &WindowProbe::DialogProc, 0);
    ASSERT_NE(FindWindow(alone), nullptr); // a top-level window

    auto panel = ak::MakeRef<ak::OpenPanel>();
    AddFilePanel(panel.Get());
    const HWND accessory = WISP_CreateDialog(&prefs, 7, reinterpret_cast<HWND>(panel.Get()),
                                             &WindowProbe::DialogProc, 0);
    RemoveFilePanel(panel.Get());
    ASSERT_NE(accessory, nullptr);
    EXPECT_EQ(panel->AccessoryView(), FindView(accessory));
    EXPECT_EQ(FindView(accessory)->Frame().size, (ak::Size{120, 80}));
}

TEST_F(DialogsTest, TheFocusAnswerOfInitDialogInAModelessDialog) {
    probe.answers[WM_INITDIALOG] = kFocusDialogItself;
    const HWND dialog = WISP_CreateDialog(&prefs, 40001, nullptr, &WindowProbe::DialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(FindWindow(dialog)->FirstResponder(), FindView(dialog));
}

} // namespace
} // namespace winlayer::test
