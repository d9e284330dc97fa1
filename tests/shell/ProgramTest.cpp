// The real program under Xvfb, driven from outside as a user would: XTEST
// input through xdotool, screenshots with ImageMagick's import, its folders
// in a temporary place and its audio on a private JACK dummy server. No
// window manager runs, so windows are focused, never activated. Every wait
// is bounded; a failure prints the program's stderr and keeps the pictures.
#include "framework/host/AudioSystem.h"
#include "tests/devsim/ChildProcess.h"
#include "tests/devsim/JackServerFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

namespace shell::test {
namespace {

using namespace std::chrono_literals;
using devsim::test::ChildProcess;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    while (!done()) {
        if (Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

class ProgramTest : public devsim::test::JackServerTest {
protected:
    void SetUp() override {
        JackServerTest::SetUp();
        ASSERT_FALSE(HasFatalFailure());
        mOutput = fs::path(OMNAR_TEST_OUTPUT_DIR) / "shell";
        fs::create_directories(mOutput);
        mConfig = mDir / "config";
        fs::create_directories(mConfig / "OmnarControl");
        fs::create_directories(mDir / "data");
        setenv("XDG_CONFIG_HOME", mConfig.c_str(), 1);
        setenv("XDG_DATA_HOME", (mDir / "data").c_str(), 1);
        // The program's leak report knows the GUI and MIDI libraries' own caches.
        const fs::path suppressions = mDir / "lsan.supp";
        std::ofstream(suppressions) << ReadFile(GTK_LEAKS_SUPP) << "\n"
                                    << ReadFile(RTMIDI_LEAKS_SUPP) << "\n";
        setenv("LSAN_OPTIONS",
               ("suppressions=" + suppressions.string() + ":print_suppressions=0").c_str(), 1);
    }
    void TearDown() override {
        if (mProgram) {
            mProgram->Stop(5s);
            if (HasFailure())
                std::fprintf(stderr, "--- omnarcontrol stderr ---\n%s\n",
                             mProgram->StderrText().c_str());
        }
        JackServerTest::TearDown();
    }

    fs::path SettingsPath() const { return mConfig / "OmnarControl" / "settings.ini"; }
    std::string Settings() const { return ReadFile(SettingsPath()); }

    void StartProgram() {
        std::string error;
        mProgram = ChildProcess::Start({OMNARCONTROL_PATH}, (mDir / "program.err").string(), error);
        ASSERT_TRUE(mProgram) << error;
    }
    std::string ProgramStderr() const { return mProgram ? mProgram->StderrText() : ""; }

    // Runs a short tool to its end (10 s at most); its stdout lines.
    std::vector<std::string> Tool(const std::vector<std::string>& argv) {
        std::string error;
        auto tool = ChildProcess::Start(argv, (mDir / "tool.err").string(), error);
        EXPECT_TRUE(tool) << error;
        std::vector<std::string> lines;
        if (!tool)
            return lines;
        const auto deadline = Clock::now() + 10s;
        while (Clock::now() < deadline)
            if (auto line = tool->ReadLine(200ms))
                lines.push_back(*line);
            else if (tool->WaitForExit(0ms))
                break;
        const auto status = tool->WaitForExit(1s);
        EXPECT_TRUE(status.has_value()) << argv.front() << " did not end";
        return lines;
    }

    // The X window of that exact title, once it is mapped; empty after 20 s.
    std::string FindWindow(const std::string& title) {
        std::string found;
        WaitUntil(
            [&] {
                const auto lines =
                    Tool({"xdotool", "search", "--onlyvisible", "--name", "^" + title + "$"});
                if (!lines.empty())
                    found = lines.front();
                return !found.empty() || mProgram->WaitForExit(0ms).has_value();
            },
            20s);
        return found;
    }

    bool IsShown(const std::string& title) {
        return !Tool({"xdotool", "search", "--onlyvisible", "--name", "^" + title + "$"}).empty();
    }

    struct Geometry {
        int x = 0, y = 0, width = 0, height = 0;
    };
    Geometry GeometryOf(const std::string& window) {
        std::map<std::string, int> values;
        for (const std::string& line : Tool({"xdotool", "getwindowgeometry", "--shell", window})) {
            const size_t equals = line.find('=');
            if (equals != std::string::npos)
                values[line.substr(0, equals)] = std::atoi(line.c_str() + equals + 1);
        }
        return {values["X"], values["Y"], values["WIDTH"], values["HEIGHT"]};
    }

    // The main window's frame once its menu bar stands above the 600-pixel panel.
    Geometry WaitForMenuBar(const std::string& main) {
        Geometry frame;
        EXPECT_TRUE(WaitUntil(
            [&] {
                frame = GeometryOf(main);
                return frame.height > 600;
            },
            10s))
            << "no menu bar above the panel";
        return frame;
    }

    void Click(const std::string& window, int x, int y) {
        Tool({"xdotool", "mousemove", "--window", window, std::to_string(x), std::to_string(y),
              "click", "1"});
    }
    void ClickOnScreen(int x, int y) {
        Tool({"xdotool", "mousemove", std::to_string(x), std::to_string(y), "click", "1"});
    }
    size_t VisibleWindows() {
        return Tool({"xdotool", "search", "--onlyvisible", "--classname", "."}).size();
    }
    // Clicks what opens a pop-up (a menu title, a list's button) in the window,
    // waits for the pop-up, clicks the entry at a screen point and waits for
    // the pop-up to go.
    void ChooseFromPopup(const std::string& window, int x, int y, int entryX, int entryY) {
        const size_t before = VisibleWindows();
        Click(window, x, y);
        EXPECT_TRUE(WaitUntil([&] { return VisibleWindows() > before; }, 5s)) << "no pop-up opened";
        std::this_thread::sleep_for(300ms); // mapped is not yet drawn and taking input
        ClickOnScreen(entryX, entryY);
        EXPECT_TRUE(WaitUntil([&] { return VisibleWindows() <= before; }, 5s))
            << "the pop-up did not close";
    }
    void Keys(const std::string& window, const std::vector<std::string>& keys) {
        std::vector<std::string> argv = {"xdotool", "windowfocus", "--sync",
                                         window,    "key",         "--clearmodifiers"};
        argv.insert(argv.end(), keys.begin(), keys.end());
        Tool(argv);
    }
    void Screenshot(const std::string& window, const std::string& name) {
        Tool({"import", "-window", window, (mOutput / (name + ".png")).string()});
    }

    // Opens File > Preferences... with the mouse: the menu title, then its first item.
    std::string OpenPreferencesByMouse(const std::string& main, const Geometry& frame) {
        ChooseFromPopup(main, 20, 12, frame.x + 40, frame.y + 40);
        return FindWindow("Preferences");
    }

    std::optional<int> WaitForExit(std::chrono::milliseconds limit) {
        return mProgram->WaitForExit(limit);
    }

    int JackDriverIndex() {
        const auto names = host::MakeRtAudioSystem()->DriverNames();
        const auto jack = std::find(names.begin(), names.end(), "Jack");
        EXPECT_NE(jack, names.end()) << "the audio library was built without JACK";
        return int(jack - names.begin());
    }

    fs::path mOutput;
    fs::path mConfig;
    std::unique_ptr<ChildProcess> mProgram;
};

TEST_F(ProgramTest, PreferencesOverJackAndQuit) {
    ASSERT_NO_FATAL_FAILURE(StartServer());
    std::ofstream(SettingsPath()) << "[audio]\ndriver=" << JackDriverIndex() << "\n";
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    const std::string main = FindWindow("OmnarControl");
    ASSERT_FALSE(main.empty()) << "no main window within 20 s";
    // The 960 x 600 panel is centred on the 1920 x 1200 screen, the bar above it.
    const Geometry frame = WaitForMenuBar(main);
    std::this_thread::sleep_for(500ms); // a frame or two of the panel
    Screenshot(main, "main-window");
    EXPECT_EQ(frame.x, 480);
    EXPECT_EQ(frame.width, 960);
    EXPECT_EQ(frame.y + frame.height, 900);

    std::string prefs = OpenPreferencesByMouse(main, frame);
    ASSERT_FALSE(prefs.empty()) << "File > Preferences... opened no dialog";
    Screenshot(prefs, "preferences-jack");
    // Buffer Size. With no window manager the dialog stands at the screen's
    // origin, and each list opens below its button, 24 pixels an entry.
    ChooseFromPopup(prefs, 252, 62, 240, 86 + 5 * 24); // "256"
    Screenshot(prefs, "preferences-buffer-256");
    Click(prefs, 202, 438); // OK
    EXPECT_TRUE(WaitUntil([&] { return !IsShown("Preferences"); }, 5s)) << "OK did not end it";
    EXPECT_TRUE(WaitUntil([&] { return Settings().find("buffer=256") != std::string::npos; }, 5s))
        << Settings();
    const std::string settings = Settings();
    EXPECT_NE(settings.find("outdev=system"), std::string::npos) << settings;

    // Ctrl+, opens it again; a changed MIDI input channel is cancelled.
    Keys(main, {"ctrl+comma"});
    prefs = FindWindow("Preferences");
    ASSERT_FALSE(prefs.empty()) << "Ctrl+, opened no dialog";
    ChooseFromPopup(prefs, 225, 339, 225, 363 + 24); // Input Channel "1"
    Screenshot(prefs, "preferences-channel-changed");
    Click(prefs, 286, 438); // Cancel
    EXPECT_TRUE(WaitUntil([&] { return !IsShown("Preferences"); }, 5s));
    EXPECT_EQ(Settings(), settings);

    Keys(main, {"ctrl+q"});
    const auto status = WaitForExit(10s);
    ASSERT_TRUE(status.has_value()) << "Ctrl+Q did not end the program within 10 s";
    EXPECT_EQ(*status, 0);
    EXPECT_NE(Settings().find("[GUI]"), std::string::npos) << Settings();
    EXPECT_NE(Settings().find("scale="), std::string::npos) << Settings();
    EXPECT_EQ(ProgramStderr().find("CRITICAL"), std::string::npos) << ProgramStderr();
}

TEST_F(ProgramTest, ADriverOutsideTheListShowsTheErrorFirst) {
    std::ofstream(SettingsPath()) << "[audio]\ndriver=7\n";
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    const std::string line = "alert: Error: Please check your soundcard settings in Preferences";
    ASSERT_TRUE(WaitUntil([&] { return ProgramStderr().find(line) != std::string::npos; }, 20s))
        << ProgramStderr();
    EXPECT_FALSE(IsShown("OmnarControl")) << "the box comes before the main window";
    // The box has no title; it is the one window shown.
    std::vector<std::string> boxes;
    ASSERT_TRUE(WaitUntil(
        [&] {
            boxes = Tool({"xdotool", "search", "--onlyvisible", "--classname", "."});
            return !boxes.empty();
        },
        10s))
        << "the box did not show";
    Screenshot(boxes.back(), "error-box");
    Keys(boxes.back(), {"Return"});
    const std::string main = FindWindow("OmnarControl");
    ASSERT_FALSE(main.empty()) << "no main window after the box";
    const Geometry frame = WaitForMenuBar(main);
    ChooseFromPopup(main, 20, 12, frame.x + 40, frame.y + 66); // File > Quit
    const auto status = WaitForExit(10s);
    ASSERT_TRUE(status.has_value()) << "File > Quit did not end the program within 10 s";
    EXPECT_EQ(*status, 0);
}

TEST_F(ProgramTest, WithoutADisplayItSaysSoAndEndsWithOne) {
    const std::string display = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    unsetenv("DISPLAY");
    StartProgram();
    setenv("DISPLAY", display.c_str(), 1);
    ASSERT_TRUE(mProgram);
    const auto status = WaitForExit(10s);
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(*status, 1);
    const std::string printed = ProgramStderr();
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << printed;
}

} // namespace
} // namespace shell::test
