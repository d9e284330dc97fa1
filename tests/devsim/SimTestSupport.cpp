#include "tests/devsim/SimTestSupport.h"

#include <algorithm>

namespace devsim::test {

std::vector<Bytes> FirmwareMessages(const Bytes& image) {
    const Bytes packed = Pack8To7(image);
    const auto check = CheckDigits(SumOf(packed) & 0x3FFF);
    const std::size_t size = packed.size();
    std::vector<Bytes> messages;
    Bytes start{0xF0,
                0x00,
                0x51,
                0x21,
                0x04,
                0x13,
                static_cast<std::uint8_t>((size >> 14) & 0x7F),
                static_cast<std::uint8_t>((size >> 7) & 0x7F),
                static_cast<std::uint8_t>(size & 0x7F)};
    start.insert(start.end(), packed.begin(), packed.begin() + 240);
    start.push_back(0xF7);
    messages.push_back(std::move(start));
    std::size_t pos = 240;
    while (size - pos > 240) {
        Bytes chunk{0xF0, 0x00, 0x51, 0x21, 0x04, 0x20};
        chunk.insert(chunk.end(), packed.begin() + pos, packed.begin() + pos + 240);
        chunk.push_back(0xF7);
        messages.push_back(std::move(chunk));
        pos += 240;
    }
    Bytes last{0xF0, 0x00, 0x51, 0x21, 0x04, 0x20};
    last.insert(last.end(), packed.begin() + pos, packed.end());
    last.insert(last.end(), {check[0], check[1], 0xF7});
    messages.push_back(std::move(last));
    return messages;
}

} // namespace devsim::test
