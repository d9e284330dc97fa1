#include "tests/e2e/UserActions.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace e2e {

namespace {

constexpr auto kDialogWait = 10s;
constexpr double kPanelWidth = 1920, kPanelHeight = 1200;
const std::string kAlertPrefix = "alert: ";

// Keys to whatever holds the keyboard now (an open menu grabs it).
void KeysToFocus(const std::string& keys) {
    const auto run = RunTool({"xdotool", "key", "--clearmodifiers", keys}, 10s);
    EXPECT_EQ(run.status, 0) << "xdotool key " << keys << ": " << run.out;
}

} // namespace

void UserTest::MenuCommand(const std::string& menu, const std::string& item) {
    const auto earlier = ShownWindows();
    Keys("alt+" + menu);
    auto popup = WaitForNewWindow(earlier, 5s);
    if (!popup) {
        // A busy program may have taken the chord before its bar was ready.
        Keys("alt+" + menu);
        popup = WaitForNewWindow(earlier, 10s);
    }
    ASSERT_TRUE(popup) << "alt+" << menu << " opened no menu";
    // Drawn, so it holds the keyboard: it takes the grab before it maps.
    ASSERT_TRUE(WaitUntilSteady(*popup, 10s)) << "the menu did not settle";
    KeysToFocus(item);
    EXPECT_TRUE(WaitUntil(
        [&] {
            const auto shown = ShownWindows();
            return std::find(shown.begin(), shown.end(), *popup) == shown.end();
        },
        5s))
        << "the menu stayed open after " << item;
}

void UserTest::ClickPanel(int x, int y) {
    const auto frame = FrameOf(mWindow);
    ASSERT_TRUE(frame) << "no main window";
    // The panel fills the window's width and ends at its bottom; the menu bar is above it.
    const double scale = frame->width / kPanelWidth;
    const double top = frame->height - scale * kPanelHeight;
    Click(mWindow, int(std::lround(x * scale)), int(std::lround(top + y * scale)));
}

::testing::AssertionResult UserTest::ChooseSlot7UserResponse() {
    // IMPORT as it looks disabled, with MODE at the factory response.
    const auto disabled = Grab(kSlot7ImportButton);
    if (!disabled)
        return ::testing::AssertionFailure() << "no picture of slot 7's IMPORT";
    const auto enabled = [&] {
        const auto now = Grab(kSlot7ImportButton);
        return now && now->DifferenceFrom(*disabled) > 0.05;
    };
    // The editor may still apply the device's current preset, MODE included,
    // after the first click, in a fast build before IMPORT was ever painted
    // enabled: once the panel has settled with IMPORT disabled again, the
    // preset is in and a second click stays.
    bool everEnabled = false;
    for (int click = 0; click < 2; ++click) {
        const std::size_t mark = Trace().size();
        ClickPanel(kSlot7Mode);
        if (!WaitForTrace(mark, "ParamChange", kDialogWait))
            return ::testing::AssertionFailure() << "slot 7's MODE sent nothing within 10 s";
        everEnabled = WaitUntil(enabled, kDialogWait) || everEnabled;
        if (SettledPanel() && enabled())
            return ::testing::AssertionSuccess();
    }
    if (!everEnabled)
        return ::testing::AssertionFailure() << "slot 7's IMPORT stayed disabled";
    return ::testing::AssertionFailure() << "slot 7's MODE did not stay at the user response";
}

std::string UserTest::TraceSince(std::size_t mark) const {
    const std::string trace = Trace();
    return mark < trace.size() ? trace.substr(mark) : "";
}

bool UserTest::WaitForTrace(std::size_t mark, const std::string& text,
                            std::chrono::milliseconds timeout, int count) const {
    return WaitUntil([&] { return Count(TraceSince(mark), text) >= count; }, timeout);
}

std::optional<unsigned long> UserTest::WaitForNewWindow(const std::vector<unsigned long>& earlier,
                                                        std::chrono::milliseconds timeout) {
    std::optional<unsigned long> found;
    WaitUntil(
        [&] {
            for (const unsigned long window : ShownWindows())
                if (std::find(earlier.begin(), earlier.end(), window) == earlier.end())
                    found = window;
            return found.has_value();
        },
        timeout);
    return found;
}

std::optional<unsigned long> UserTest::WaitForDialog() {
    std::optional<unsigned long> dialog;
    WaitUntil(
        [&] {
            for (const unsigned long window : mX.ShownWindows(mProgram->Pid()))
                if (window != mWindow)
                    dialog = window;
            return dialog.has_value();
        },
        kDialogWait);
    return dialog;
}

bool UserTest::IsGone(unsigned long window) {
    const auto shown = mX.ShownWindows(mProgram->Pid());
    return std::find(shown.begin(), shown.end(), window) == shown.end();
}

