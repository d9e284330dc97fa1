#include "device/IRReceive.h"

#include "device/DeviceMessage.h"

#include <algorithm>

namespace omnar {
namespace {

constexpr std::uint8_t kFirstPart = 0x60;
constexpr std::uint8_t kMiddlePart = 0x65;
constexpr std::uint8_t kLastPart = 0x66;
constexpr std::size_t kPartBytes = 256;
// F0, maker, group, command, version.
constexpr std::size_t kHeaderSize = 7;
// Slot (two digits) and packed size (three) follow the header of a first part.
constexpr std::size_t kFirstHeaderSize = 12;

bool IsEditorGroupMessage(std::span<const std::uint8_t> m) {
    return m.size() > kHeaderSize && m[0] == kSysExStart && m[1] == kMakerId[0] &&
           m[2] == kMakerId[1] && m[3] == kMakerId[2] && m[4] == kEditorGroup &&
           m.back() == kSysExEnd;
}

// Up to 256 packed bytes from offset at, stopping before the closing F7.
std::span<const std::uint8_t> PackedRun(std::span<const std::uint8_t> m, std::size_t at) {
    const std::size_t end = std::min(m.size() - 1, at + kPartBytes);
    return end > at ? m.subspan(at, end - at) : std::span<const std::uint8_t>{};
}

} // namespace

IRReceive::Part IRReceive::Take(std::span<const std::uint8_t> m) {
    if (!IsEditorGroupMessage(m))
        return Part::kNone;
    switch (m[5]) {
    case kFirstPart:
        if (m.size() <= kFirstHeaderSize)
            return Part::kNone;
        m_slot = (m[7] & 0x7F) * 128 + (m[8] & 0x7F);
        m_packedSize = (m[9] & 0x7F) * 16384 + (m[10] & 0x7F) * 128 + (m[11] & 0x7F);
        m_runningSum = 0;
        m_checkHigh = m_checkLow = 0;
        m_unpacker.Begin(m_packedSize);
        Unpack(PackedRun(m, kFirstHeaderSize));
        return Part::kFirst;
    case kMiddlePart:
        Unpack(PackedRun(m, kHeaderSize));
        return Part::kMiddle;
    case kLastPart: {
        // Packed bytes, then the two check digits and F7.
        if (m.size() < kHeaderSize + 3)
            return Part::kNone;
        const std::size_t checkAt = m.size() - 3;
        Unpack(m.subspan(kHeaderSize, checkAt - kHeaderSize));
        m_unpacker.Flush();
        m_runningSum &= 0x3FFF;
        m_checkHigh = m[checkAt];
        m_checkLow = m[checkAt + 1];
        return Part::kLast;
    }
    default:
        return Part::kNone;
    }
}

void IRReceive::Unpack(std::span<const std::uint8_t> packed) {
    for (const std::uint8_t byte : packed) {
        m_unpacker.Feed(byte);
        m_runningSum += byte;
    }
}

} // namespace omnar
