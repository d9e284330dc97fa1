#include "winlayer/WinBasics.h"

#include <cerrno>
#include <ctime>

void Sleep(DWORD milliseconds) {
    timespec remaining = milliseconds == 0
                             ? timespec{0, 100'000}
                             : timespec{static_cast<time_t>(milliseconds / 1000),
                                        static_cast<long>(milliseconds % 1000) * 1'000'000};
    while (nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
    }
}

DWORD GetTickCount() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<DWORD>(static_cast<std::uint64_t>(now.tv_sec) * 1000 +
                              static_cast<std::uint64_t>(now.tv_nsec) / 1'000'000);
}

int MulDiv(int a, int b, int c) {
    if (c == 0)
        return 0;
    const double result = static_cast<double>(a) * b / c;
    // Out-of-range results would be undefined as a conversion; saturate instead.
    if (result >= 2147483647.0)
        return 2147483647;
    if (result <= -2147483648.0)
        return -2147483647 - 1;
    return static_cast<int>(result);
}

unsigned int _controlfp(unsigned int, unsigned int) {
    return 0;
}
