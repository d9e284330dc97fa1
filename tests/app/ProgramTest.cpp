// The real program under Xvfb, driven from outside as a user would, on the
// end-to-end tests' harness: its menus, its Preferences dialog and its boxes.
#include "tests/e2e/ProgramSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace shell::test {
namespace {

using namespace std::chrono_literals;

class ProgramTest : public e2e::ProgramTest {
protected:
    // The main window's frame once its menu bar stands above the 600-pixel panel.
    e2e::Frame WaitForMenuBar() {
        e2e::Frame frame;
        EXPECT_TRUE(e2e::WaitUntil(
            [&] {
                frame = FrameOf(mWindow).value_or(e2e::Frame{});
                return frame.height > 600;
            },
            10s))
            << "no menu bar above the panel";
        return frame;
    }

    // Clicks what opens a pop-up (a menu title, a list's button) in the window,
    // waits for the pop-up to draw and take input, clicks the entry at a
    // screen point and waits for the pop-up to go.
    void ChooseFromPopup(unsigned long window, int x, int y, int entryX, int entryY) {
        const std::vector<unsigned long> before = ShownWindows();
        Click(window, x, y);
        std::optional<unsigned long> popup;
        ASSERT_TRUE(e2e::WaitUntil(
            [&] {
                for (const unsigned long shown : ShownWindows())
                    if (std::find(before.begin(), before.end(), shown) == before.end())
                        popup = shown;
                return popup.has_value();
            },
            10s))
            << "no pop-up opened";
        ASSERT_TRUE(HoverPopupEntry(*popup, entryX, entryY))
            << "the pop-up did not highlight the entry under the pointer";
        ClickOnScreen(entryX, entryY);
        EXPECT_TRUE(e2e::WaitUntil(
            [&] {
                const auto shown = ShownWindows();
                return std::find(shown.begin(), shown.end(), *popup) == shown.end();
            },
            10s))
            << "the pop-up did not close";
    }

    // Opens File > Preferences... with the mouse: the menu title, then its first item.
    std::optional<unsigned long> OpenPreferencesByMouse(const e2e::Frame& frame) {
        ChooseFromPopup(mWindow, 20, 12, frame.x + 40, frame.y + 40);
        return WaitForWindow("Preferences", 20s);
    }
};

TEST_F(ProgramTest, PreferencesOverJackAndQuit) {
    // The harness's server is up and settings.ini names its driver.
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    // The 960 x 600 panel is centred on the 1920 x 1200 screen, the bar above it.
    const e2e::Frame frame = WaitForMenuBar();
    ASSERT_TRUE(WaitUntilSteady(mWindow, 10s)) << "the panel kept changing";
    Shot("main-window");
    EXPECT_EQ(frame.x, 480);
    EXPECT_EQ(frame.width, 960);
    EXPECT_EQ(frame.y + frame.height, 900);

    auto prefs = OpenPreferencesByMouse(frame);
    ASSERT_TRUE(prefs) << "File > Preferences... opened no dialog";
    Shot(*prefs, "preferences-jack");
    // Buffer Size. With no window manager the dialog stands at the screen's
    // origin, and each list opens below its button, 24 pixels an entry.
    ChooseFromPopup(*prefs, 252, 62, 240, 86 + 5 * 24); // "256"
    Shot(*prefs, "preferences-buffer-256");
    Click(*prefs, 202, 438); // OK
    EXPECT_TRUE(e2e::WaitUntil([&] { return !IsShown("Preferences"); }, 5s)) << "OK did not end it";
    EXPECT_TRUE(
        e2e::WaitUntil([&] { return SettingsText().find("buffer=256") != std::string::npos; }, 5s))
        << SettingsText();
    const std::string settings = SettingsText();
    EXPECT_NE(settings.find("outdev=system"), std::string::npos) << settings;

    // Ctrl+, opens it again; a changed MIDI input channel is cancelled.
    Keys("ctrl+comma");
    prefs = WaitForWindow("Preferences", 20s);
    ASSERT_TRUE(prefs) << "Ctrl+, opened no dialog";
    ChooseFromPopup(*prefs, 225, 339, 225, 363 + 24); // Input Channel "1"
    Shot(*prefs, "preferences-channel-changed");
    Click(*prefs, 286, 438); // Cancel
    EXPECT_TRUE(e2e::WaitUntil([&] { return !IsShown("Preferences"); }, 5s));
    EXPECT_EQ(SettingsText(), settings);

    Keys("ctrl+q");
    const auto status = WaitForExit(e2e::kExitWait);
    ASSERT_TRUE(status.has_value()) << "Ctrl+Q did not end the program";
    EXPECT_EQ(*status, 0);
    EXPECT_NE(SettingsText().find("[GUI]"), std::string::npos) << SettingsText();
    EXPECT_NE(SettingsText().find("scale="), std::string::npos) << SettingsText();
    EXPECT_EQ(ProgramStderr().find("CRITICAL"), std::string::npos) << ProgramStderr();
}

TEST_F(ProgramTest, ADriverOutsideTheListShowsTheErrorFirst) {
    std::ofstream(SettingsPath()) << "[audio]\ndriver=7\n";
    ASSERT_NO_FATAL_FAILURE(Launch());
    const std::string line = "alert: Error: Please check your soundcard settings in Preferences";
    ASSERT_TRUE(
        e2e::WaitUntil([&] { return ProgramStderr().find(line) != std::string::npos; }, 20s))
        << ProgramStderr();
    EXPECT_FALSE(IsShown("OmnarControl")) << "the box comes before the main window";
    // The box has no title; it is the one window shown.
    std::vector<unsigned long> boxes;
    ASSERT_TRUE(e2e::WaitUntil(
        [&] {
            boxes = ShownWindows();
            return !boxes.empty();
        },
        10s))
        << "the box did not show";
    Shot(boxes.back(), "error-box");
    Keys(boxes.back(), "Return");
    const auto main = WaitForWindow("OmnarControl", 20s);
    ASSERT_TRUE(main) << "no main window after the box";
    mWindow = *main;
    const e2e::Frame frame = WaitForMenuBar();
    ChooseFromPopup(mWindow, 20, 12, frame.x + 40, frame.y + 66); // File > Quit
    const auto status = WaitForExit(e2e::kExitWait);
    ASSERT_TRUE(status.has_value()) << "File > Quit did not end the program";
    EXPECT_EQ(*status, 0);
}

TEST_F(ProgramTest, WithoutADisplayItSaysSoAndEndsWithOne) {
    const std::string display = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    unsetenv("DISPLAY");
    Launch();
    setenv("DISPLAY", display.c_str(), 1);
    ASSERT_TRUE(mProgram);
    const auto status = WaitForExit(e2e::kExitWait);
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(*status, 1);
    const std::string printed = ProgramStderr();
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << printed;
}

} // namespace
} // namespace shell::test
