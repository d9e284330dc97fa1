#include "platform/sys/Utf8.h"

namespace sys {

namespace {

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Length of a well-formed sequence at offset, or 0 when it is malformed.
std::size_t WellFormedLength(std::string_view text, std::size_t offset, char32_t& codePoint) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[offset + i]); };
    const unsigned char lead = byte(0);
    std::size_t length;
    char32_t value;
    char32_t minimum;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, value = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, value = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, value = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (text.size() - offset < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if (!IsContinuation(byte(i)))
            return 0;
        value = (value << 6) | (byte(i) & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    codePoint = value;
    return length;
}

} // namespace

bool IsValidUtf8(std::string_view text) noexcept {
    for (std::size_t offset = 0; offset < text.size();) {
        char32_t ignored;
        const std::size_t length = WellFormedLength(text, offset, ignored);
        if (length == 0)
            return false;
        offset += length;
    }
    return true;
}

std::size_t DecodeUtf8(std::string_view text, std::size_t offset, char32_t& codePoint) noexcept {
    if (offset >= text.size())
        return 0;
    const std::size_t length = WellFormedLength(text, offset, codePoint);
    if (length > 0)
        return length;
    codePoint = kReplacementCharacter;
    return 1;
}

std::size_t EncodeUtf8(char32_t codePoint, char out[4]) noexcept {
    if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        codePoint = kReplacementCharacter;
    if (codePoint < 0x80) {
        out[0] = static_cast<char>(codePoint);
        return 1;
    }
    if (codePoint < 0x800) {
        out[0] = static_cast<char>(0xC0 | (codePoint >> 6));
        out[1] = static_cast<char>(0x80 | (codePoint & 0x3F));
        return 2;
    }
    if (codePoint < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (codePoint >> 12));
        out[1] = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (codePoint & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (codePoint >> 18));
    out[1] = static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (codePoint & 0x3F));
    return 4;
}

void AppendUtf8(std::string& out, char32_t codePoint) {
    char bytes[4];
    out.append(bytes, EncodeUtf8(codePoint, bytes));
}

std::u32string Utf8ToUtf32(std::string_view text) {
    std::u32string result;
    result.reserve(text.size());
    char32_t codePoint;
    for (std::size_t offset = 0, length; (length = DecodeUtf8(text, offset, codePoint)) > 0;
         offset += length)
        result.push_back(codePoint);
    return result;
}

std::string Utf32ToUtf8(std::u32string_view codePoints) {
    std::string result;
    result.reserve(codePoints.size());
    for (char32_t codePoint : codePoints)
        AppendUtf8(result, codePoint);
    return result;
}

std::size_t NextUtf8Boundary(std::string_view text, std::size_t offset) noexcept {
    if (offset >= text.size())
        return text.size();
    char32_t ignored;
    return offset + DecodeUtf8(text, offset, ignored);
}

std::size_t PreviousUtf8Boundary(std::string_view text, std::size_t offset) noexcept {
    if (offset > text.size())
        return text.size();
    if (offset == 0)
        return 0;
    // A well-formed sequence is at most four bytes long; a malformed byte is its own unit.
    for (std::size_t back = 1; back <= 4 && back <= offset; ++back) {
        char32_t ignored;
        if (WellFormedLength(text, offset - back, ignored) == back)
            return offset - back;
        if (!IsContinuation(static_cast<unsigned char>(text[offset - back])))
            break;
    }
    return offset - 1;
}

std::size_t Utf8PrefixLength(std::string_view text, std::size_t maxBytes) noexcept {
    if (maxBytes >= text.size())
        return text.size();
    std::size_t end = 0;
    while (end < maxBytes) {
        const std::size_t next = NextUtf8Boundary(text, end);
        if (next > maxBytes)
            break;
        end = next;
    }
    return end;
}

std::string Utf8OrAscii(std::string_view bytes) {
    std::string result(bytes);
    if (!IsValidUtf8(bytes)) {
        for (char& c : result) {
            if (static_cast<unsigned char>(c) > 0x7F)
                c = '?';
        }
    }
    return result;
}

} // namespace sys
