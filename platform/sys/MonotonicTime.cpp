#include "platform/sys/MonotonicTime.h"

#include <ctime>

namespace sys {

int64_t MonotonicNanoseconds() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return int64_t{ts.tv_sec} * 1000000000 + ts.tv_nsec;
}

} // namespace sys
