#pragma once

#include <cstdint>

namespace sys {

// Nanoseconds of the system's monotonic clock; never goes back.
int64_t MonotonicNanoseconds();

} // namespace sys
