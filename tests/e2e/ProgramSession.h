#pragma once

// The real omnarcontrol as a user meets it: its own home and XDG folders in a
// temporary folder, its audio on the JACK fixture's private dummy server, on
// the virtual display, driven from outside with xdotool and watched through
// its windows, its files, its exit status and its stderr. The device cases
// add devsim on that server; the shell's cases its menus and dialogs. No
// window manager runs, so windows are focused, never activated.
// Every wait is bounded; a failing test prints the program's stderr, devsim's
// trace and the JACK graph, and keeps its screenshots.

#include "tests/devsim/JackServerFixture.h"
#include "tests/e2e/TempHome.h"
#include "tests/e2e/XWindows.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace e2e {

using namespace std::chrono_literals;

// How long the program may take to end once told to quit. Its own quit is
// quick; in the sanitised build the end includes the leak check, which looks
// up the symbols of every suppressed leak and on a loaded machine takes tens
// of seconds.
inline constexpr auto kExitWait = 90s;

// One run of a command-line tool, ended when it outlives the timeout.
struct ToolRun {
    std::optional<int> status; // nothing: it had to be stopped
    std::string out;
};
ToolRun RunTool(const std::vector<std::string>& argv, std::chrono::milliseconds timeout);

// Polls the condition every 50 ms until it holds or the timeout passes.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

// How often the part stands in the text (a trace, stderr), overlaps counted.
int Count(const std::string& text, const std::string& part);
// A file's bytes; empty when it cannot be read.
std::string ReadFile(const std::filesystem::path& file);

// A window's place on the screen and its size, in pixels.
struct Frame {
    int x = 0, y = 0, width = 0, height = 0;
};

class ProgramTest : public devsim::test::JackServerTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the program and waits up to 20 s for its main window.
    void StartProgram();
    // Starts the program and waits for nothing.
    void Launch();
    std::string ProgramStderr() const;
    // The close request of the window's close button; the exit status within kExitWait.
    std::optional<int> CloseWindow();
    // Keys to the main window (or the given one), in xdotool's names ("ctrl+q").
    void Keys(const std::string& keys) { Keys(mWindow, keys); }
    void Keys(unsigned long window, const std::string& keys);
    // Text typed into the window as a user types it, after giving it the focus.
    void Type(unsigned long window, const std::string& text);
    // A left-button drag between two points of the window, in pixels.
    void Drag(std::pair<int, int> from, std::pair<int, int> to);
    // A left click at a point of the window, or of the screen.
    void Click(unsigned long window, int x, int y);
    void ClickOnScreen(int x, int y);

    // A shown window of the program with exactly this title (a dialog), or nothing.
    std::optional<unsigned long> WaitForWindow(const std::string& title,
                                               std::chrono::milliseconds timeout);
    bool IsShown(const std::string& title) { return WaitForWindow(title, 0ms).has_value(); }
    // Every shown window on the display, pop-ups and untitled boxes too.
    std::vector<unsigned long> ShownWindows();
    // The window's picture stands still: two looks in a row agree.
    bool WaitUntilSteady(unsigned long window, std::chrono::milliseconds timeout);
    // A pop-up that opened (a menu, a list) has drawn and takes input: with
    // the pointer moved off it, its picture stands still; with the pointer on
    // the entry at the screen point, the entry's row changes as the pop-up
    // highlights it, which it does only once it holds the pointer.
    bool HoverPopupEntry(unsigned long popup, int screenX, int screenY);
    std::optional<Frame> FrameOf(unsigned long window);
    std::optional<int> WaitForExit(std::chrono::milliseconds timeout);
    std::optional<WindowSize> Size() { return mX.Size(mWindow); }
    // The main window (or the given one) as a PNG in
    // build/test-output/e2e/<suite>-<test>-<name>.png.
    void Shot(const std::string& name) { Shot(mWindow, name); }
    void Shot(unsigned long window, const std::string& name);
    // Where Shot(name) writes its picture.
    static std::string ShotPath(const std::string& name);

    std::string SettingsPath() const;
    std::string SettingsText() const;
    // settings.ini: the JACK audio driver, then the text's sections.
    void WriteSettings(const std::string& text) const;
    // Where "Jack" stands in the host's driver list; 2 on Debian 12.
    static int JackDriverIndex();
    std::filesystem::path PresetsFolder() const;

    // Device cases: devsim on the test's JACK server, and settings.ini naming its ports.
    void StartDevice(const std::vector<std::string>& faults = {});
    // devsim alone, under the same name and state folder, settings.ini left as
    // it is; its trace starts afresh.
    void LaunchDevice(const std::vector<std::string>& faults = {});
    std::string Trace() const;
    // jack_disconnect (or jack_connect) of both cables between program and devsim.
    void Cables(bool plugged);

    std::optional<TempHome> mHome;
    XDisplay mX;
    std::unique_ptr<devsim::test::ChildProcess> mProgram;
    unsigned long mWindow = 0;

private:
    int mRuns = 0;
    std::string mLeakOptions;
    std::vector<std::pair<std::string, std::string>> mUnplugged;
};

} // namespace e2e
