#pragma once

#include <array>
#include <cstdint>

namespace omnar {

// Values applied when an amp mode is chosen, one row per mode.
inline constexpr std::array<std::array<std::int32_t, 11>, 10> AmpModeDefaults = {{
    {20, 64, 9, 59, 64, 95, 0, 75, 15, 0, 127},
    {26, 63, 64, 64, 64, 64, 0, 65, 20, 0, 0},
    {10, 62, 64, 0, 64, 80, 0, 8, 25, 0, 127},
    {20, 64, 14, 34, 64, 64, 0, 23, 20, 0, 127},
    {25, 58, 5, 21, 64, 43, 0, 60, 25, 0, 127},
    {20, 64, 31, 17, 64, 60, 0, 86, 10, 0, 127},
    {20, 70, 28, 21, 64, 63, 0, 60, 15, 0, 127},
    {22, 64, 0, 36, 64, 67, 0, 64, 22, 0, 127},
    {61, 27, 77, 67, 64, 80, 0, 39, 96, 0, 14},
    {61, 43, 105, 67, 64, 27, 0, 40, 96, 0, 14},
}};

// Values applied when a reverb mode is chosen, one row per mode.
inline constexpr std::array<std::array<std::int32_t, 10>, 7> ReverbModeDefaults = {{
    {47, 20, 3, 49, 127, 93, 127, 15, 0, 0},
    {64, 8, 2, 64, 127, 64, 64, 20, 4, 127},
    {109, 100, 2, 71, 127, 73, 26, 23, 26, 0},
    {86, 120, 2, 127, 127, 45, 127, 42, 4, 127},
    {74, 84, 4, 52, 0, 0, 127, 0, 67, 60},
    {64, 64, 5, 0, 127, 64, 127, 15, 0, 0},
    {64, 70, 5, 0, 127, 32, 127, 10, 0, 0},
}};

} // namespace omnar
