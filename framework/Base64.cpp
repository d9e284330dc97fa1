#include "framework/Base64.h"

namespace vx {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int SextetOf(char c) {
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}

} // namespace

std::string Base64Encode(std::span<const uint8_t> bytes) {
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const size_t n = std::min<size_t>(3, bytes.size() - i);
        uint32_t group = uint32_t{bytes[i]} << 16;
        if (n > 1)
            group |= uint32_t{bytes[i + 1]} << 8;
        if (n > 2)
            group |= bytes[i + 2];
        for (size_t k = 0; k < 4; ++k)
            text += k <= n ? kAlphabet[(group >> (18 - 6 * k)) & 0x3F] : '=';
    }
    return text;
}

int Base64Decode(const char* text, std::span<uint8_t> out) {
    size_t written = 0;
    uint32_t bits = 0;
    int bitCount = 0;
    for (; text && *text && written < out.size(); ++text) {
        const int sextet = SextetOf(*text);
        if (sextet < 0)
            break;
        bits = (bits << 6) | uint32_t(sextet);
        bitCount += 6;
        if (bitCount >= 8) {
            bitCount -= 8;
            out[written++] = static_cast<uint8_t>(bits >> bitCount);
        }
    }
    return static_cast<int>(written);
}

} // namespace vx
