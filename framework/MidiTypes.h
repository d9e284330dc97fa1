#pragma once

#include <cstdint>

namespace vx {

// One short MIDI message, as it travels through the rings.
struct IMidiMsg {
    int32_t offset = 0; // sample offset within the block
    uint8_t status = 0;
    uint8_t data1 = 0;
    uint8_t data2 = 0;
    uint8_t pad = 0;
};
static_assert(sizeof(IMidiMsg) == 8);

// A view of one SysEx message; the bytes are not owned.
struct ISysEx {
    int32_t offset = 0;
    int32_t size = 0;
    const uint8_t* data = nullptr;
};

// A SysEx message copied whole into a ring slot; bytes past the size are zero.
struct SysExRecord {
    static constexpr int kMaxBytes = 512;
    int32_t offset = 0;
    int32_t size = 0;
    uint8_t data[kMaxBytes] = {};
};
static_assert(sizeof(SysExRecord) == 520);

} // namespace vx
