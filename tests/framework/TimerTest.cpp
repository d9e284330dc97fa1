#include "framework/Timer.h"
#include "platform/ak/RunLoop.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace {

// Runs the main loop until `ticks` ticks of a 1 ms helper timer have passed,
// so other timers get the same chance to fire.
void RunForTicks(int ticks) {
    ak::RunLoop loop;
    int seen = 0;
    auto helper = vx::Timer::Make(
        [&](vx::Timer&) {
            if (++seen == ticks)
                loop.Quit();
        },
        1);
    loop.Run();
}

TEST(Timer, FirstTickComesOnTheFirstIteration) {
    int ticks = 0;
    auto timer = vx::Timer::Make([&](vx::Timer&) { ++ticks; }, 100000);
    ak::RunLoop::Iterate(false);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(static_cast<vx::Timer_impl&>(*timer).IntervalMs(), 100000u);
}

TEST(Timer, OtherTimersTickInANestedLoopWithoutReenteringTheOuterCallback) {
    std::vector<std::string> events;
    bool inOuter = false;
    ak::RunLoop nested;
    int innerTicks = 0;

    auto outer = vx::Timer::Make(
        [&](vx::Timer&) {
            if (inOuter)
                events.push_back("outer re-entered");
            inOuter = true;
            events.push_back("outer");
            if (events.size() == 1)
                nested.Run();
            events.push_back("outer done");
            inOuter = false;
        },
        1);
    auto inner = vx::Timer::Make(
        [&](vx::Timer&) {
            if (!inOuter)
                return;
            events.push_back("inner");
            if (++innerTicks == 3)
                nested.Quit();
        },
        1);
    ak::RunLoop::Iterate(false);

    EXPECT_EQ(events, (std::vector<std::string>{"outer", "inner", "inner", "inner", "outer done"}));
}

TEST(Timer, StopInsideTheCallbackEndsTheTicking) {
    int ticks = 0;
    auto timer = vx::Timer::Make(
        [&](vx::Timer& self) {
            ++ticks;
            self.Stop();
            self.Stop();
        },
        1);
    RunForTicks(10);
    EXPECT_EQ(ticks, 1);
    EXPECT_FALSE(static_cast<vx::Timer_impl&>(*timer).IsRunning());
}

TEST(Timer, NoTickAfterDestruction) {
    int ticks = 0;
    auto timer = vx::Timer::Make([&](vx::Timer&) { ++ticks; }, 1);
    timer.reset();
    RunForTicks(10);
    EXPECT_EQ(ticks, 0);
}

TEST(Timer, LateTicksAreSkippedNotBunched) {
    int ticks = 0;
    auto timer = vx::Timer::Make(
        [&](vx::Timer&) {
            // Blocks for several intervals, as a slow main thread would.
            if (++ticks == 1)
                std::this_thread::sleep_for(std::chrono::milliseconds(60));
        },
        10);
    ak::RunLoop::Iterate(false);
    ASSERT_EQ(ticks, 1);
    // Bunched ticks would all be due now: serve what is due until nothing is.
    while (ak::RunLoop::Iterate(false)) {
    }
    EXPECT_LE(ticks, 2);
}

TEST(Timer, EmptyCallbackIsRefused) {
    EXPECT_THROW(vx::Timer::Make({}, 20), std::bad_function_call);
}

TEST(RunLoop, QuitBeforeRunEndsTheRunAtOnce) {
    ak::RunLoop loop;
    loop.Quit();
    loop.Run();
    EXPECT_FALSE(loop.IsRunning());
}

} // namespace
