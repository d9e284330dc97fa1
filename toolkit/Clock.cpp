#include "toolkit/Clock.h"

#include "platform/sys/MonotonicTime.h"

namespace vx::ui {

namespace {

std::function<double()>& ClockOverride() {
    static std::function<double()> clock;
    return clock;
}

} // namespace

double MonotonicMs() {
    if (const auto& clock = ClockOverride())
        return clock();
    return static_cast<double>(sys::MonotonicNanoseconds()) / 1e6;
}

void SetMonotonicClock(std::function<double()> clock) {
    ClockOverride() = std::move(clock);
}

} // namespace vx::ui
