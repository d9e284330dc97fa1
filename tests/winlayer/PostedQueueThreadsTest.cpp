#include "winlayer/PostedQueue.h"
#include "winlayer/TimerList.h"

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using winlayer::PostedQueue;

HWND Handle(std::uintptr_t n) {
    return reinterpret_cast<HWND>(n * 16);
}

// A stand-in for the window layer's ticks: nothing fires, only the count of
// live ticks is kept, and only the flushing thread touches it.
class CountingHost : public winlayer::TimerHost {
public:
    int live = 0;
    std::unique_ptr<winlayer::TimerTick> startTick(HWND, UINT_PTR, unsigned, TIMERPROC) override {
        return std::make_unique<Tick>(live);
    }

private:
    struct Tick : winlayer::TimerTick {
        explicit Tick(int& live) : live(++live) {}
        ~Tick() override { --live; }
        int& live;
    };
};

// Checks per-window order as entries arrive: wParam counts up per poster.
class OrderReceiver : public winlayer::QueueReceiver {
public:
    std::map<HWND, WPARAM> nextExpected;
    std::size_t delivered = 0;
    std::size_t outOfOrder = 0;
    std::size_t timerRequests = 0;

    bool canPostTo(HWND) override { return true; }
    void deliverMessage(HWND window, UINT, WPARAM wParam, LPARAM) override {
        WPARAM& expected = nextExpected[window];
        if (wParam < expected)
            ++outOfOrder;
        expected = wParam + 1;
        ++delivered;
    }
    void setTimer(HWND w, UINT_PTR id, UINT ms, TIMERPROC proc) override {
        ++timerRequests;
        timers->set(w, id, ms, proc);
    }
    void killTimer(HWND w, UINT_PTR id) override {
        ++timerRequests;
        timers->kill(w, id);
    }
    winlayer::TimerList* timers = nullptr;
};

TEST(PostedQueueThreadsTest, FourPostersAndATimerThreadAgainstTheFlushingThread) {
    constexpr int kPosters = 4;
    constexpr WPARAM kPostsEach = 3000;
    PostedQueue queue;
    CountingHost host;
    winlayer::TimerList timers(host, std::this_thread::get_id());
    timers.setQueue(&queue);
    OrderReceiver receiver;
    receiver.timers = &timers;
    std::atomic<std::size_t> refused{0};
    std::atomic<int> running{kPosters + 1};

    std::vector<std::thread> threads;
    for (int p = 0; p < kPosters; ++p) {
        threads.emplace_back([&, p] {
            for (WPARAM i = 0; i < kPostsEach; ++i) {
                if (!queue.post(Handle(p + 1), 0x400, i, 0))
                    ++refused;
            }
            --running;
        });
    }
    threads.emplace_back([&] {
        for (UINT_PTR i = 0; i < 2000; ++i) {
            EXPECT_EQ(timers.set(Handle(99), i % 7 + 1, 10, nullptr), i % 7 + 1);
            EXPECT_EQ(timers.kill(Handle(99), i % 7 + 1), TRUE);
        }
        --running;
    });
    while (running.load() > 0)
        queue.flush(receiver);
    for (std::thread& t : threads)
        t.join();
    queue.flush(receiver);

    EXPECT_EQ(receiver.delivered + refused.load(), kPosters * kPostsEach);
    EXPECT_EQ(receiver.outOfOrder, 0u);
    EXPECT_GT(receiver.timerRequests, 0u);
    EXPECT_EQ(queue.queuedCount(), 0u);
    EXPECT_EQ(host.live, 0) << "every timer's last request was its kill";
}

} // namespace
