#include "tests/e2e/ProgramSession.h"

#include "framework/host/AudioSystem.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

namespace e2e {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string TestName() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "-" + info->name();
    for (char& c : name)
        if (c == '/')
            c = '_';
    return name;
}

} // namespace

ToolRun RunTool(const std::vector<std::string>& argv, std::chrono::milliseconds timeout) {
    ToolRun run;
    std::string error;
    const fs::path err = fs::temp_directory_path() / ("omnar-e2e-tool-" + std::to_string(getpid()));
    auto child = devsim::test::ChildProcess::Start(argv, err.string(), error);
    if (!child) {
        run.out = error;
        return run;
    }
    const auto deadline = Clock::now() + timeout;
    const auto left = [&] {
        return std::max(
            std::chrono::milliseconds(0),
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()));
    };
    while (const auto line = child->ReadLine(left()))
        run.out += *line + "\n";
    run.status = child->WaitForExit(left());
    if (!run.status)
        child->Stop(1s);
    std::error_code ignored;
    fs::remove(err, ignored);
    return run;
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        if (condition())
            return true;
        if (Clock::now() >= deadline)
            return false;
        // The poll's period, not a pause: what a test waits for lies in
        // another process (its files, its stderr, its pixels), which
        // announces none of it.
        std::this_thread::sleep_for(50ms);
    }
}

void ProgramTest::SetUp() {
    ASSERT_NO_FATAL_FAILURE(JackServerTest::SetUp());
    ASSERT_TRUE(mX.Open(5s)) << "no X display within 5 s (run under xvfb-run)";
    mHome.emplace(mDir);
    // The program's leak report knows the GUI and MIDI libraries' own caches.
    const fs::path suppressions = mDir / "lsan.supp";
    std::ofstream(suppressions) << ReadText(GTK_LEAKS_SUPP) << "\n"
                                << ReadText(RTMIDI_LEAKS_SUPP) << "\n";
    mLeakOptions = std::getenv("LSAN_OPTIONS") ? std::getenv("LSAN_OPTIONS") : "";
    setenv("LSAN_OPTIONS",
           ("suppressions=" + suppressions.string() + ":print_suppressions=0").c_str(), 1);
    // The program's audio needs a server to open; without one it answers
    // with an error box before its window.
    ASSERT_NO_FATAL_FAILURE(StartServer());
    WriteSettings("");
}

void ProgramTest::TearDown() {
    if (mProgram) {
        if (!mProgram->WaitForExit(0ms))
            mProgram->Stop(5s);
        if (HasFailure())
            std::fprintf(stderr, "--- omnarcontrol stderr ---\n%s\n",
                         mProgram->StderrText().c_str());
    }
    if (HasFailure() && mServer) {
        std::fprintf(stderr, "--- devsim trace ---\n%s\n--- jack_lsp -c ---\n%s\n", Trace().c_str(),
                     RunTool({"jack_lsp", "-c"}, 5s).out.c_str());
        std::fprintf(stderr, "screenshots: %s\n", E2E_OUTPUT_DIR);
    }
    mHome.reset();
    setenv("LSAN_OPTIONS", mLeakOptions.c_str(), 1);
    JackServerTest::TearDown();
}

void ProgramTest::Launch() {
    std::string error;
    const std::string err = (mDir / ("omnarcontrol-" + std::to_string(++mRuns) + ".err")).string();
    mProgram = devsim::test::ChildProcess::Start({OMNARCONTROL_PATH}, err, error);
    ASSERT_TRUE(mProgram) << error;
}

std::string ProgramTest::ProgramStderr() const {
    return mProgram ? mProgram->StderrText() : "";
}

void ProgramTest::StartProgram() {
    ASSERT_NO_FATAL_FAILURE(Launch());
    const auto window = mX.WaitForWindow("OmnarControl", mProgram->Pid(), 20s);
    ASSERT_TRUE(window) << "no window within 20 s";
    mWindow = *window;
    // The first frame comes with the next tick of the panel's frame timer.
    ASSERT_TRUE(WaitUntil([&] { return mX.ShowsArt(mWindow); }, 10s))
        << "the window showed no panel within 10 s";
}

std::optional<int> ProgramTest::WaitForExit(std::chrono::milliseconds timeout) {
    return mProgram ? mProgram->WaitForExit(timeout) : std::nullopt;
}

