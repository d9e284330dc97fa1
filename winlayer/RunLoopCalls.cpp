// Running the main loop for a while, with every timer or with one window's
// timers only, and serving what is pending.
#include "platform/ak/RunLoop.h"
#include "platform/ak/TimeoutSource.h"
#include "winlayer/MessageQueue.h"

namespace winlayer {
namespace {

// The window whose timers alone tick, while a run restricted to it lasts.
struct TimerRestriction {
    bool active = false;
    HWND window = nullptr;
};

TimerRestriction g_restriction; // main thread only, as the ticks are

} // namespace

bool TimerMayTick(HWND window) {
    return !g_restriction.active || window == nullptr || window == g_restriction.window;
}

} // namespace winlayer

void WISP_RunLoop_RunFor(unsigned ms) {
    ak::RunLoop loop;
    ak::TimeoutSource end(
        ms, [&loop] { loop.Quit(); }, ak::TimeoutSource::Start::AfterInterval);
    loop.Run();
}

void WISP_RunLoop_RunForWindowTimers(HWND window, unsigned ms) {
    // Nested runs restore the restriction of the run around them.
    const winlayer::TimerRestriction outer = winlayer::g_restriction;
    winlayer::g_restriction = {true, window};
    WISP_RunLoop_RunFor(ms);
    winlayer::g_restriction = outer;
}

int WISP_RunLoop_PumpEvents() {
    constexpr int kMostEvents = 100;
    int served = 0;
    while (served < kMostEvents && ak::RunLoop::Iterate(false))
        ++served;
    return served;
}
