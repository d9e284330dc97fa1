// The application's whole life through WISP_ApplicationMain, with a
// recording shell: a window at launch, a modal dialog from a posted command
// answered with Return, and the main window's close request. One run per
// process: a terminated application stays terminated.
#include "platform/ak/Button.h"
#include "platform/ak/test/AkTest.h"
#include "winlayer/InputRecords.h"
#include "winlayer/window/WindowCalls.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kPreferences = 40006;
std::vector<std::string> g_heard;
HWND g_main = nullptr;
int g_queries = 0;

void Later(std::function<void()> work) {
    ak::Application::RunOnMainLater(std::move(work));
}

void AddOkButton(HWND view, int) {
    auto button = ak::MakeRef<ak::Button>(ak::Rect{{10, 10}, {80, 24}}, ak::ButtonKind::Push);
    button->SetTag(IDOK);
    winlayer::FindView(view)->AddSubview(button.Get());
    winlayer::FindView(view)->GetWindow()->SetDefaultButton(button.Get());
}

DialogResourceRecord g_prefs{40002, "Preferences", 12, &AddOkButton, 334, 200, nullptr};
DialogResourceRecord g_mainRecord{40001, "OmnarControl", 28, nullptr, 300, 300, &g_prefs};

INT_PTR PreferencesProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        Later([dialog] {
            ak::Window* window = winlayer::FindWindow(dialog);
            ak::test::WaitUntilShown(*window);
            const unsigned keycode = ak::test::KeycodeOf(0xff0d);
            ak::test::Key(*window, keycode, 0xff0d, true);
            ak::test::Key(*window, keycode, 0xff0d, false);
        });
        return 1;
    }
    if (message == WM_COMMAND && (wParam == IDOK || wParam == IDCANCEL))
        EndDialog(dialog, INT_PTR(wParam));
    return 0;
}

INT_PTR MainProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_COMMAND:
        if (wParam == kPreferences) {
            const int answer = WISP_DialogBox(&g_mainRecord, 40002, window, &PreferencesProc, 0);
            g_heard.push_back("preferences " + std::to_string(answer));
            // The window manager's close request (no window manager runs here).
            Later([window] { ak::test::CloseBox(*winlayer::FindWindow(window)); });
        }
        return 0;
    case WM_CLOSE:
        DestroyWindow(window);
        return 1;
    case WM_DESTROY:
        g_heard.push_back("main destroyed");
        g_main = nullptr;
        WISP_PostQuitMessage(window);
        return 0;
    default:
        return 0;
    }
}

INT_PTR Shell(int message, INT_PTR, INT_PTR) {
    if (message == AppMsg_KeyEvent || message == AppMsg_Activate)
        return 0;
    g_heard.push_back(std::to_string(message));
    switch (message) {
    case AppMsg_Launched:
        g_main = WISP_CreateDialog(&g_mainRecord, 40001, nullptr, &MainProc, 0);
        ShowWindow(g_main, SW_SHOW);
        PostMessage(g_main, WM_COMMAND, kPreferences, 0);
        return 0;
    case AppMsg_QueryTerminate:
        // The first request is put off; the shell asks again itself.
        if (++g_queries == 1) {
            Later([] { WISP_PostQuitMessage(nullptr); });
            return 1;
        }
        return 0;
    default:
        return 0;
    }
}

// Ends a hung run with a message rather than waiting for the test's timeout.
class Watchdog {
public:
    explicit Watchdog(int seconds)
        : thread_([this, seconds] {
              for (int i = 0; i < seconds * 10 && !done_; ++i)
                  std::this_thread::sleep_for(std::chrono::milliseconds(100));
              if (!done_) {
                  std::fprintf(stderr, "the application did not terminate\n");
                  std::_Exit(2);
              }
          }) {}
    ~Watchdog() {
        done_ = true;
        thread_.join();
    }

private:
    std::atomic<bool> done_{false};
    std::thread thread_;
};

TEST(AppMainTest, WithoutADisplayItAnswersOneBeforeLoading) {
    if (std::getenv("DISPLAY"))
        GTEST_SKIP() << "run without a display by its own test entry";
    g_heard.clear();
    EXPECT_EQ(WISP_ApplicationMain(0, nullptr, &Shell), 1);
    EXPECT_TRUE(g_heard.empty());
}

TEST(AppMainTest, RunsTheShellFromLoadingToTermination) {
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "needs a display";
    Watchdog watchdog(30);
    g_heard.clear();
    EXPECT_EQ(WISP_ApplicationMain(0, nullptr, &Shell), 0);
    EXPECT_EQ(g_heard, (std::vector<std::string>{"1", "2", "preferences 1", "main destroyed", "4",
                                                 "4", "3"}));
    EXPECT_EQ(g_main, nullptr);
}

} // namespace
