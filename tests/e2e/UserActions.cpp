#include "tests/e2e/UserActions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace e2e {

namespace {

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
    KeysToFocus(item);
    EXPECT_TRUE(WaitUntil(
        [&] {
            const auto shown = ShownWindows();
            return std::find(shown.begin(), shown.end(), *popup) == shown.end();
        },
        5s))
        << "the menu stayed open after " << item;
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

void UserTest::ChooseFile(const std::vector<unsigned long>& earlier,
                          const std::filesystem::path& path, bool save) {
    const auto chooser = WaitForNewWindow(earlier, 10s);
    ASSERT_TRUE(chooser) << "no file chooser within 10 s";
    // Open: the location entry; save: the name entry, which takes a whole path.
    Keys(*chooser, save ? "ctrl+a" : "ctrl+l");
    // A name in the folder the chooser shows needs no completion of folders.
    const std::string typing =
        path.parent_path() == mHome->Home() ? path.filename().string() : path.string();
    const auto typed = RunTool({"xdotool", "type", "--delay", "25", typing}, 20s);
    EXPECT_EQ(typed.status, 0) << typed.out;
    const auto gone = [&] {
        const auto shown = ShownWindows();
        return std::find(shown.begin(), shown.end(), *chooser) == shown.end();
    };
    // The location entry's completion list, when it shows, takes the first Return.
    bool closed = false;
    for (int attempt = 0; attempt < 3 && !closed; ++attempt) {
        KeysToFocus("Return");
        closed = WaitUntil(gone, attempt < 2 ? 3s : 10s);
    }
    if (!closed)
        Shot(*chooser, "chooser-left-open");
    EXPECT_TRUE(closed) << "the file chooser stayed open";
}

int UserTest::BoxesShown(const std::string& text) const {
    // "alert: <caption>: <text>"; the editor's boxes have no caption.
    std::istringstream lines(ProgramStderr());
    int shown = 0;
    for (std::string line; std::getline(lines, line);)
        shown += line.rfind("alert: ", 0) == 0 && line.find(": " + text) != std::string::npos;
    return shown;
}

std::optional<int> UserTest::WaitForBox(const std::string& text, int from,
                                        std::chrono::milliseconds timeout) {
    int shown = 0;
    if (!WaitUntil(
            [&] {
                shown = BoxesShown(text);
                return shown > from;
            },
            timeout))
        return std::nullopt;
    return shown;
}

void UserTest::AnswerBox() {
    std::optional<unsigned long> box;
    // The box's stderr line comes just before it is mapped.
    ASSERT_TRUE(WaitUntil(
        [&] {
            for (const unsigned long window : ShownWindows())
                if (window != mWindow)
                    box = window;
            return box.has_value();
        },
        10s))
        << "no box shown";
    Keys(*box, "Return");
    EXPECT_TRUE(WaitUntil(
        [&] {
            const auto shown = ShownWindows();
            return std::find(shown.begin(), shown.end(), *box) == shown.end();
        },
        10s))
        << "the box stayed open";
}

void UserTest::ClickPanel(int x, int y) {
    const auto size = Size();
    ASSERT_TRUE(size);
    const double scale = size->width / 1920.0;
    const int top = size->height - int(1200 * scale + 0.5);
    Click(mWindow, int(x * scale), top + int(y * scale));
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
