#include "tests/devsim/JackServerStart.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sys/file.h>
#include <unistd.h>

namespace devsim::test {

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

// JACK lists every server of the machine in one shared table of eight rows. A
// server frees its row when it ends cleanly, or a later server of the same name
// takes it over; a killed one (a test run cut short) keeps it, and once eight
// are held no server starts at all.
constexpr const char* kServerTable = "/dev/shm/jack-shm-registry";
constexpr const char* kTableFull = "Too many servers already active";

// Asked from a child process: a test process that once opened a client stays
// attached to the server table it saw then, and after a stale table is
// replaced it would never find another server again.
// The probe may take the whole time left: on a loaded machine a client's
// handshake alone can outlast a few seconds, and a probe cut short never
// answers however often it is asked.
bool ServerAnswers(const std::string& name, const fs::path& folder, Clock::time_point deadline) {
    std::string ignored;
    const auto probe =
        ChildProcess::Start({"jack_lsp", "-s", name}, (folder / "probe.err").string(), ignored);
    if (!probe) {
        return false;
    }
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    const std::optional<int> status = probe->WaitForExit(std::max(left, 1000ms));
    return status && *status == 0;
}

// A zombie counts as ended: it holds no row any more, whoever reaps it.
bool AnyJackServerRuns() {
    for (const auto& entry : fs::directory_iterator("/proc")) {
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        if (!std::getline(stat, line)) {
            continue;
        }
        const auto open = line.find('(');
        const auto close = line.rfind(')');
        if (open != std::string::npos && close != std::string::npos && close + 2 < line.size() &&
            line.compare(open + 1, close - open - 1, "jackd") == 0 && line[close + 2] != 'Z') {
            return true;
        }
    }
    return false;
}

// Servers of tests and benchmarks start one at a time, so a full table found
// while no jackd runs holds only the rows of the dead.
class StartLock {
public:
    StartLock()
        : mFd(open((fs::temp_directory_path() / "omnar-jackd-start.lock").c_str(),
                   O_RDWR | O_CREAT | O_CLOEXEC, 0666)) {
        if (mFd >= 0) {
            while (flock(mFd, LOCK_EX) != 0 && errno == EINTR) {
            }
        }
    }
    ~StartLock() {
        if (mFd >= 0) {
            close(mFd); // also releases the lock
        }
    }
    StartLock(const StartLock&) = delete;
    StartLock& operator=(const StartLock&) = delete;

private:
    int mFd;
};

enum class Outcome { Answers, TableFull, Failed };

Outcome TryStart(const std::string& name, const fs::path& folder, std::chrono::milliseconds timeout,
                 unsigned periodFrames, JackClientWait wait, std::unique_ptr<ChildProcess>& server,
                 std::string& error) {
    // A long client timeout: on a loaded CI machine a sanitised client can
    // miss the default 500 ms and be thrown out by the server. Synchronous:
    // a late client delays the cycle instead of losing its MIDI, as the
    // firmware transfer, which has no acknowledgements, would show.
    std::vector<std::string> argv = {"jackd", "-n", name};
    if (wait == JackClientWait::Synchronous)
        argv.push_back("-S");
    for (const char* option : {"--no-realtime", "-t", "5000", "-d", "dummy", "-r", "44100", "-p"})
        argv.push_back(option);
    argv.push_back(std::to_string(periodFrames));
    server = ChildProcess::Start(argv, (folder / "jackd.err").string(), error);
    if (!server) {
        return Outcome::Failed;
    }
    const auto deadline = Clock::now() + timeout;
    while (!ServerAnswers(name, folder, deadline)) {
        if (server->WaitForExit(100ms)) {
            const std::string output = server->StderrText();
            server.reset();
            error = "jackd ended early:\n" + output;
            return output.find(kTableFull) != std::string::npos ? Outcome::TableFull
                                                                : Outcome::Failed;
        }
        if (Clock::now() >= deadline) {
            error =
                "the JACK server did not answer within " +
                std::to_string(std::chrono::duration_cast<std::chrono::seconds>(timeout).count()) +
                " s:\n" + server->StderrText();
            server.reset();
            return Outcome::Failed;
        }
    }
    return Outcome::Answers;
}

} // namespace

std::unique_ptr<ChildProcess> StartJackServer(const std::string& name, const fs::path& folder,
                                              std::chrono::milliseconds timeout, std::string& error,
                                              unsigned periodFrames, JackClientWait wait) {
    const StartLock lock;
    std::unique_ptr<ChildProcess> server;
    Outcome outcome = TryStart(name, folder, timeout, periodFrames, wait, server, error);
    if (outcome == Outcome::TableFull) {
        if (AnyJackServerRuns()) {
            error += "(every row of " + std::string(kServerTable) +
                     " is taken and a jackd still runs, so none is known to be free)";
            return nullptr;
        }
        // Only the dead are listed: jackd makes a fresh table when none exists.
        std::error_code ignored;
        fs::remove(kServerTable, ignored);
        outcome = TryStart(name, folder, timeout, periodFrames, wait, server, error);
    }
    return outcome == Outcome::Answers ? std::move(server) : nullptr;
}

} // namespace devsim::test
