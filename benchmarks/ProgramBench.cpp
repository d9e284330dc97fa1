// The real program as a user starts it and leaves it alone, on the virtual
// display (tools/run-benchmarks starts one; CTest runs it under xvfb-run):
//   StartUp  spawn to the first drawn panel in the window, ten starts: median, max;
//   Idle     CPU per thread over a minute while nothing happens, connected to
//            devsim and synced, with and without audio, from the scheduler's
//            count in /proc/<pid>/task/*/schedstat; the program's own threads
//            and JACK's client threads summed apart;
//   Sync     an empty library filled from devsim: from the identity reply to
//            the last slot written, against the pacing bound.
// Goals: start-up under 250 ms, idle under 0.5 % of a core. No figure decides
// the exit status. "--once": one short run each, as CTest runs it.

#include "framework/host/AudioSystem.h"
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
    explicit Scratch(unsigned jackPeriod = devsim::test::kDefaultJackPeriod) {
        std::string pattern = (fs::temp_directory_path() / "omnar-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        folder = pattern;
        home = std::make_unique<e2e::TempHome>(folder);
        const std::string server = folder.filename().string();
        setenv("JACK_DEFAULT_SERVER", server.c_str(), 1);
        setenv("JACK_NO_START_SERVER", "1", 1);
        std::string error;
        jackd = devsim::test::StartJackServer(server, folder, 15s, error, jackPeriod);
        ready = jackd != nullptr;
        if (!ready)
            std::fprintf(stderr, "%s\n", error.c_str());
        WriteSettings("");
    }
    // settings.ini: the audio driver (JACK unless named), then the text's sections.
    void WriteSettings(const std::string& text, int driver = JackDriverIndex()) const {
        fs::create_directories(home->SettingsPath().parent_path());
        std::ofstream(home->SettingsPath()) << "[audio]\ndriver=" << driver << "\n" << text;
    }
    // A driver value past the list: no audio library, so no audio stream.
    static constexpr int kNoDriver = 99;
    // Where "Jack" stands in the host's driver list (2 on Debian 12); the list's
    // end when the audio library was built without it.
    static int JackDriverIndex() {
        const auto names = host::MakeRtAudioSystem()->DriverNames();
        return int(std::find(names.begin(), names.end(), "Jack") - names.begin());
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
// Without audio the program first shows the soundcard box, which is closed.
std::optional<double> Start(e2e::XDisplay& x, const Scratch& scratch, Running& run,
                            bool soundcardBox = false) {
    std::string error;
    const auto started = Clock::now();
    // OMNAR_BENCH_PROGRAM names another build of the program, to set two
    // side by side on the same machine.
    const char* other = std::getenv("OMNAR_BENCH_PROGRAM");
    run.program =
        devsim::test::ChildProcess::Start({other && *other ? other : OMNARCONTROL_PATH},
                                          (scratch.folder / "omnarcontrol.err").string(), error);
    if (!run.program) {
        std::fprintf(stderr, "cannot start the program: %s\n", error.c_str());
        return std::nullopt;
    }
    if (soundcardBox) {
        const auto box = x.WaitForWindow("", run.program->Pid(), 30s);
        if (!box || !x.RequestClose(*box))
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
    // The virtual display resets when the previous benchmark's last client
    // leaves, and refuses connections for that moment.
    if (!x.Open() && !x.Open(10s)) {
        state.SkipWithError("no X display within 10 s");
        return false;
    }
    if (!scratch.ready) {
        state.SkipWithError("no JACK server within 15 s");
        return false;
    }
    return true;
}

// The ten starts run inside one benchmark run, not as repetitions: a start
// that fails part way then ends one run with its error, where a failed
// repetition among good ones stopped the statistics (and the program) on
// their differing iteration counts.
void BM_StartUp(benchmark::State& state) {
    e2e::XDisplay x;
    Scratch scratch;
    if (!Ready(state, x, scratch))
        return;
    const int starts = g_once ? 1 : 10;
    for (auto _ : state) {
        std::vector<double> times;
        for (int i = 0; i < starts; ++i) {
            Running run;
            const auto ms = Start(x, scratch, run);
            Stop(x, run);
            if (!ms) {
                state.SkipWithError("the program showed no panel within 30 s");
                return;
            }
            times.push_back(*ms);
        }
        std::sort(times.begin(), times.end());
        const double median = times.size() % 2
                                  ? times[times.size() / 2]
                                  : (times[times.size() / 2 - 1] + times[times.size() / 2]) / 2;
        state.SetIterationTime(median / 1000.0);
        state.counters["median_ms"] = median;
        state.counters["max_ms"] = times.back();
        state.counters["starts"] = double(times.size());
    }
}

// CPU time of each thread of the process in nanoseconds, by "<name>#<tid>",
// from the scheduler's own count (exact, where the tick counts of stat
// charge a whole 10 ms tick to whichever thread it lands on).
std::map<std::string, double> ThreadTimes(pid_t pid) {
    std::map<std::string, double> times;
    std::error_code ignored;
    for (const auto& task :
         fs::directory_iterator("/proc/" + std::to_string(pid) + "/task", ignored)) {
        std::ifstream comm(task.path() / "comm"), schedstat(task.path() / "schedstat");
        std::string name;
        double ns = 0;
        if (!std::getline(comm, name) || !(schedstat >> ns))
            continue;
        times[name + "#" + task.path().filename().string()] = ns;
    }
    return times;
}

// One line of devsim's trace: "<seconds> <out|in > <size> <first bytes> ..".
struct TraceLine {
    double ms = 0;
    bool out = false;
    int size = 0;
    std::vector<int> bytes; // the first twelve at most
    int Byte(size_t i) const { return i < bytes.size() ? bytes[i] : -1; }
};

std::vector<TraceLine> ReadTrace(const fs::path& log) {
    std::vector<TraceLine> lines;
    std::ifstream in(log);
    for (std::string text; std::getline(in, text);) {
        std::istringstream fields(text);
        TraceLine line;
        double seconds = 0;
        std::string direction;
        if (!(fields >> seconds >> direction >> line.size))
            continue;
        line.ms = seconds * 1000.0;
        line.out = direction == "out";
        for (std::string hex; line.bytes.size() < 12 && fields >> hex && hex.size() == 2;)
            line.bytes.push_back(std::stoi(hex, nullptr, 16));
        lines.push_back(std::move(line));
    }
    return lines;
}

// The sync in the trace: from the identity reply to the editor's first message
// after the last of the 128 slot dumps (sent once that slot is written).
struct SyncFigures {
    double measuredMs = 0;
    int requests = 0; // the editor's messages in that span
};

std::optional<SyncFigures> FindSync(const std::vector<TraceLine>& trace) {
    constexpr int kSlots = 128;
    const auto identity = std::find_if(trace.begin(), trace.end(), [](const TraceLine& l) {
        return l.out && l.size == 267 && l.Byte(5) == 0x52 && l.Byte(7) == 0x0F;
    });
    int dumps = 0, requests = 0;
    for (auto it = identity; it != trace.end(); ++it) {
        if (it->out) {
            dumps += it->size == 267 && it->Byte(5) == 0x41;
            continue;
        }
        ++requests;
        if (dumps == kSlots)
            return SyncFigures{it->ms - identity->ms, requests};
    }
    return std::nullopt;
}

// devsim on the scratch server with a fresh log, and settings.ini naming its
// ports with the given audio driver; null (the benchmark skipped) when it does not start.
std::unique_ptr<devsim::test::ChildProcess> StartDevsim(benchmark::State& state,
                                                        const Scratch& scratch, int driver) {
    const std::string sim = scratch.folder.filename().string() + "-sim";
    std::string error;
    auto devsim = devsim::test::ChildProcess::Start(
        {DEVSIM_PATH, "--name", sim, "--log", (scratch.folder / "devsim.log").string(),
         "--exit-after", "300"},
        (scratch.folder / "devsim.err").string(), error);
    if (!devsim || !devsim->ReadLine(10s)) {
        state.SkipWithError("devsim sent no ready line within 10 s");
        return nullptr;
    }
    scratch.WriteSettings("[midi]\nindev=" + sim + "-out:midi_out\noutdev=" + sim + "-in:midi_in\n",
                          driver);
    return devsim;
}

// Waits up to 60 s for the program's sync from devsim to end.
std::optional<SyncFigures> WaitForSync(const Scratch& scratch) {
    const auto deadline = Clock::now() + 60s;
    for (;;) {
        if (auto sync = FindSync(ReadTrace(scratch.folder / "devsim.log")))
            return sync;
        if (Clock::now() >= deadline)
            return std::nullopt;
        std::this_thread::sleep_for(50ms);
    }
}

// Connected to devsim and synced, then left alone: with its audio stream on
// the dummy server, or with a driver that names no audio library (no stream;
// MIDI still on the server).
void BM_Idle(benchmark::State& state) {
    const bool audio = state.range(0) != 0;
    e2e::XDisplay x;
    Scratch scratch;
    if (!Ready(state, x, scratch))
        return;
    const auto devsim =
        StartDevsim(state, scratch, audio ? Scratch::JackDriverIndex() : Scratch::kNoDriver);
    if (!devsim)
        return;
    Running run;
    // The CTest smoke run ("--once") leaves the sync to BM_Sync: under the
    // sanitisers each sync takes half a minute of the serial display tests.
    if (!Start(x, scratch, run, !audio) || (!g_once && !WaitForSync(scratch))) {
        Stop(x, run);
        state.SkipWithError("the program showed no panel, or no sync, within 30 s and 60 s");
        return;
    }
    std::this_thread::sleep_for(1s); // the last replies and redraws settle
    const auto seconds = g_once ? 2s : 60s;
    // JACK's client threads (named by the program's host) wake every period
    // whatever the program does; they are counted apart from its own.
    double own = 0, jack = 0;
    for (auto _ : state) {
        const auto before = ThreadTimes(run.program->Pid());
        const auto started = Clock::now();
        std::this_thread::sleep_for(seconds);
        const auto after = ThreadTimes(run.program->Pid());
        const double wall = std::chrono::duration<double>(Clock::now() - started).count();
        state.SetIterationTime(wall);
        for (const auto& [thread, ns] : after) {
            const auto it = before.find(thread);
            const double percent =
                100.0 * (ns - (it == before.end() ? 0 : it->second)) / 1e9 / wall;
            (thread.rfind("jack-client#", 0) == 0 ? jack : own) += percent;
            if (percent > 0)
                state.counters["cpu% " + thread] = percent;
        }
    }
    state.counters["cpu% own"] = own;
    state.counters["cpu% jack"] = jack;
    state.SetLabel(audio ? "with audio" : "without audio");
    Stop(x, run);
}

// Every request and reply of the sync waits for a cycle of the server; at the
// dummy driver's own 23 ms period those waits, not the program, would make
// most of the figure, so the sync runs on a server with a short period.
constexpr unsigned kSyncJackPeriod = 128;

// An empty library synced from devsim on the private server. The pacing bound:
// the two 100 ms transfer ticks the sync waits for (its BulkBegin, its first
// slot request), and one 20 ms UI tick for every request a reply drives (the
// checksum request after the identity reply, each next slot, the global
// settings after the last).
void BM_Sync(benchmark::State& state) {
    e2e::XDisplay x;
    Scratch scratch(kSyncJackPeriod);
    if (!Ready(state, x, scratch))
        return;
    const auto devsim = StartDevsim(state, scratch, Scratch::JackDriverIndex());
    if (!devsim)
        return;
    constexpr double kTransferTickMs = 100, kUiTickMs = 20;
    constexpr int kTransferTicks = 2;
    for (auto _ : state) {
        Running run;
        std::optional<SyncFigures> sync;
        if (Start(x, scratch, run))
            sync = WaitForSync(scratch);
        Stop(x, run);
        if (!sync) {
            state.SkipWithError("no sync of 128 slots within 60 s");
            return;
        }
        const int replyDriven = sync->requests - kTransferTicks;
        const double bound = kTransferTicks * kTransferTickMs + replyDriven * kUiTickMs;
        state.SetIterationTime(sync->measuredMs / 1000.0);
        state.counters["bound_ms"] = bound;
        state.counters["requests"] = sync->requests;
        std::printf("sync of 128 slots: measured %.0f ms, bound %.0f ms (%d x 100 ms ticks + "
                    "%d x 20 ms UI ticks)\n",
                    sync->measuredMs, bound, kTransferTicks, replyDriven);
    }
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
    // Audio runs on the dummy server; no device is connected at start-up.
    benchmark::RegisterBenchmark("StartUp", BM_StartUp)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
    benchmark::RegisterBenchmark("Idle", BM_Idle)
        ->ArgName("audio")
        ->Arg(1)
        ->Arg(0)
        ->UseManualTime()
        ->Unit(benchmark::kSecond)
        ->Iterations(1);
    benchmark::RegisterBenchmark("Sync", BM_Sync)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
