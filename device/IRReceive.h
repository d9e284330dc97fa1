#pragma once

#include "device/Packing.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace omnar {

// The receiving end of an IR transfer from the device: the first, middle and
// last IRDump messages, unpacked as they arrive. Every read stays inside the
// message actually received and every write inside the image buffer, whatever
// the message claims.
class IRReceive {
public:
    // An IR image is 2436 bytes; the buffer leaves room to spare.
    static constexpr std::size_t kImageCapacity = 4096;

    enum class Part { kNone, kFirst, kMiddle, kLast };

    IRReceive() : m_unpacker(kImageCapacity) {}

    // Takes one received message; kNone (and no change) when it is not a part
    // of an IR transfer: wrong framing, another command, or too short to hold
    // its fields.
    Part Take(std::span<const std::uint8_t> message);

    int Slot() const { return m_slot; }
    int PackedSize() const { return m_packedSize; }
    // Sum of the packed bytes received, 14 bits of it once the last part came.
    unsigned RunningSum() const { return m_runningSum; }
    // The two check digits the last part carried.
    std::uint8_t CheckHigh() const { return m_checkHigh; }
    std::uint8_t CheckLow() const { return m_checkLow; }
    // The image unpacked so far (all of it after the last part).
    std::span<const std::uint8_t> Image() const { return m_unpacker.Output(); }
    std::size_t Expected() const { return m_unpacker.Expected(); }
    bool Overflowed() const { return m_unpacker.Overflowed(); }

private:
    void Unpack(std::span<const std::uint8_t> packed);

    StreamUnpacker m_unpacker;
    int m_slot = 0;
    int m_packedSize = 0;
    unsigned m_runningSum = 0;
    std::uint8_t m_checkHigh = 0;
    std::uint8_t m_checkLow = 0;
};

} // namespace omnar
