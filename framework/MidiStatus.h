#pragma once

#include <cstdint>

namespace vx {

// Bytes of a whole short message with this status byte, so that a message
// never leaves with a stray data byte that running status would misread.
// 0 for a byte no short message can start with: data bytes, SysEx start and
// end, and the undefined system common bytes.
constexpr int ShortMessageLength(uint8_t status) {
    if (status < 0x80)
        return 0;
    if (status < 0xF0) {
        const int kind = status & 0xF0;
        return kind == 0xC0 || kind == 0xD0 ? 2 : 3;
    }
    switch (status) {
    case 0xF1:
    case 0xF3:
        return 2;
    case 0xF2:
        return 3;
    case 0xF6:
        return 1;
    default:
        return status >= 0xF8 ? 1 : 0;
    }
}

} // namespace vx
