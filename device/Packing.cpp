#include "device/Packing.h"

#include "device/DeviceMessage.h"

#include <algorithm>

namespace omnar {

std::size_t PackedSize(std::size_t sourceBytes) {
    return sourceBytes * 8 / 7 + 1;
}

std::vector<std::uint8_t> Pack8To7(std::span<const std::uint8_t> source) {
    std::vector<std::uint8_t> packed(PackedSize(source.size()), 0);
    std::size_t bit = 0;
    for (const std::uint8_t byte : source) {
        for (int i = 7; i >= 0; --i, ++bit) {
            if ((byte >> i) & 1)
                packed[bit / 7] |= static_cast<std::uint8_t>(0x40 >> (bit % 7));
        }
    }
    return packed;
}

std::array<std::uint8_t, 2> TransferCheck(std::span<const std::uint8_t> packed) {
    return CheckDigits(ByteSum(packed));
}

StreamUnpacker::StreamUnpacker(std::size_t capacity) : m_output(capacity, 0) {}

void StreamUnpacker::Begin(int packedSize) {
    const std::int64_t size = std::max(packedSize, 0);
    m_bitsToProduce = (size * 7) & ~std::int64_t{7};
    m_expected = static_cast<std::size_t>(size * 7 / 8);
    std::fill(m_output.begin(), m_output.end(), 0);
    m_position = 0;
    m_accumulator = 0;
    m_accumulatedBits = 0;
    m_inputShifted = 0;
    m_inputBitsLeft = 0;
    m_overflowed = false;
}

void StreamUnpacker::Feed(std::uint8_t byte) {
    for (; m_inputBitsLeft > 0; --m_inputBitsLeft) {
        m_inputShifted = (m_inputShifted << 1) & 0x7F;
        PushBit((m_inputShifted >> 6) & 1);
    }
    m_inputShifted = byte & 0x7Fu;
    PushBit((m_inputShifted >> 6) & 1);
    m_inputBitsLeft = 6;
}

void StreamUnpacker::PushBit(unsigned bit) {
    if (m_bitsToProduce <= 0)
        return;
    --m_bitsToProduce;
    m_accumulator = (m_accumulator << 1) | bit;
    if (++m_accumulatedBits < 8)
        return;
    if (m_position < m_output.size())
        m_output[m_position++] = static_cast<std::uint8_t>(m_accumulator);
    else
        m_overflowed = true;
    m_accumulator = 0;
    m_accumulatedBits = 0;
}

} // namespace omnar
