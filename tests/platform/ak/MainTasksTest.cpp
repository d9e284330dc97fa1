#include "platform/ak/Application.h"
#include "platform/ak/RunLoop.h"

#include <gtest/gtest.h>

#include <array>
#include <thread>
#include <vector>

namespace {

// Tasks need only the main loop, not a display.
TEST(MainTasks, TasksFromManyThreadsRunOnTheMainThreadInEachThreadsOrder) {
    constexpr int kThreads = 4;
    constexpr int kTasks = 200;
    const auto mainThread = std::this_thread::get_id();
    std::array<std::vector<int>, kThreads> seen;
    int done = 0;
    bool offMain = false;
    ak::RunLoop loop;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kTasks; ++i) {
                ak::Application::RunOnMainLater([&, t, i] {
                    offMain |= std::this_thread::get_id() != mainThread;
                    seen[size_t(t)].push_back(i);
                    if (++done == kThreads * kTasks)
                        loop.Quit();
                });
            }
        });
    }
    loop.Run();
    for (auto& thread : threads)
        thread.join();
    EXPECT_FALSE(offMain);
    for (const auto& order : seen) {
        ASSERT_EQ(order.size(), size_t(kTasks));
        for (int i = 0; i < kTasks; ++i)
            EXPECT_EQ(order[size_t(i)], i);
    }
}

} // namespace
