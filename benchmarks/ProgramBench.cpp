// The real program as a user starts it and leaves it alone, on the virtual
// display (tools/run-benchmarks starts one; CTest runs it under xvfb-run):
//   StartUp  spawn to the first drawn panel in the window, ten runs: median, max;
//   Idle     CPU per thread while nothing happens, from /proc/<pid>/task/*/stat.
// Goals: start-up under 250 ms, idle under 0.5 % of a core. No figure decides
// the exit status. "--once": one short run each, as CTest runs it.

#include "tests/devsim/ChildProcess.h"
#include "tests/devsim/JackServerStart.h"
#include "tests/e2e/TempHome.h"
#include "tests/e2e/XWindows.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

bool g_once = false;

// A temporary user for the program, with its audio on a private JACK dummy
// server (without one it answers with an error box), removed afterwards.
class Scratch {
public:
    Scratch() {
        std::string pattern = (fs::temp_directory_path() / "omnar-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        folder = pattern;
        home = std::make_unique<e2e::TempHome>(folder);
        const std::string server = folder.filename().string();
        setenv("JACK_DEFAULT_SERVER", server.c_str(), 1);
        setenv("JACK_NO_START_SERVER", "1", 1);
        std::string error;
        jackd = devsim::test::StartJackServer(server, folder, 15s, error);
        ready = jackd != nullptr;
        if (!ready)
            std::fprintf(stderr, "%s\n", error.c_str());
        fs::create_directories(home->SettingsPath().parent_path());
        // Jack is third in the host's driver list on Debian 12.
        std::ofstream(home->SettingsPath()) << "[audio]\ndriver=2\n";
    }
    ~Scratch() {
        if (jackd)
            jackd->Stop(5s);
        home.reset();
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    fs::path folder;
    std::unique_ptr<e2e::TempHome> home;
    std::unique_ptr<devsim::test::ChildProcess> jackd;
    bool ready = false;
};

struct Running {
    std::unique_ptr<devsim::test::ChildProcess> program;
    unsigned long window = 0;
};

// Starts the program and waits until its window shows the panel; the time that took.
std::optional<double> Start(e2e::XDisplay& x, const Scratch& scratch, Running& run) {
    std::string error;
    const auto started = Clock::now();
    run.program = devsim::test::ChildProcess::Start(
        {OMNARCONTROL_PATH}, (scratch.folder / "omnarcontrol.err").string(), error);
    if (!run.program) {
        std::fprintf(stderr, "cannot start the program: %s\n", error.c_str());
        return std::nullopt;
    }
    const auto window = x.WaitForWindow("OmnarControl", run.program->Pid(), 30s);
    if (!window)
        return std::nullopt;
    run.window = *window;
    while (!x.ShowsArt(run.window)) {
        if (Clock::now() - started > 30s)
            return std::nullopt;
        std::this_thread::sleep_for(1ms);
    }
    return std::chrono::duration<double, std::milli>(Clock::now() - started).count();
}

void Stop(e2e::XDisplay& x, Running& run) {
    if (!run.program)
        return;
    x.RequestClose(run.window);
    if (!run.program->WaitForExit(10s))
        run.program->Stop(2s);
    run.program.reset();
}

// The display and the private JACK server the program runs on; without
// either the benchmark is skipped.
bool Ready(benchmark::State& state, e2e::XDisplay& x, const Scratch& scratch) {
    if (!x.Open()) {
        state.SkipWithError("no X display");
        return false;
    }
    if (!scratch.ready) {
        state.SkipWithError("no JACK server within 15 s");
        return false;
    }
    return true;
}

void BM_StartUp(benchmark::State& state) {
    e2e::XDisplay x;
    Scratch scratch;
    if (!Ready(state, x, scratch))
        return;
    for (auto _ : state) {
        Running run;
        const auto ms = Start(x, scratch, run);
        Stop(x, run);
        if (!ms) {
            state.SkipWithError("the program showed no panel within 30 s");
            return;
        }
        state.SetIterationTime(*ms / 1000.0);
    }
}

// Jiffies (user + system) of each thread of the process, by "<name>#<tid>".
std::map<std::string, long> ThreadTimes(pid_t pid) {
    std::map<std::string, long> times;
    std::error_code ignored;
    for (const auto& task :
         fs::directory_iterator("/proc/" + std::to_string(pid) + "/task", ignored)) {
        std::ifstream in(task.path() / "stat");
        std::string line;
        std::getline(in, line);
        // "tid (name) state ...": the name may hold spaces, so split at the last ')'.
        const auto open = line.find('('), close = line.rfind(')');
        if (open == std::string::npos || close == std::string::npos)
            continue;
        std::istringstream rest(line.substr(close + 2));
        std::vector<std::string> fields;
        for (std::string f; rest >> f;)
            fields.push_back(f);
        if (fields.size() < 13)
            continue;
        // After the state: ppid .. ; utime and stime are fields 14 and 15 of the whole line.
        times[line.substr(open + 1, close - open - 1) + "#" + task.path().filename().string()] =
            std::stol(fields[11]) + std::stol(fields[12]);
    }
    return times;
}

void BM_Idle(benchmark::State& state) {
    e2e::XDisplay x;
    Scratch scratch;
    if (!Ready(state, x, scratch))
        return;
    Running run;
    if (!Start(x, scratch, run)) {
        Stop(x, run);
        state.SkipWithError("the program showed no panel within 30 s");
        return;
    }
    std::this_thread::sleep_for(1s); // start-up work settles
    const auto seconds = g_once ? 2s : 30s;
    const double hz = double(sysconf(_SC_CLK_TCK));
    double total = 0;
    for (auto _ : state) {
        const auto before = ThreadTimes(run.program->Pid());
        const auto started = Clock::now();
        std::this_thread::sleep_for(seconds);
        const auto after = ThreadTimes(run.program->Pid());
        const double wall = std::chrono::duration<double>(Clock::now() - started).count();
        state.SetIterationTime(wall);
        for (const auto& [thread, jiffies] : after) {
            const auto it = before.find(thread);
            const double percent =
                100.0 * double(jiffies - (it == before.end() ? 0 : it->second)) / hz / wall;
            total += percent;
            if (percent > 0)
                state.counters["cpu% " + thread] = percent;
        }
    }
    state.counters["cpu% total"] = total;
    Stop(x, run);
}

} // namespace

int main(int argc, char** argv) {
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--once") == 0)
            g_once = true;
        else
            args.push_back(argv[i]);
    }
    // Audio runs on the dummy server; no device is connected.
    auto* startUp = benchmark::RegisterBenchmark("StartUp", BM_StartUp)
                        ->UseManualTime()
                        ->Unit(benchmark::kMillisecond)
                        ->Iterations(1)
                        ->Repetitions(g_once ? 1 : 10);
    if (!g_once) {
        startUp->ReportAggregatesOnly(true)->ComputeStatistics(
            "max",
            [](const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); });
    }
    benchmark::RegisterBenchmark("Idle", BM_Idle)
        ->UseManualTime()
        ->Unit(benchmark::kSecond)
        ->Iterations(1);
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
