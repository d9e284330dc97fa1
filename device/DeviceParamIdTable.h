#pragma once

#include <array>
#include <cstdint>

namespace omnar {

// Editor parameter index to the device's parameter id: 0..15 keep their
// numbers, 16..73 move up by four, and 74..76 take the ids 16..18 left free.
inline constexpr int kDeviceParamIdCount = 77;

inline constexpr std::array<std::int32_t, kDeviceParamIdCount> DeviceParamIdTable = [] {
    std::array<std::int32_t, kDeviceParamIdCount> ids{};
    for (int i = 0; i < 16; ++i)
        ids[i] = i;
    for (int i = 16; i < 74; ++i)
        ids[i] = i + 4;
    ids[74] = 16;
    ids[75] = 17;
    ids[76] = 18;
    return ids;
}();

} // namespace omnar
