#include "tests/e2e/FileDialogs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>

namespace e2e {

namespace {

constexpr auto kDialogWait = 10s;
constexpr double kPanelWidth = 1920, kPanelHeight = 1200;
const std::string kAlertPrefix = "alert: ";

} // namespace

void DialogTest::ClickPanel(int x, int y) {
    const auto frame = FrameOf(mWindow);
    ASSERT_TRUE(frame) << "no main window";
    // The panel fills the window's width and ends at its bottom; the menu bar is above it.
    const double scale = frame->width / kPanelWidth;
    const double top = frame->height - scale * kPanelHeight;
    Click(mWindow, int(std::lround(x * scale)), int(std::lround(top + y * scale)));
}

void DialogTest::MenuCommand(const std::string& menu, const std::string& entry) {
    const std::size_t before = ShownWindows().size();
    Keys("alt+" + menu);
    EXPECT_TRUE(WaitUntil([&] { return ShownWindows().size() > before; }, kDialogWait))
        << "alt+" << menu << " opened no menu";
    // The open menu has grabbed the keyboard: the key goes to it wherever the focus is.
    const auto run = RunTool({"xdotool", "key", entry}, 10s);
    EXPECT_EQ(run.status, 0) << "xdotool key " << entry << ": " << run.out;
}

std::optional<unsigned long> DialogTest::WaitForDialog() {
    std::optional<unsigned long> dialog;
    WaitUntil(
        [&] {
            for (unsigned long window : mX.ShownWindows(mProgram->Pid()))
                if (window != mWindow)
                    dialog = window;
            return dialog.has_value();
        },
        kDialogWait);
    return dialog;
}

bool DialogTest::ChooseFile(const std::string& path) {
    const auto chooser = WaitForDialog();
    if (!chooser) {
        ADD_FAILURE() << "no file chooser within 10 s";
        return false;
    }
    // Mapped, it takes keys once focused; Keys focuses it and waits for that.
    // The chooser starts in the home folder. A typed path that crosses folders
    // trips the chooser's completion (a GTK critical, fatal in tests): files in
    // the home folder are typed by name.
    const std::string home = mHome->Home().string() + "/";
    const std::string typedPath =
        path.rfind(home, 0) == 0 && path.find('/', home.size()) == std::string::npos
            ? path.substr(home.size())
            : path;
    Keys(*chooser, "ctrl+l");
    const auto typed = RunTool({"xdotool", "windowfocus", "--sync", std::to_string(*chooser), "key",
                                "ctrl+a", "type", typedPath},
                               20s);
    EXPECT_EQ(typed.status, 0) << "xdotool type: " << typed.out;
    Keys(*chooser, "Return");
    const bool closed = WaitUntil(
        [&] {
            const auto shown = mX.ShownWindows(mProgram->Pid());
            return std::find(shown.begin(), shown.end(), *chooser) == shown.end();
        },
        kDialogWait);
    EXPECT_TRUE(closed) << "the file chooser stayed after " << path;
    return closed;
}

std::string DialogTest::AlertsSince(std::size_t mark, std::size_t end) const {
    const std::string text = ProgramStderr();
    std::istringstream lines(mark < text.size() ? text.substr(mark, end - mark) : "");
    std::string alerts;
    for (std::string line; std::getline(lines, line);)
        if (line.rfind(kAlertPrefix, 0) == 0)
            alerts += line.substr(kAlertPrefix.size()) + "\n";
    return alerts;
}

std::optional<std::string> DialogTest::WaitForAlert(std::size_t mark,
                                                    std::chrono::milliseconds timeout) {
    std::string alerts;
    if (!WaitUntil([&] { return !(alerts = AlertsSince(mark)).empty(); }, timeout))
        return std::nullopt;
    return alerts.substr(0, alerts.find('\n'));
}

bool DialogTest::AnswerBox() {
    const auto box = WaitForDialog();
    if (!box)
        return false;
    Keys(*box, "Return");
    return WaitUntil(
        [&] {
            const auto shown = mX.ShownWindows(mProgram->Pid());
            return std::find(shown.begin(), shown.end(), *box) == shown.end();
        },
        kDialogWait);
}

} // namespace e2e
