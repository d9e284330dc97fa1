#include "winlayer/HandleRecord.h"

#include "winlayer/WinBasics.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <thread>
#include <unistd.h>

// One thread closes the last handle of an object while another is blocked in a
// call on it. Each case wakes the blocked thread only after the close, so if
// the object were freed by the close, the woken thread would touch freed memory
// and AddressSanitizer would stop the test.
namespace {

// Runs call(object) on a thread of its own.
class BlockedCall {
public:
    BlockedCall(HANDLE object, std::function<int(HANDLE)> call)
        : m_record(static_cast<winlayer::HandleRecord*>(object)),
          m_thread([this, object, call = std::move(call)] { m_result = call(object); }) {}
    ~BlockedCall() {
        if (m_thread.joinable())
            m_thread.join();
    }

    // True once the call holds the object beside the caller's one handle.
    // Bounded, so a call that takes no hold fails here and then shows its fault
    // after the close.
    bool HoldsTheObject() const {
        for (int i = 0; i < 10'000 && m_record->referenceCount.load() < 2; ++i)
            Sleep(1);
        return m_record->referenceCount.load() >= 2;
    }
    int Result() {
        m_thread.join();
        return m_result;
    }

private:
    winlayer::HandleRecord* m_record;
    int m_result = -2;
    std::thread m_thread;
};

TEST(CloseWhileInUseTest, EventOutlivesItsLastHandleWhileWaitedOn) {
    HANDLE event = CreateEvent(nullptr, FALSE, FALSE);
    auto* record = static_cast<winlayer::EventRecord*>(event);
    BlockedCall waiter(event, [](HANDLE h) { return WaitForSingleObject(h, INFINITE); });
    EXPECT_TRUE(waiter.HoldsTheObject());
    {
        // The event's own lock, held across the close, keeps the woken waiter
        // from going on until the handle is gone.
        std::lock_guard lock(record->mutex);
        record->signalled = true;
        record->condition.notify_all();
        EXPECT_TRUE(CloseHandle(event));
    }
    EXPECT_EQ(waiter.Result(), WAIT_OBJECT_0);
}

TEST(CloseWhileInUseTest, SocketEventOutlivesItsLastHandleWhileWaitedOn) {
    const struct {
        const char* wait;
        int (*call)(HANDLE);
    } cases[] = {
        {"WaitForSingleObject", [](HANDLE h) { return WaitForSingleObject(h, INFINITE); }},
        {"WaitForAnySocketObject",
         [](HANDLE h) { return WaitForAnySocketObject(1, &h, INFINITE); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.wait);
        HANDLE event = CreateEventAsSocket(nullptr, FALSE, FALSE);
        ASSERT_NE(event, nullptr);
        // A way to signal that does not go through the handle.
        const int writeEnd = dup(static_cast<winlayer::SocketEventRecord*>(event)->writeEnd);
        BlockedCall waiter(event, c.call);
        EXPECT_TRUE(waiter.HoldsTheObject());
        EXPECT_TRUE(CloseHandle(event));
        ASSERT_EQ(write(writeEnd, "", 1), 1);
        EXPECT_EQ(waiter.Result(), WAIT_OBJECT_0);
        close(writeEnd);
    }
}

// /bin/cat with pipes runs until it is killed, writing nothing.
HANDLE StartIdleChild() {
    return WISP_CreateProcessIO("/bin/cat", 0, nullptr, TRUE);
}

pid_t ChildPid(HANDLE process) {
    return static_cast<winlayer::ProcessRecord*>(process)->child->Pid();
}

TEST(CloseWhileInUseTest, ProcessOutlivesItsLastHandleWhileWaitedOn) {
    HANDLE process = StartIdleChild();
    ASSERT_NE(process, nullptr);
    const pid_t pid = ChildPid(process);
    BlockedCall waiter(process, [](HANDLE h) { return WaitForSingleObject(h, INFINITE); });
    EXPECT_TRUE(waiter.HoldsTheObject());
    EXPECT_TRUE(CloseHandle(process));
    // Unreaped, the child keeps its pid until the waiter sees it end.
    ASSERT_EQ(kill(pid, SIGTERM), 0);
    EXPECT_EQ(waiter.Result(), WAIT_OBJECT_0);
}

TEST(CloseWhileInUseTest, ProcessPipesStayOpenThroughABlockedRead) {
    HANDLE process = StartIdleChild();
    ASSERT_NE(process, nullptr);
    const pid_t pid = ChildPid(process);
    const int outputEnd = static_cast<winlayer::ProcessRecord*>(process)->child->Descriptor(
        sys::ChildProcess::Stream::Output);
    BlockedCall reader(process, [](HANDLE h) {
        char buffer[16];
        return WISP_ReadWriteProcessIO(h, 1, buffer, sizeof buffer);
    });
    EXPECT_TRUE(reader.HoldsTheObject());
    EXPECT_TRUE(CloseHandle(process));
    // Closed under the reader, the descriptor could be reused by any file the
    // program opens next and the read would take that file's bytes.
    EXPECT_NE(fcntl(outputEnd, F_GETFD), -1);
    ASSERT_EQ(kill(pid, SIGTERM), 0);
    EXPECT_EQ(reader.Result(), 0) << "the output ended";
}

} // namespace
