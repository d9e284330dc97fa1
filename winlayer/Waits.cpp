#include "winlayer/HandleRecord.h"

#include "winlayer/WinBasics.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <poll.h>
#include <span>
#include <sys/socket.h>
#include <vector>

using namespace winlayer;

namespace {

using Clock = std::chrono::steady_clock;

// A wait's end on the monotonic clock; INFINITE has none.
class Deadline {
public:
    explicit Deadline(DWORD milliseconds)
        : m_forever(milliseconds == INFINITE),
          m_end(Clock::now() + std::chrono::milliseconds(milliseconds)) {}
    bool Passed() const { return !m_forever && Clock::now() >= m_end; }
    Clock::time_point End() const { return m_end; }
    // Milliseconds left as a poll timeout: -1 for ever, rounded up otherwise.
    int PollTimeout() const {
        if (m_forever)
            return -1;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(m_end - Clock::now());
        return left.count() > 0 ? static_cast<int>(std::min<long long>(left.count(), 0x7FFFFFFF))
                                : 0;
    }

private:
    bool m_forever;
    Clock::time_point m_end;
};

// Takes the signal byte of an auto-reset socket event; another waiter may
// have been quicker.
bool ConsumeSignal(const SocketEventRecord& record) {
    char drain[128];
    return recv(record.readEnd, drain, sizeof drain, MSG_DONTWAIT) > 0;
}

// Threads and processes say nothing when they end: done is checked every
// millisecond until it holds or the time is up.
template <class Done>
int PollUntil(Done done, DWORD milliseconds) {
    if (done())
        return WAIT_OBJECT_0;
    if (milliseconds == 0)
        return WAIT_TIMEOUT;
    const Deadline deadline(milliseconds);
    while (!done()) {
        if (deadline.Passed())
            return WAIT_TIMEOUT;
        Sleep(1);
    }
    return WAIT_OBJECT_0;
}

int WaitForThread(const ThreadRecord& record, DWORD milliseconds) {
    return PollUntil([&] { return record.finished.load(); }, milliseconds);
}

int WaitForProcess(ProcessRecord& record, DWORD milliseconds) {
    return PollUntil([&] { return !record.child->IsRunning(); }, milliseconds);
}

int WaitForEvent(EventRecord& record, DWORD milliseconds) {
    std::unique_lock lock(record.mutex);
    const auto signalled = [&] { return record.signalled; };
    bool success = true;
    if (milliseconds == 0)
        success = record.signalled;
    else if (milliseconds == INFINITE)
        record.condition.wait(lock, signalled);
    else
        success = record.condition.wait_until(lock, Deadline(milliseconds).End(), signalled);
    if (!success)
        return WAIT_TIMEOUT;
    if (!record.manualReset)
        record.signalled = false;
    return WAIT_OBJECT_0;
}

// Polls until one entry has input to take (WAIT_OBJECT_0, its position in
// signalled), WAIT_TIMEOUT or WAIT_FAILED. The input of an auto-reset socket
// event counts only once this waiter took it; another may have been quicker.
int PollForSignal(std::span<pollfd> entries,
                  std::span<const SocketEventRecord* const> autoResetEvents, DWORD milliseconds,
                  std::size_t& signalled) {
    const Deadline deadline(milliseconds);
    for (;;) {
        const int ready = poll(entries.data(), entries.size(), deadline.PollTimeout());
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            return WAIT_FAILED;
        if (ready == 0)
            return WAIT_TIMEOUT;
        const auto first = std::find_if(entries.begin(), entries.end(),
                                        [](const pollfd& entry) { return entry.revents != 0; });
        signalled = static_cast<std::size_t>(first - entries.begin());
        if (!autoResetEvents[signalled] || ConsumeSignal(*autoResetEvents[signalled]))
            return WAIT_OBJECT_0;
    }
}

int WaitForDescriptor(int fd, const SocketEventRecord* autoResetEvent, DWORD milliseconds) {
    if (fd < 0) {
        Sleep(milliseconds == 0 ? 0 : milliseconds == INFINITE ? 1 : milliseconds);
        return WAIT_FAILED;
    }
    pollfd entry{fd, POLLIN, 0};
    std::size_t signalled;
    return PollForSignal({&entry, 1}, {&autoResetEvent, 1}, milliseconds, signalled);
}

// The descriptor a socket wait polls, -1 when the handle has none.
int PolledDescriptor(HANDLE handle, const SocketEventRecord** autoResetEvent) {
    *autoResetEvent = nullptr;
    if (auto* event = RecordAs<SocketEventRecord>(handle, HandleKind::SocketEvent)) {
        if (event->autoReset)
            *autoResetEvent = event;
        return event->readEnd;
    }
    if (auto* object = RecordAs<DescriptorRecord>(handle, HandleKind::Descriptor))
        return object->descriptor;
    return -1;
}

} // namespace

int WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    auto* record = static_cast<HandleRecord*>(handle);
    if (!record || !IsKnownKind(record->kind))
        return WAIT_FAILED;
    const HandleReference held(*record);
    switch (record->kind) {
    case HandleKind::Thread:
        return WaitForThread(*static_cast<ThreadRecord*>(record), milliseconds);
    case HandleKind::Event:
        return WaitForEvent(*static_cast<EventRecord*>(record), milliseconds);
    case HandleKind::SocketEvent:
    case HandleKind::Descriptor: {
        const SocketEventRecord* autoResetEvent;
        const int fd = PolledDescriptor(handle, &autoResetEvent);
        return WaitForDescriptor(fd, autoResetEvent, milliseconds);
    }
    case HandleKind::Process:
        return WaitForProcess(*static_cast<ProcessRecord*>(record), milliseconds);
    default:
        return WAIT_FAILED;
    }
}

int WaitForAnySocketObject(int count, const HANDLE* handles, DWORD milliseconds) {
    if (count <= 0 || !handles)
        return WAIT_TIMEOUT;
    std::vector<pollfd> entries;
    std::vector<int> indices;
    std::vector<const SocketEventRecord*> autoResetEvents;
    std::vector<HandleReference> held;
    for (int i = 0; i < count; ++i) {
        const SocketEventRecord* autoResetEvent;
        const int fd = PolledDescriptor(handles[i], &autoResetEvent);
        if (fd < 0)
            continue;
        entries.push_back({fd, POLLIN, 0});
        indices.push_back(i);
        autoResetEvents.push_back(autoResetEvent);
        held.emplace_back(*static_cast<HandleRecord*>(handles[i]));
    }
    if (entries.empty())
        return WAIT_TIMEOUT;
    std::size_t signalled;
    const int result = PollForSignal(entries, autoResetEvents, milliseconds, signalled);
    return result == WAIT_OBJECT_0 ? indices[signalled] : result;
}
