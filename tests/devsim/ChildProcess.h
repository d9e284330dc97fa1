#pragma once

// A program started for a test in a process group of its own, so that it and
// anything it starts can be stopped together. Its stdin and stdout are
// pipes, its stderr is kept in a file for the failure report. The destructor
// stops it, so a failing test never leaves it running. (sys::ChildProcess
// leaves its child alone and has no group, deadlines or stderr file: it serves
// the application, this the tests.)

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace devsim::test {

class ChildProcess {
public:
    // Returns nullptr (and an explanation in error) when it cannot start.
    static std::unique_ptr<ChildProcess> Start(const std::vector<std::string>& argv,
                                               const std::string& stderrPath, std::string& error);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // The next line of its stdout, or nothing when none came within timeout.
    std::optional<std::string> ReadLine(std::chrono::milliseconds timeout);
    // One line to its stdin; false when it no longer reads it.
    bool WriteLine(const std::string& line);
    // Waits for it to end by itself; its exit status, or nothing on timeout.
    std::optional<int> WaitForExit(std::chrono::milliseconds timeout);
    // SIGTERM to the group, then SIGKILL once grace has passed. The exit
    // status, or nothing when it had to be killed.
    std::optional<int> Stop(std::chrono::milliseconds grace);
    // SIGKILL to the group at once, as a power cut ends a device; waits for it.
    void Kill();
    std::string StderrText() const;
    pid_t Pid() const { return mPid; }

private:
    ChildProcess(pid_t pid, int stdinFd, int stdoutFd, std::string stderrPath)
        : mPid(pid), mStdin(stdinFd), mStdout(stdoutFd), mStderrPath(std::move(stderrPath)) {}

    bool ExitedWithin(std::chrono::milliseconds timeout);
    // Kills what is left of the group and collects the exit status.
    int Reap();

    pid_t mPid;
    int mStdin;
    int mStdout;
    std::string mStderrPath;
    std::string mPending;
    std::optional<int> mStatus;
};

} // namespace devsim::test
