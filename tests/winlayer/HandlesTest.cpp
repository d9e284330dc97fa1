#include "winlayer/HandleRecord.h"

#include "winlayer/WinBasics.h"

#include <gtest/gtest.h>

#include <atomic>
#include <sys/socket.h>
#include <unistd.h>

namespace {

struct Waiter {
    HANDLE event;
    std::atomic<int>* released;
};

DWORD WaitThenCount(void* argument) {
    auto* waiter = static_cast<Waiter*>(argument);
    const int result = WaitForSingleObject(waiter->event, INFINITE);
    waiter->released->fetch_add(1);
    return static_cast<DWORD>(result);
}

// Bounded, so a fault fails the test instead of hanging it.
bool WaitUntil(const std::atomic<int>& value, int expected) {
    for (int i = 0; i < 10'000 && value.load() < expected; ++i)
        Sleep(1);
    return value.load() >= expected;
}

class EventWaiters {
public:
    explicit EventWaiters(HANDLE event) : m_waiter{event, &m_released} {
        for (auto& thread : m_threads)
            thread = CreateThread(nullptr, 0, WaitThenCount, &m_waiter, 0, nullptr);
    }
    ~EventWaiters() {
        // After a failed check, whoever still waits is let go so the test ends.
        while (m_released.load() < 2) {
            SetEvent(m_waiter.event);
            Sleep(1);
        }
        for (HANDLE thread : m_threads) {
            EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
            CloseHandle(thread);
        }
    }
    const std::atomic<int>& Released() const { return m_released; }

private:
    std::atomic<int> m_released{0};
    Waiter m_waiter;
    HANDLE m_threads[2];
};

TEST(EventTest, AutoResetReleasesOneWaiterPerSet) {
    HANDLE event = CreateEvent(nullptr, FALSE, FALSE);
    {
        EventWaiters waiters(event);
        ASSERT_TRUE(SetEvent(event));
        ASSERT_TRUE(WaitUntil(waiters.Released(), 1));
        // The released waiter took the signal with it.
        EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
        EXPECT_EQ(waiters.Released().load(), 1);
        SetEvent(event);
        ASSERT_TRUE(WaitUntil(waiters.Released(), 2));
    }
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
    EXPECT_TRUE(CloseHandle(event));
}

TEST(EventTest, ManualResetReleasesAllAndStaysSignalled) {
    HANDLE event = CreateEvent(nullptr, TRUE, FALSE);
    {
        EventWaiters waiters(event);
        EXPECT_EQ(WaitForSingleObject(event, 5), WAIT_TIMEOUT);
        SetEvent(event);
        ASSERT_TRUE(WaitUntil(waiters.Released(), 2));
    }
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    ResetEvent(event);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
    CloseHandle(event);
}

int PendingBytes(HANDLE socketEvent) {
    auto* record = static_cast<winlayer::SocketEventRecord*>(socketEvent);
    char buffer[16];
    const ssize_t got = recv(record->readEnd, buffer, sizeof buffer, MSG_DONTWAIT | MSG_PEEK);
    return got < 0 ? 0 : static_cast<int>(got);
}

TEST(SocketEventTest, SettingTwiceHoldsOneByte) {
    HANDLE event = CreateEventAsSocket(nullptr, TRUE, FALSE);
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(PendingBytes(event), 0);
    SetEvent(event);
    SetEvent(event);
    EXPECT_EQ(PendingBytes(event), 1);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_EQ(PendingBytes(event), 1) << "a manual-reset event keeps its byte";
    ResetEvent(event);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
    CloseHandle(event);
}

TEST(SocketEventTest, WaitForAnyAnswersTheSignalledIndexAndConsumesIt) {
    HANDLE events[3];
    for (HANDLE& event : events)
        event = CreateEventAsSocket(nullptr, FALSE, FALSE);
    EXPECT_EQ(WaitForAnySocketObject(3, events, 0), WAIT_TIMEOUT);
    SetEvent(events[1]);
    EXPECT_EQ(WaitForAnySocketObject(3, events, INFINITE), 1);
    EXPECT_EQ(PendingBytes(events[1]), 0);
    EXPECT_EQ(WaitForAnySocketObject(3, events, 1), WAIT_TIMEOUT);
    EXPECT_EQ(WaitForAnySocketObject(0, events, 0), WAIT_TIMEOUT);

    HANDLE initiallySet = CreateEventAsSocket(nullptr, FALSE, TRUE);
    EXPECT_EQ(WaitForSingleObject(initiallySet, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(initiallySet, 0), WAIT_TIMEOUT);
    CloseHandle(initiallySet);
    for (HANDLE event : events)
        CloseHandle(event);
}

TEST(SocketEventTest, DescriptorObjectsAreWaitedOnWithoutBeingConsumed) {
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    winlayer::DescriptorRecord pipeObject(ends[0]);
    HANDLE handles[2] = {CreateEventAsSocket(nullptr, FALSE, FALSE), &pipeObject};
    EXPECT_EQ(WaitForSingleObject(&pipeObject, 0), WAIT_TIMEOUT);
    ASSERT_EQ(write(ends[1], "x", 1), 1);
    EXPECT_EQ(WaitForAnySocketObject(2, handles, INFINITE), 1);
    EXPECT_EQ(WaitForSingleObject(&pipeObject, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForAnySocketObject(2, handles, 0), 1) << "the byte is still there";
    CloseHandle(handles[0]);
    close(ends[0]);
    close(ends[1]);
}

DWORD WaitForEventThenAnswer(void* event) {
    WaitForSingleObject(event, INFINITE);
    return 42;
}

TEST(ThreadTest, WaitsAnswerTimeoutUntilTheThreadEnds) {
    HANDLE go = CreateEvent(nullptr, TRUE, FALSE);
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, WaitForEventThenAnswer, go, 0, &id);
    ASSERT_NE(thread, nullptr);
    EXPECT_NE(id, 0u);
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_TIMEOUT);
    EXPECT_EQ(WaitForSingleObject(thread, 3), WAIT_TIMEOUT);
    EXPECT_TRUE(SetThreadPriority(thread, 0));
    SetEvent(go);
    EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0);
    EXPECT_EQ(static_cast<winlayer::ThreadRecord*>(thread)->result.load(), 42);
    EXPECT_FALSE(SetThreadPriority(thread, 0)) << "the thread has finished";
    EXPECT_TRUE(CloseHandle(thread));
    CloseHandle(go);
}

struct Gate {
    HANDLE event;
    std::atomic<bool> passed{false};
};

DWORD PassGateThenAnswer(void* parameter) {
    auto* gate = static_cast<Gate*>(parameter);
    WaitForSingleObject(gate->event, INFINITE);
    gate->passed.store(true);
    return 42;
}

TEST(ThreadTest, ClosingBeforeTheEndLeavesTheRecordToTheThread) {
    Gate gate{CreateEvent(nullptr, TRUE, FALSE)};
    HANDLE thread = CreateThread(nullptr, 0, PassGateThenAnswer, &gate, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    EXPECT_TRUE(CloseHandle(thread));
    // The thread frees its record when it ends; AddressSanitizer reports it
    // if it touches freed memory or never frees it.
    SetEvent(gate.event);
    // The gate lives on this stack: it may go only once the thread is past it.
    for (int waited = 0; !gate.passed.load() && waited < 10000; ++waited)
        Sleep(1);
    EXPECT_TRUE(gate.passed.load());
    CloseHandle(gate.event);
}

TEST(HandleTest, ForeignAndNullHandlesAreRefused) {
    HANDLE event = CreateEvent(nullptr, FALSE, FALSE);
    HANDLE thread = CreateThread(
        nullptr, 0, [](void*) -> DWORD { return 0; }, nullptr, 0, nullptr);
    EXPECT_FALSE(SetEvent(nullptr));
    EXPECT_FALSE(ResetEvent(thread));
    EXPECT_FALSE(SetThreadPriority(event, 0));
    EXPECT_EQ(WaitForSingleObject(nullptr, 0), WAIT_FAILED);
    winlayer::DescriptorRecord closedDescriptor(-1);
    EXPECT_EQ(WaitForSingleObject(&closedDescriptor, 0), WAIT_FAILED);
    EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
    CloseHandle(thread);
    CloseHandle(event);
}

} // namespace