std::optional<int> ProgramTest::CloseWindow() {
    EXPECT_TRUE(mX.RequestClose(mWindow));
    return WaitForExit(kExitWait);
}

void ProgramTest::Keys(unsigned long window, const std::string& keys) {
    // No window manager: the harness gives the focus itself.
    const auto run = RunTool({"xdotool", "windowfocus", "--sync", std::to_string(window), "key",
                              "--clearmodifiers", keys},
                             10s);
    EXPECT_EQ(run.status, 0) << "xdotool key " << keys << ": " << run.out;
}

void ProgramTest::Type(unsigned long window, const std::string& text) {
    const auto run = RunTool({"xdotool", "windowfocus", "--sync", std::to_string(window), "type",
                              "--clearmodifiers", "--delay", "50", "--", text},
                             10s);
    EXPECT_EQ(run.status, 0) << "xdotool type " << text << ": " << run.out;
}

void ProgramTest::Click(unsigned long window, int x, int y) {
    const auto run = RunTool({"xdotool", "mousemove", "--window", std::to_string(window),
                              std::to_string(x), std::to_string(y), "click", "1"},
                             10s);
    EXPECT_EQ(run.status, 0) << "xdotool click: " << run.out;
}

void ProgramTest::ClickOnScreen(int x, int y) {
    const auto run =
        RunTool({"xdotool", "mousemove", std::to_string(x), std::to_string(y), "click", "1"}, 10s);
    EXPECT_EQ(run.status, 0) << "xdotool click: " << run.out;
}

std::optional<unsigned long> ProgramTest::WaitForWindow(const std::string& title,
                                                        std::chrono::milliseconds timeout) {
    return mProgram ? mX.WaitForWindow(title, mProgram->Pid(), timeout) : std::nullopt;
}

std::vector<unsigned long> ProgramTest::ShownWindows() {
    std::vector<unsigned long> windows;
    std::istringstream lines(
        RunTool({"xdotool", "search", "--onlyvisible", "--classname", "."}, 10s).out);
    for (std::string line; std::getline(lines, line);)
        if (!line.empty())
            windows.push_back(std::stoul(line));
    return windows;
}

bool ProgramTest::WaitUntilSteady(unsigned long window, std::chrono::milliseconds timeout) {
    const auto size = mX.Size(window);
    if (!size)
        return false;
    const auto look = [&] { return mX.Pixels(window, 0, 0, size->width, size->height); };
    auto last = look();
    return WaitUntil(
        [&] {
            auto now = look();
            const bool same = now && last && *now == *last;
            last = std::move(now);
            return same;
        },
        timeout);
}

bool ProgramTest::HoverPopupEntry(unsigned long popup, int screenX, int screenY) {
    const auto frame = FrameOf(popup);
    if (!frame || screenY < frame->y || screenY >= frame->y + frame->height)
        return false;
    const auto pointerTo = [](int x, int y) {
        return RunTool({"xdotool", "mousemove", "--sync", std::to_string(x), std::to_string(y)},
                       10s)
                   .status == 0;
    };
    // Off the pop-up, beside its bottom-right corner: no entry highlighted.
    if (!pointerTo(frame->x + frame->width + 4, frame->y + frame->height + 4) ||
        !WaitUntilSteady(popup, 10s))
        return false;
    const int top = std::clamp(screenY - frame->y - 3, 0, std::max(0, frame->height - 6));
    const auto row = [&] { return mX.Pixels(popup, 0, top, frame->width, 6); };
    const auto before = row();
    if (!before || !pointerTo(screenX, screenY))
        return false;
    return WaitUntil(
        [&] {
            const auto now = row();
            return now && *now != *before;
        },
        10s);
}

std::optional<Frame> ProgramTest::FrameOf(unsigned long window) {
    const auto origin = mX.Origin(window);
    const auto size = mX.Size(window);
    if (!origin || !size)
        return std::nullopt;
    return Frame{origin->first, origin->second, size->width, size->height};
}

void ProgramTest::Drag(std::pair<int, int> from, std::pair<int, int> to) {
    const auto origin = mX.Origin(mWindow);
    ASSERT_TRUE(origin);
    const auto at = [&](std::pair<int, int> p) {
        return std::vector<std::string>{"mousemove", "--sync",
                                        std::to_string(origin->first + p.first),
                                        std::to_string(origin->second + p.second)};
    };
    std::vector<std::string> argv = {"xdotool"};
    for (const auto& part : {at(from), std::vector<std::string>{"mousedown", "1"},
                             at({(from.first + to.first) / 2, (from.second + to.second) / 2}),
                             at(to), std::vector<std::string>{"mouseup", "1"}})
        argv.insert(argv.end(), part.begin(), part.end());
    const auto run = RunTool(argv, 10s);
    EXPECT_EQ(run.status, 0) << "xdotool drag: " << run.out;
}

