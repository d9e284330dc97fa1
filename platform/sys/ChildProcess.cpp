#include "platform/sys/ChildProcess.h"

#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace sys {

namespace {

struct PipePair {
    int read = -1;
    int write = -1;
};

void CloseIfOpen(int& fd) {
    if (fd >= 0)
        close(fd);
    fd = -1;
}

// Blocks SIGPIPE for this thread while writing, and swallows one that the
// write raised, so a child that went away cannot end the program.
class SigpipeGuard {
public:
    SigpipeGuard() {
        sigset_t pipeOnly;
        sigemptyset(&pipeOnly);
        sigaddset(&pipeOnly, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        m_alreadyPending = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &pipeOnly, &m_previous);
    }
    ~SigpipeGuard() {
        if (m_raised && !m_alreadyPending) {
            sigset_t pipeOnly;
            sigemptyset(&pipeOnly);
            sigaddset(&pipeOnly, SIGPIPE);
            const timespec now{0, 0};
            while (sigtimedwait(&pipeOnly, nullptr, &now) < 0 && errno == EINTR) {
            }
        }
        pthread_sigmask(SIG_SETMASK, &m_previous, nullptr);
    }
    void NoteBrokenPipe() { m_raised = true; }

private:
    sigset_t m_previous;
    bool m_alreadyPending = false;
    bool m_raised = false;
};

} // namespace

std::unique_ptr<ChildProcess> ChildProcess::Spawn(const std::string& path,
                                                  const std::vector<std::string>& arguments,
                                                  bool withPipes) {
    std::unique_ptr<ChildProcess> child(new ChildProcess);
    PipePair pipes[3];
    const auto closeAll = [&] {
        for (auto& p : pipes) {
            CloseIfOpen(p.read);
            CloseIfOpen(p.write);
        }
    };
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    bool ready = true;
    if (withPipes) {
        for (int stream = 0; stream < 3 && ready; ++stream) {
            int ends[2];
            if (pipe2(ends, O_CLOEXEC) != 0) {
                ready = false;
                break;
            }
            pipes[stream] = {ends[0], ends[1]};
            // The child's end of the input pipe is the read end, of the others the write end.
            const int childEnd = stream == 0 ? ends[0] : ends[1];
            ready = posix_spawn_file_actions_adddup2(&actions, childEnd, stream) == 0;
        }
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(path.c_str()));
    for (const auto& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    pid_t pid = -1;
    if (ready)
        ready = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    if (!ready) {
        closeAll();
        return nullptr;
    }
    child->m_pid = pid;
    if (withPipes) {
        CloseIfOpen(pipes[0].read);
        CloseIfOpen(pipes[1].write);
        CloseIfOpen(pipes[2].write);
        child->m_pipes[0] = pipes[0].write;
        child->m_pipes[1] = pipes[1].read;
        child->m_pipes[2] = pipes[2].read;
    }
    return child;
}

ChildProcess::~ChildProcess() {
    for (int& fd : m_pipes)
        CloseIfOpen(fd);
    Reap();
}

void ChildProcess::Reap() {
    std::lock_guard lock(m_statusMutex);
    ReapLocked();
}

void ChildProcess::ReapLocked() {
    if (m_exitCode || m_pid <= 0)
        return;
    int status = 0;
    pid_t result;
    do {
        result = waitpid(m_pid, &status, WNOHANG);
    } while (result < 0 && errno == EINTR);
    if (result != m_pid)
        return;
    if (WIFEXITED(status))
        m_exitCode = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        m_exitCode = WTERMSIG(status);
}

bool ChildProcess::IsRunning() {
    return !ExitCode().has_value();
}

std::optional<int> ChildProcess::ExitCode() {
    Reap();
    std::lock_guard lock(m_statusMutex);
    return m_exitCode;
}

bool ChildProcess::Terminate() {
    // Checked and signalled under the lock that reaping takes, so the pid
    // cannot be reaped and reused by another process in between.
    std::lock_guard lock(m_statusMutex);
    ReapLocked();
    if (m_exitCode || m_pid <= 0)
        return false;
    return kill(m_pid, SIGTERM) == 0;
}

std::size_t ChildProcess::WriteInput(const void* bytes, std::size_t size) {
    const int fd = m_pipes[0];
    if (fd < 0)
        return 0;
    SigpipeGuard guard;
    std::size_t written = 0;
    while (written < size) {
        const ssize_t result = write(fd, static_cast<const char*>(bytes) + written, size - written);
        if (result < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EPIPE)
                guard.NoteBrokenPipe();
            break;
        }
        written += static_cast<std::size_t>(result);
    }
    return written;
}

ssize_t ChildProcess::Read(Stream stream, void* bytes, std::size_t size, bool nonBlocking) {
    const int fd = Descriptor(stream);
    if (fd < 0 || stream == Stream::Input)
        return -1;
    if (nonBlocking) {
        pollfd entry{fd, POLLIN, 0};
        const int ready = poll(&entry, 1, 0);
        if (ready <= 0)
            return ready < 0 ? -1 : 0;
    }
    ssize_t result;
    do {
        result = read(fd, bytes, size);
    } while (result < 0 && errno == EINTR);
    return result;
}

} // namespace sys
