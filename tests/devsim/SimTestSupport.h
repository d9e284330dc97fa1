#pragma once

// Small helpers shared by the simulator's tests.

#include "tests/devsim/DeviceSim.h"

#include <algorithm>
#include <iterator>
#include <string>

namespace devsim::test {

template <std::size_t N>
Bytes Of(const std::uint8_t (&bytes)[N]) {
    return Bytes(bytes, bytes + N);
}

inline Bytes EditorMessage(std::initializer_list<std::uint8_t> tail) {
    constexpr std::uint8_t kHeader[] = {0xF0, 0x00, 0x51, 0x21, 0x05};
    Bytes m(std::size(kHeader) + tail.size() + 1, 0xF7);
    std::copy(std::begin(kHeader), std::end(kHeader), m.begin());
    std::copy(tail.begin(), tail.end(), m.begin() + std::size(kHeader));
    return m;
}

// A device reply re-sent as a write: the command swapped, byte 6 set to 0C.
inline Bytes AsWrite(Bytes message, std::uint8_t command) {
    message[5] = command;
    message[6] = kProtocolVersion;
    return message;
}

// The loader messages that carry an image: start, full chunks, last chunk.
std::vector<Bytes> FirmwareMessages(const Bytes& image);

inline std::string NameIn(const Bytes& message, std::size_t offset) {
    return std::string(TrimmedField(ByteView(message).subspan(offset, kTextFieldSize)));
}

} // namespace devsim::test