::testing::AssertionResult UserTest::ChooseFile(const std::filesystem::path& path) {
    const auto chooser = WaitForDialog();
    if (!chooser)
        return ::testing::AssertionFailure() << "no file chooser within 10 s for " << path;
    // A typed path that crosses folders trips the chooser's completion (a GTK
    // critical, fatal in tests): files in the home folder are typed by name.
    const std::string typing =
        path.parent_path() == mHome->Home() ? path.filename().string() : path.string();
    // Open or save, Ctrl+L gives the entry that takes a whole path; Ctrl+A
    // replaces whatever name the chooser offered.
    Keys(*chooser, "ctrl+l");
    const auto typed = RunTool({"xdotool", "windowfocus", "--sync", std::to_string(*chooser), "key",
                                "ctrl+a", "type", "--delay", "25", typing},
                               20s);
    if (typed.status != 0)
        return ::testing::AssertionFailure() << "xdotool type " << typing << ": " << typed.out;
    // The entry's completion list, when it shows, takes the first Return; a
    // later one goes to the chooser only while it is still there, never to
    // a box that follows it.
    bool closed = false;
    for (int attempt = 0; attempt < 3 && !closed; ++attempt) {
        if (!IsGone(*chooser))
            RunTool({"xdotool", "windowfocus", "--sync", std::to_string(*chooser), "key", "Return"},
                    10s);
        closed = WaitUntil([&] { return IsGone(*chooser); }, attempt < 2 ? 3s : kDialogWait);
    }
    if (!closed) {
        Shot(*chooser, "chooser-left-open");
        return ::testing::AssertionFailure() << "the file chooser stayed open after " << path;
    }
    return ::testing::AssertionSuccess();
}

std::string UserTest::AlertsSince(std::size_t mark, std::size_t end) const {
    const std::string text = ProgramStderr();
    std::istringstream lines(mark < text.size() ? text.substr(mark, end - mark) : "");
    std::string alerts;
    // Only whole lines: one still being written is read on the next look.
    for (std::string line; std::getline(lines, line) && !lines.eof();)
        if (line.rfind(kAlertPrefix, 0) == 0)
            alerts += line.substr(kAlertPrefix.size()) + "\n";
    return alerts;
}

std::optional<std::string> UserTest::WaitForAlert(std::size_t mark,
                                                  std::chrono::milliseconds timeout,
                                                  const std::string& text) {
    std::optional<std::string> found;
    WaitUntil(
        [&] {
            std::istringstream alerts(AlertsSince(mark));
            for (std::string line; std::getline(alerts, line);)
                if (line.find(text) != std::string::npos) {
                    found = line;
                    return true;
                }
            return false;
        },
        timeout);
    return found;
}

::testing::AssertionResult UserTest::AnswerBox() {
    // The box's stderr line comes just before it is mapped.
    const auto box = WaitForDialog();
    if (!box)
        return ::testing::AssertionFailure() << "no box shown within 10 s";
    Keys(*box, "Return");
    if (!WaitUntil([&] { return IsGone(*box); }, kDialogWait))
        return ::testing::AssertionFailure() << "the box stayed open after Return";
    return ::testing::AssertionSuccess();
}

void UserTest::ShotOfBox(const std::string& name) {
    // The alert's stderr line comes before the box is mapped, and mapping before drawing.
    const auto box = WaitForDialog();
    ASSERT_TRUE(box) << "no box to shoot as " << name;
    EXPECT_TRUE(WaitUntil([&] { return mX.ShowsContent(*box); }, kDialogWait))
        << "the box for " << name << " showed no text within 10 s";
    // The box itself: it is not always placed over the main window.
    Shot(*box, name);
}

void UserTest::ExpectBox(std::size_t mark, const std::string& text,
                         std::chrono::milliseconds timeout, const std::string& shot) {
    const auto alert = WaitForAlert(mark, timeout);
    ASSERT_TRUE(alert) << "no box saying " << text << " within " << timeout.count() << " ms";
    EXPECT_NE(alert->find(text), std::string::npos) << *alert;
    if (!shot.empty()) {
        ASSERT_NO_FATAL_FAILURE(ShotOfBox(shot));
    }
    ASSERT_TRUE(AnswerBox()) << "the box saying " << *alert;
}

std::optional<PanelPixels> UserTest::SettledPanel() {
    std::optional<PanelPixels> last = Grab(kWholePanel);
    std::optional<PanelPixels> settled;
    WaitUntil(
        [&] {
            auto now = Grab(kWholePanel);
            if (now && last && now->DifferenceFrom(*last) == 0.0)
                settled = now;
            last = std::move(now);
            return settled.has_value();
        },
        10s);
    return settled;
}

void UserTest::ExpectAboutOpens() {
    // What a box or a lost device changes is drawn first.
    const auto before = SettledPanel();
    ASSERT_TRUE(before) << "the panel did not settle within 10 s";
    MenuCommand("h", "a");
    std::optional<PanelPixels> about;
    EXPECT_TRUE(WaitUntil(
        [&] {
            about = Grab(kWholePanel);
            return about && about->DifferenceFrom(*before) > 0.3;
        },
        10s))
        << "Help > About showed no about page";
    Shot("about");
    ClickPanel(960, 600);
    // Gone, whatever else the panel shows meanwhile.
    EXPECT_TRUE(WaitUntil(
        [&] {
            const auto now = Grab(kWholePanel);
            return now && about && now->DifferenceFrom(*about) > 0.3;
        },
        10s))
        << "a click did not take the about page away";
}

} // namespace e2e
