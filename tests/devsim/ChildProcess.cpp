#include "tests/devsim/ChildProcess.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace devsim::test {

namespace {

using Clock = std::chrono::steady_clock;

int ExitCodeOf(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace

std::unique_ptr<ChildProcess> ChildProcess::Start(const std::vector<std::string>& argv,
                                                  const std::string& stderrPath,
                                                  std::string& error) {
    int in[2];
    int out[2];
    if (pipe2(in, O_CLOEXEC) != 0) {
        error = std::string("pipe: ") + std::strerror(errno);
        return nullptr;
    }
    if (pipe2(out, O_CLOEXEC) != 0) {
        error = std::string("pipe: ") + std::strerror(errno);
        close(in[0]);
        close(in[1]);
        return nullptr;
    }
    const int err = open(stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (err < 0) {
        error = "cannot open " + stderrPath + ": " + std::strerror(errno);
        for (const int fd : {in[0], in[1], out[0], out[1]}) {
            close(fd);
        }
        return nullptr;
    }
    std::vector<char*> args;
    for (const std::string& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);

    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
        setpgid(0, 0);
        // A test killed by CTest's timeout runs no destructor: its children end
        // with it instead of living on (a JACK server would keep its row in
        // JACK's table of servers).
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) {
            _exit(127);
        }
        dup2(in[0], STDIN_FILENO);
        dup2(out[1], STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        execvp(args[0], args.data());
        dprintf(STDERR_FILENO, "cannot run %s: %s\n", args[0], std::strerror(errno));
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    close(err);
    if (pid < 0) {
        error = std::string("fork: ") + std::strerror(errno);
        close(in[1]);
        close(out[0]);
        return nullptr;
    }
    setpgid(pid, pid); // also here, so the group exists before any signal is sent
    return std::unique_ptr<ChildProcess>(new ChildProcess(pid, in[1], out[0], stderrPath));
}

ChildProcess::~ChildProcess() {
    Stop(std::chrono::seconds(5));
    close(mStdin);
    close(mStdout);
}

bool ChildProcess::WriteLine(const std::string& line) {
    // A child that has closed its stdin must fail the write, not end the test with SIGPIPE.
    static const bool ignored = [] {
        std::signal(SIGPIPE, SIG_IGN);
        return true;
    }();
    (void)ignored;
    const std::string text = line + "\n";
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(mStdin, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::optional<std::string> ChildProcess::ReadLine(std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (true) {
        if (const auto newline = mPending.find('\n'); newline != std::string::npos) {
            std::string line = mPending.substr(0, newline);
            mPending.erase(0, newline + 1);
            return line;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return std::nullopt;
        }
        pollfd fd{mStdout, POLLIN, 0};
        if (poll(&fd, 1, static_cast<int>(left.count())) <= 0) {
            continue;
        }
        char buffer[512];
        const ssize_t n = read(mStdout, buffer, sizeof buffer);
        if (n <= 0) {
            return std::nullopt; // closed: the program ended
        }
        mPending.append(buffer, static_cast<std::size_t>(n));
    }
}

bool ChildProcess::ExitedWithin(std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (true) {
        // WNOWAIT leaves it a zombie: its pid, and so its group id, stay
        // reserved until Reap, so signalling the group never hits a stranger.
        siginfo_t info{};
        if (waitid(P_PID, static_cast<id_t>(mPid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
            info.si_pid == mPid) {
            return true;
        }
        if (Clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

int ChildProcess::Reap() {
    if (!mStatus) {
        kill(-mPid, SIGKILL); // anything it started and left behind
        int status = 0;
        while (waitpid(mPid, &status, 0) < 0 && errno == EINTR) {
        }
        mStatus = ExitCodeOf(status);
    }
    return *mStatus;
}

std::optional<int> ChildProcess::WaitForExit(std::chrono::milliseconds timeout) {
    if (mStatus || ExitedWithin(timeout)) {
        return Reap();
    }
    return std::nullopt;
}

std::optional<int> ChildProcess::Stop(std::chrono::milliseconds grace) {
    if (mStatus) {
        return mStatus;
    }
    kill(-mPid, SIGTERM);
    const bool ended = ExitedWithin(grace);
    const int status = Reap();
    return ended ? std::optional<int>(status) : std::nullopt;
}

void ChildProcess::Kill() {
    Reap();
}

std::string ChildProcess::StderrText() const {
    std::ifstream in(mStderrPath);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace devsim::test