void ProgramTest::Shot(unsigned long window, const std::string& name) {
    fs::create_directories(E2E_OUTPUT_DIR);
    const std::string file = ShotPath(name);
    // The screen under the window, so the panel's own window and open pop-ups show too.
    const std::optional<Frame> frame = FrameOf(window);
    ASSERT_TRUE(frame) << "no frame for the shot " << name;
    const std::string crop = std::to_string(frame->width) + "x" + std::to_string(frame->height) +
                             "+" + std::to_string(frame->x) + "+" + std::to_string(frame->y);
    const auto run = RunTool({"import", "-window", "root", "-crop", crop, "+repage", file}, 10s);
    EXPECT_EQ(run.status, 0) << "import " << file << ": " << run.out;
}

std::string ProgramTest::ShotPath(const std::string& name) {
    return std::string(E2E_OUTPUT_DIR) + "/" + TestName() + "-" + name + ".png";
}

std::string ProgramTest::SettingsPath() const {
    return mHome->SettingsPath().string();
}

std::string ProgramTest::SettingsText() const {
    return ReadText(SettingsPath());
}

void ProgramTest::WriteSettings(const std::string& text) const {
    fs::create_directories(fs::path(SettingsPath()).parent_path());
    std::ofstream(SettingsPath(), std::ios::binary)
        << "[audio]\ndriver=" << JackDriverIndex() << "\n"
        << text;
}

int ProgramTest::JackDriverIndex() {
    const auto names = host::MakeRtAudioSystem()->DriverNames();
    const auto jack = std::find(names.begin(), names.end(), "Jack");
    EXPECT_NE(jack, names.end()) << "the audio library was built without JACK";
    return int(jack - names.begin());
}

fs::path ProgramTest::PresetsFolder() const {
    return mHome->PresetsFolder();
}

void ProgramTest::StartDevice(const std::vector<std::string>& faults) {
    ASSERT_NO_FATAL_FAILURE(LaunchDevice(faults));
    WriteSettings("[midi]\nindev=" + SimOutPort() + "\noutdev=" + SimInPort() + "\n");
}

void ProgramTest::LaunchDevice(const std::vector<std::string>& faults) {
    std::vector<std::string> options = {"--name",       SimName(),
                                        "--state",      (mDir / "state").string(),
                                        "--log",        (mDir / "devsim.log").string(),
                                        "--exit-after", "600",
                                        "--commands"};
    for (const auto& fault : faults) {
        options.push_back("--fault");
        options.push_back(fault);
    }
    ASSERT_NO_FATAL_FAILURE(StartDevsim(options));
    const auto ready = mSim->ReadLine(10s);
    ASSERT_TRUE(ready) << "devsim sent no ready line within 10 s";
}

std::string ProgramTest::Trace() const {
    return ReadText(mDir / "devsim.log");
}

void ProgramTest::Cables(bool plugged) {
    const auto ports = RunTool({"jack_lsp", "-c"}, 5s).out;
    // The program's own ports are the other ends of devsim's.
    std::istringstream lines(ports);
    std::string line, port;
    std::vector<std::pair<std::string, std::string>> pairs;
    while (std::getline(lines, line)) {
        if (!line.empty() && line[0] != ' ')
            port = line;
        else if (port == SimOutPort())
            pairs.emplace_back(SimOutPort(), line.substr(line.find_first_not_of(' ')));
        else if (port == SimInPort())
            pairs.emplace_back(line.substr(line.find_first_not_of(' ')), SimInPort());
    }
    if (plugged)
        pairs = mUnplugged;
    else
        mUnplugged = pairs;
    ASSERT_FALSE(pairs.empty()) << "no cable between the program and devsim:\n" << ports;
    for (const auto& [from, to] : pairs) {
        const auto run = RunTool({plugged ? "jack_connect" : "jack_disconnect", from, to}, 5s);
        EXPECT_EQ(run.status, 0) << from << " -> " << to << ": " << run.out;
    }
}

int Count(const std::string& text, const std::string& part) {
    int count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

std::string ReadFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace e2e
