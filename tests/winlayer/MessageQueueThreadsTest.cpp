// The public queue and timer calls from several threads, with GTK-free
// stand-in windows: posts keep each thread's order and none is lost without
// being refused; timer requests from a worker are carried out by the flush.
#include "tests/winlayer/support/QueueStubs.h"
#include "winlayer/MessageQueue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

using winlayer::test::HandleOf;
using winlayer::test::StubWindow;
using winlayer::test::StubWindows;

TEST(MessageQueueThreadsTest, PostsAndTimerRequestsFromWorkersReachTheMainThreadInOrder) {
    StubWindows stubs;
    for (int i = 0; i < 5; ++i)
        stubs.windows.push_back(ak::MakeRef<StubWindow>());
    winlayer::SetQueueWindows(&stubs);
    winlayer::QueueHost host;
    winlayer::InitPostedQueue(host);

    constexpr int kPosters = 4;
    constexpr WPARAM kPostsEach = 3000;
    std::atomic<std::size_t> refused{0};
    std::atomic<int> running{kPosters + 1};
    std::vector<std::thread> threads;
    for (int t = 0; t < kPosters; ++t) {
        threads.emplace_back([&, window = HandleOf(stubs.windows[t].Get())] {
            for (WPARAM n = 0; n < kPostsEach; ++n)
                if (!PostMessage(window, 0x0111, n, 0))
                    ++refused;
            --running;
        });
    }
    const HWND timed = HandleOf(stubs.windows[4].Get());
    threads.emplace_back([&] {
        for (int n = 0; n < 500; ++n) {
            EXPECT_EQ(SetTimer(timed, 9, 1000, nullptr), 9u);
            EXPECT_TRUE(KillTimer(timed, 9));
        }
        --running;
    });
    while (running > 0)
        WISP_MessageQueue_Flush();
    for (auto& thread : threads)
        thread.join();
    WISP_MessageQueue_Flush();

    std::size_t delivered = 0;
    for (int t = 0; t < kPosters; ++t) {
        delivered += stubs.windows[t]->delivered;
        EXPECT_EQ(stubs.windows[t]->outOfOrder, 0u) << t;
    }
    EXPECT_EQ(delivered + refused, kPosters * kPostsEach);
    // The last request was a kill: no timer is left for the main thread to kill.
    EXPECT_FALSE(KillTimer(timed, 9));
    winlayer::SetQueueWindows(nullptr);
}

} // namespace
