// The run-loop helpers on the GLib loop, with GTK-free stand-in windows: a
// run lasts the time asked for, a run for one window's timers holds the other
// windows' ticks back, and a pump serves at most 100 turns.
#include "platform/ak/TimeoutSource.h"
#include "platform/ak/test/AkTest.h"
#include "tests/winlayer/support/QueueStubs.h"
#include "winlayer/MessageQueue.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <vector>

namespace {

using winlayer::test::HandleOf;
using winlayer::test::StubWindow;
using winlayer::test::StubWindows;

int g_procTicks[2];
void CountProcTick(HWND window, UINT, UINT_PTR, DWORD) {
    ++g_procTicks[window ? 0 : 1];
}

class RunLoopCallsTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_procTicks[0] = g_procTicks[1] = 0;
        for (int i = 0; i < 2; ++i)
            stubs.windows.push_back(ak::MakeRef<StubWindow>());
        winlayer::SetQueueWindows(&stubs);
    }
    void TearDown() override {
        for (const auto& window : stubs.windows)
            KillTimer(HandleOf(window.Get()), winlayer::kAllTimers);
        for (UINT_PTR id : windowless)
            KillTimer(nullptr, id);
        winlayer::SetQueueWindows(nullptr);
    }
    StubWindows stubs;
    std::vector<UINT_PTR> windowless;
};

TEST_F(RunLoopCallsTest, ARunLastsTheTimeGivenAndServesTimersMeanwhile) {
    windowless.push_back(SetTimer(nullptr, 0, 1, &CountProcTick));
    for (unsigned ms : {0u, 30u}) {
        SCOPED_TRACE(ms);
        g_procTicks[1] = 0;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        WISP_RunLoop_RunFor(ms);
        EXPECT_GE(std::chrono::steady_clock::now(), deadline);
        // The timer was due before the run's end: the turn that ended it served it.
        if (ms > 0) {
            EXPECT_GT(g_procTicks[1], 0);
        }
    }
}

TEST_F(RunLoopCallsTest, ARunForOneWindowsTimersHoldsTheOtherWindowsTicksBack) {
    StubWindow& other = *stubs.windows[0];
    StubWindow& chosen = *stubs.windows[1];
    // The other window's timers are set first, at the shortest interval: due
    // whenever the chosen window's timer is.
    ASSERT_EQ(SetTimer(HandleOf(&other), 1, 1, nullptr), 1u);
    ASSERT_EQ(SetTimer(HandleOf(&other), 2, 1, &CountProcTick), 2u);
    windowless.push_back(SetTimer(nullptr, 0, 1, &CountProcTick));
    ASSERT_EQ(SetTimer(HandleOf(&chosen), 1, 1, nullptr), 1u);

    WISP_RunLoop_RunForWindowTimers(HandleOf(&chosen), 30);
    EXPECT_GT(chosen.ticks, 0);
    EXPECT_GT(g_procTicks[1], 0) << "windowless timers keep ticking";
    EXPECT_EQ(other.ticks, 0);
    EXPECT_EQ(g_procTicks[0], 0);

    // Both of the other window's timers are alive: they tick once the run is over.
    EXPECT_TRUE(ak::test::PumpUntil([&] { return other.ticks > 0 && g_procTicks[0] > 0; }));
}

TEST_F(RunLoopCallsTest, APumpServesWhatIsPendingAndStopsAfterAHundredTurns) {
    EXPECT_EQ(WISP_RunLoop_PumpEvents(), 0) << "nothing pending";

    // A chain of work where each link queues the next for the loop's next turn:
    // it never runs dry, so only the limit ends the pump.
    std::vector<std::unique_ptr<ak::TimeoutSource>> links;
    std::function<void()> link = [&] {
        links.back()->Cancel();
        links.push_back(std::make_unique<ak::TimeoutSource>(1000, link));
    };
    links.push_back(std::make_unique<ak::TimeoutSource>(1000, link));
    EXPECT_EQ(WISP_RunLoop_PumpEvents(), 100);
    EXPECT_EQ(links.size(), 101u);
}

} // namespace
