#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace omnar {

// Packed length of n source bytes: floor(8n / 7) + 1.
std::size_t PackedSize(std::size_t sourceBytes);

// 8-to-7 packing of IR images and firmware: the source read as one bit stream,
// most significant bit first, 7 bits to a packed byte, zero-filled at the end.
std::vector<std::uint8_t> Pack8To7(std::span<const std::uint8_t> source);

// Check digits of a packed transfer: the sum of all packed bytes, 14 bits of it.
std::array<std::uint8_t, 2> TransferCheck(std::span<const std::uint8_t> packed);

// The receiving side of a packed transfer, fed one 7-bit byte at a time as the
// messages arrive. Each byte delivers the 6 bits left of the byte before it and
// then its own first bit; after the last data byte the receiver feeds one extra
// 0 byte (Flush) to deliver the rest. Output stops at the capacity fixed at
// construction, whatever size the first message declares, so a hostile or
// corrupt size cannot write past the buffer.
class StreamUnpacker {
public:
    explicit StreamUnpacker(std::size_t capacity);

    // Starts a transfer of packedSize 7-bit bytes: the stream carries
    // packedSize * 7 bits with the low three cleared.
    void Begin(int packedSize);
    void Feed(std::uint8_t byte);
    void Flush() { Feed(0); }

    // Bytes produced so far, never more than the capacity.
    std::span<const std::uint8_t> Output() const { return {m_output.data(), m_position}; }
    std::size_t OutputPosition() const { return m_position; }
    // Source bytes the first message announced: packedSize * 7 / 8.
    std::size_t Expected() const { return m_expected; }
    // The announced stream did not fit; the bytes past the capacity were dropped.
    bool Overflowed() const { return m_overflowed; }

private:
    void PushBit(unsigned bit);

    std::vector<std::uint8_t> m_output;
    std::size_t m_position = 0;
    std::size_t m_expected = 0;
    std::int64_t m_bitsToProduce = 0;
    unsigned m_accumulator = 0;
    int m_accumulatedBits = 0;
    unsigned m_inputShifted = 0;
    int m_inputBitsLeft = 0;
    bool m_overflowed = false;
};

} // namespace omnar
