#include "winlayer/TimerList.h"

#include <gtest/gtest.h>

#include <map>
#include <thread>
#include <utility>

namespace {

using winlayer::PostedQueue;
using winlayer::TimerList;

HWND Handle(std::uintptr_t n) {
    return reinterpret_cast<HWND>(n * 16);
}
void TickProc(HWND, UINT, UINT_PTR, DWORD) {}

// Keeps the interval of every running tick; a window named `refusing`
// cannot take timers.
class FakeHost : public winlayer::TimerHost {
public:
    using Key = std::pair<HWND, UINT_PTR>;
    std::map<Key, unsigned> running;
    HWND refusing = nullptr;

    std::unique_ptr<winlayer::TimerTick> startTick(HWND window, UINT_PTR id, unsigned ms,
                                                   TIMERPROC) override {
        if (window != nullptr && window == refusing)
            return nullptr;
        running[{window, id}] = ms;
        return std::make_unique<Tick>(*this, Key{window, id});
    }

private:
    struct Tick : winlayer::TimerTick {
        Tick(FakeHost& host, Key key) : host(host), key(key) {}
        ~Tick() override { host.running.erase(key); }
        FakeHost& host;
        Key key;
    };
};

// Hands flushed timer requests back to the list, as the window layer does.
class ListReceiver : public winlayer::QueueReceiver {
public:
    explicit ListReceiver(TimerList& timers) : timers(timers) {}
    bool canPostTo(HWND) override { return true; }
    void deliverMessage(HWND, UINT, WPARAM, LPARAM) override {}
    void setTimer(HWND w, UINT_PTR id, UINT ms, TIMERPROC proc) override {
        timers.set(w, id, ms, proc);
    }
    void killTimer(HWND w, UINT_PTR id) override { timers.kill(w, id); }
    TimerList& timers;
};

struct TimerFixture : ::testing::Test {
    FakeHost host;
    TimerList timers{host, std::this_thread::get_id()};
    PostedQueue queue;
    ListReceiver receiver{timers};

    template <typename F>
    auto onWorker(F f) {
        decltype(f()) result{};
        std::thread([&] { result = f(); }).join();
        return result;
    }
};

TEST_F(TimerFixture, BadArgumentsAreRefused) {
    EXPECT_EQ(timers.set(nullptr, 1, 10, nullptr), 0u);
    EXPECT_EQ(timers.set(Handle(1), 0, 10, nullptr), 0u);
    host.refusing = Handle(2);
    EXPECT_EQ(timers.set(Handle(2), 1, 10, nullptr), 0u);
    EXPECT_FALSE(timers.exists(Handle(2), 1));
    EXPECT_EQ(timers.kill(nullptr, 0), FALSE);
    EXPECT_EQ(timers.kill(nullptr, winlayer::kAllTimers), FALSE);
    EXPECT_EQ(timers.kill(Handle(1), 9), FALSE);
    EXPECT_TRUE(host.running.empty());
}

TEST_F(TimerFixture, ReArmKeepsOneTickAndZeroMeansOneMillisecond) {
    EXPECT_EQ(timers.set(Handle(1), 1, 0, nullptr), 1u);
    EXPECT_EQ((host.running[{Handle(1), 1}]), 1u);
    EXPECT_EQ(timers.set(Handle(1), 1, 100, nullptr), 1u);
    EXPECT_EQ(host.running.size(), 1u);
    EXPECT_EQ((host.running[{Handle(1), 1}]), 100u);
}

TEST_F(TimerFixture, WindowlessTimersGetDistinctIdsAndKillAllTakesOneWindow) {
    const UINT_PTR a = timers.set(nullptr, 0, 50, &TickProc);
    const UINT_PTR b = timers.set(nullptr, 0, 50, &TickProc);
    EXPECT_NE(a, 0u);
    EXPECT_NE(b, 0u);
    EXPECT_NE(a, b);
    timers.set(Handle(1), 1, 10, nullptr);
    timers.set(Handle(1), 2, 10, nullptr);
    timers.set(Handle(2), 1, 10, nullptr);
    EXPECT_EQ(timers.kill(Handle(1), winlayer::kAllTimers), TRUE);
    EXPECT_EQ(timers.kill(Handle(1), winlayer::kAllTimers), FALSE);
    EXPECT_EQ(host.running.size(), 3u);
    EXPECT_EQ(timers.kill(nullptr, a), TRUE);
    EXPECT_FALSE(timers.exists(nullptr, a));
    EXPECT_TRUE(timers.exists(nullptr, b));
}

TEST_F(TimerFixture, WorkerRequestsWaitForTheFlush) {
    // Without a queue a worker can do nothing.
    EXPECT_EQ(onWorker([&] { return timers.set(Handle(1), 3, 10, nullptr); }), 0u);
    EXPECT_EQ(onWorker([&] { return timers.kill(Handle(1), 3); }), FALSE);

    timers.setQueue(&queue);
    EXPECT_EQ(onWorker([&] { return timers.set(Handle(1), 3, 10, nullptr); }), 3u);
    EXPECT_TRUE(host.running.empty());
    EXPECT_EQ(onWorker([&] { return timers.kill(Handle(1), 3); }), TRUE);
    queue.flush(receiver);
    EXPECT_TRUE(host.running.empty()) << "the kill replaced the queued set";

    EXPECT_EQ(onWorker([&] { return timers.set(Handle(1), 3, 0xFFFFFFFFu, nullptr); }), 3u);
    queue.flush(receiver);
    EXPECT_EQ((host.running[{Handle(1), 3}]), 0xFFFFFFFEu) << "never the kill marker";

    timers.set(Handle(1), 4, 10, nullptr);
    EXPECT_EQ(onWorker([&] { return timers.kill(Handle(1), winlayer::kAllTimers); }), TRUE);
    EXPECT_EQ(host.running.size(), 2u) << "kill-all waits for the main thread";
    queue.flush(receiver);
    EXPECT_TRUE(host.running.empty());
}

TEST_F(TimerFixture, WorkersMayOnlyTouchWindowlessTimersThatExist) {
    timers.setQueue(&queue);
    EXPECT_EQ(onWorker([&] { return timers.set(nullptr, 0, 10, &TickProc); }), 0u);
    EXPECT_EQ(onWorker([&] { return timers.set(nullptr, 1234, 10, &TickProc); }), 0u);
    EXPECT_EQ(onWorker([&] { return timers.kill(nullptr, 1234); }), FALSE);
    EXPECT_EQ(queue.queuedCount(), 0u);

    const UINT_PTR id = timers.set(nullptr, 0, 10, &TickProc);
    EXPECT_EQ(onWorker([&] { return timers.set(nullptr, id, 40, &TickProc); }), id);
    queue.flush(receiver);
    EXPECT_EQ((host.running[{nullptr, id}]), 40u);
    EXPECT_EQ(onWorker([&] { return timers.kill(nullptr, id); }), TRUE);
    queue.flush(receiver);
    EXPECT_FALSE(timers.exists(nullptr, id));
}

} // namespace
