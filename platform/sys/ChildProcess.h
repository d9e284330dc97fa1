#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace sys {

// A program started by exact path (never through a shell), optionally with its
// standard streams connected to pipes. The object owns the pipe ends; the
// child itself is not stopped when the object goes.
class ChildProcess {
public:
    enum class Stream { Input = 0, Output = 1, Error = 2 };

    // The child gets the path as its argv[0], followed by the arguments. Null
    // when the program could not be started (missing, not executable, no pipes).
    static std::unique_ptr<ChildProcess>
    Spawn(const std::string& path, const std::vector<std::string>& arguments, bool withPipes);

    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t Pid() const { return m_pid; }
    bool IsRunning();
    // The exit status, or the signal number when a signal ended it; none while
    // it runs.
    std::optional<int> ExitCode();
    bool Terminate();

    // Our end of a pipe, -1 without pipes.
    int Descriptor(Stream stream) const { return m_pipes[static_cast<int>(stream)]; }

    // Writes all bytes to the child's input, resuming after partial writes.
    // Answers the bytes written; a child that has closed its input ends the
    // write early without raising SIGPIPE.
    std::size_t WriteInput(const void* bytes, std::size_t size);
    // Reads what is there (up to size bytes) from Output or Error; blocks
    // unless nonBlocking. Answers -1 on failure, 0 at end or with nothing pending.
    ssize_t Read(Stream stream, void* bytes, std::size_t size, bool nonBlocking);

private:
    ChildProcess() = default;
    void Reap();
    void ReapLocked(); // with m_statusMutex held

    pid_t m_pid = -1;
    int m_pipes[3] = {-1, -1, -1};
    std::mutex m_statusMutex;
    std::optional<int> m_exitCode;
};

} // namespace sys
