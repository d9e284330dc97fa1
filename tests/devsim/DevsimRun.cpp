#include "tests/devsim/DevsimRun.h"

#include "platform/sys/File.h"

#include "tests/devsim/DeviceSim.h"
#include "tests/devsim/JackMidiPorts.h"
#include "tests/devsim/SimConsole.h"
#include "tests/devsim/SimSlotFiles.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <memory>
#include <optional>
#include <unistd.h>

namespace devsim {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kPortPatience = std::chrono::seconds(10);
constexpr std::int64_t kIdleWaitMs = 20;

bool StopRequested() {
    sigset_t stops;
    sigemptyset(&stops);
    sigaddset(&stops, SIGINT);
    sigaddset(&stops, SIGTERM);
    const timespec now{0, 0};
    return sigtimedwait(&stops, nullptr, &now) > 0;
}

void WriteTrace(DeviceSim& sim, std::FILE* log) {
    for (const TraceEntry& entry : sim.Trace()) {
        const bool noted = entry.text.find(" -- ") != std::string::npos;
        if (log) {
            std::fprintf(log, "%9.3f %s %3zu", entry.timeMs / 1000.0,
                         entry.outgoing ? "out" : "in ", entry.bytes.size());
            for (std::size_t i = 0; i < std::min<std::size_t>(entry.bytes.size(), 12); ++i) {
                std::fprintf(log, " %02X", entry.bytes[i]);
            }
            std::fprintf(log, "%s  %s\n", entry.bytes.size() > 12 ? " .." : "", entry.text.c_str());
            std::fflush(log);
        } else if (noted) {
            std::fprintf(stderr, "devsim: %s\n", entry.text.c_str());
        }
    }
    sim.ClearTrace();
}

SimState InitialState(const DevsimOptions& options) {
    SimState state = FactoryState();
    state.versionByte = options.versionByte;
    state.serial = options.serial;
    if (!options.stateDir.empty()) {
        for (const std::string& problem : LoadSlotFiles(options.stateDir, state)) {
            std::fprintf(stderr, "devsim: %s\n", problem.c_str());
        }
    }
    return state;
}

} // namespace

int RunDevsim(const DevsimOptions& options) {
    sys::UniqueFile log;
    if (!options.logFile.empty()) {
        log = sys::OpenFile(options.logFile.c_str(), "w");
        if (!log) {
            std::perror(("devsim: cannot open log " + options.logFile).c_str());
            return 2;
        }
    }
    DeviceSim sim(InitialState(options));
    for (const FaultRule& rule : options.faults) {
        sim.AddFault(rule);
    }

    // A stop while the ports are awaited ends the wait; nothing has changed
    // yet, so there is no state to save.
    bool stopped = false;
    const auto stopWaiting = [&] { return stopped = StopRequested(); };
    std::string error;
    const auto ports = JackMidiPorts::Open(options.name, kPortPatience, stopWaiting, error);
    if (stopped) {
        return 0;
    }
    if (!ports && !JackMidiPorts::ServerRunning()) {
        const char* server = std::getenv("JACK_DEFAULT_SERVER");
        std::fprintf(stderr, "devsim: no JACK server is running (JACK_DEFAULT_SERVER=%s)\n",
                     server && *server ? server : "default");
        return 3;
    }
    if (!ports) {
        std::fprintf(stderr, "devsim: JACK ports not opened: %s\n", error.c_str());
        return 3;
    }
    std::printf("devsim ready: in %s out %s\n", ports->InputPortName().c_str(),
                ports->OutputPortName().c_str());
    std::fflush(stdout);

    const auto start = Clock::now();
    const auto nowMs = [&] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    };
    const std::int64_t endMs = options.exitAfterSeconds > 0
                                   ? static_cast<std::int64_t>(options.exitAfterSeconds * 1000)
                                   : -1;
    std::deque<Bytes> outbox;
    std::int64_t nextSendMs = 0;
    std::optional<ConsoleInput> console;
    if (options.commands) {
        console.emplace(STDIN_FILENO);
    }

    while (!StopRequested() && (endMs < 0 || nowMs() < endMs)) {
        std::int64_t waitMs = kIdleWaitMs;
        if (!outbox.empty()) {
            waitMs = std::clamp<std::int64_t>(nextSendMs - nowMs(), 0, kIdleWaitMs);
        } else if (const std::int64_t due = sim.NextDueMs(); due >= 0) {
            waitMs = std::clamp<std::int64_t>(due - nowMs(), 0, kIdleWaitMs);
        }
        if (auto message = ports->Receive(std::chrono::milliseconds(waitMs))) {
            for (Bytes& reply : sim.Receive(*message, nowMs())) {
                outbox.push_back(std::move(reply));
            }
        }
        // A bad line is reported and the rest still run: a test's typo must not end the pedal.
        for (const std::string& line :
             console ? console->TakeLines() : std::vector<std::string>{}) {
            const ConsoleOutcome outcome = RunConsoleLine(line, sim, options.stateDir, nowMs());
            if (!outcome.error.empty()) {
                std::fprintf(stderr, "devsim: %s: %s\n", line.c_str(), outcome.error.c_str());
            }
            if (!outcome.reply.empty()) {
                std::printf("%s\n", outcome.reply.c_str());
                std::fflush(stdout);
            }
        }
        for (Bytes& due : sim.Poll(nowMs())) {
            outbox.push_back(std::move(due));
        }
        // One message per gap, so the editor's input queue is not flooded.
        while (!outbox.empty() && nowMs() >= nextSendMs) {
            ports->Send(outbox.front());
            outbox.pop_front();
            nextSendMs = nowMs() + options.gapMs;
        }
        WriteTrace(sim, log.get());
    }

    if (!options.stateDir.empty()) {
        if (const std::string failure = SaveSlotFiles(options.stateDir, sim.State());
            !failure.empty()) {
            std::fprintf(stderr, "devsim: state not saved: %s\n", failure.c_str());
            return 1;
        }
    }
    return 0;
}

} // namespace devsim
