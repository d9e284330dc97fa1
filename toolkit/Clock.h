#pragma once

#include <functional>

namespace vx::ui {

// Milliseconds of the monotonic clock that animations and frame times read.
double MonotonicMs();

// Replaces the clock (tests); an empty function restores the system clock.
void SetMonotonicClock(std::function<double()> clock);

} // namespace vx::ui
