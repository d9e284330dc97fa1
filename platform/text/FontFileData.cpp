#include "platform/text/FontFileData.h"

#include "platform/sys/Utf8.h"

#include <cstring>

namespace text {

namespace {

// Big-endian reads that answer nothing when the value lies past the end.
std::optional<uint32_t> U16(const std::vector<unsigned char>& b, uint64_t at) {
    if (at + 2 > b.size())
        return std::nullopt;
    return uint32_t(b[at]) << 8 | b[at + 1];
}

std::optional<uint32_t> U32(const std::vector<unsigned char>& b, uint64_t at) {
    if (at + 4 > b.size())
        return std::nullopt;
    return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}

bool TagAt(const std::vector<unsigned char>& b, uint64_t at, const char* tag) {
    return at + 4 <= b.size() && std::memcmp(&b[at], tag, 4) == 0;
}

std::string Utf16BeToUtf8(const unsigned char* p, size_t units) {
    std::string out;
    for (size_t i = 0; i < units; ++i) {
        char32_t c = char32_t(p[2 * i] << 8 | p[2 * i + 1]);
        if (c == 0)
            break;
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < units) {
            const char32_t low = char32_t(p[2 * i + 2] << 8 | p[2 * i + 3]);
            if (low >= 0xDC00 && low < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        // Lone surrogates become U+FFFD in the encoder.
        sys::AppendUtf8(out, c);
    }
    return out;
}

} // namespace

FontFileData::FontFileData(const void* data, size_t size, int index) {
    if (data && size > 0)
        bytes.assign(static_cast<const unsigned char*>(data),
                     static_cast<const unsigned char*>(data) + size);
    faceIndex = index;
    LocateFace(index);
    if (!faceFound)
        return;
    ReadTableDirectory();
    if (head && name && hhea)
        ReadFaceMetrics();
}

void FontFileData::LocateFace(int index) {
    if (index < 0)
        return;
    const bool single = TagAt(bytes, 0, "\x00\x01\x00\x00") || TagAt(bytes, 0, "1\0\0\0") ||
                        TagAt(bytes, 0, "OTTO") || TagAt(bytes, 0, "typ1");
    if (single) {
        if (index == 0)
            faceFound = 0;
        return;
    }
    if (!TagAt(bytes, 0, "ttcf"))
        return;
    const auto version = U32(bytes, 4);
    const auto count = U32(bytes, 8);
    if (!version || (*version != 0x00010000 && *version != 0x00020000) || !count ||
        *count <= uint32_t(index))
        return;
    if (const auto offset = U32(bytes, 12 + 4 * uint64_t(index)))
        faceFound = *offset;
}

void FontFileData::ReadTableDirectory() {
    const uint64_t face = *faceFound;
    const auto count = U16(bytes, face + 4);
    if (!count)
        return;
    const auto keep = [](uint32_t& slot, std::optional<uint32_t> offset) {
        if (slot == 0 && offset)
            slot = *offset;
    };
    for (uint32_t i = 0; i < *count; ++i) {
        const uint64_t record = face + 12 + 16 * uint64_t(i);
        if (record + 16 > bytes.size())
            break;
        const auto offset = U32(bytes, record + 8);
        if (TagAt(bytes, record, "head"))
            keep(head, offset);
        else if (TagAt(bytes, record, "name"))
            keep(name, offset);
        else if (TagAt(bytes, record, "hhea"))
            keep(hhea, offset);
        else if (TagAt(bytes, record, "fdsc"))
            keep(fdsc, offset);
    }
    // A table that starts beyond the file is as good as missing.
    for (uint32_t* table : {&head, &name, &hhea})
        if (*table >= bytes.size())
            *table = 0;
}

void FontFileData::ReadFaceMetrics() {
    const auto headField = [&](int at) { return U16(bytes, uint64_t(head) + at); };
    const auto hheaField = [&](int at) { return U16(bytes, uint64_t(hhea) + at); };
    const auto units = headField(18), style = headField(44);
    const auto asc = hheaField(4), desc = hheaField(6), gap = hheaField(8);
    if (!units || !style || !asc || !desc || !gap) {
        head = hhea = 0; // truncated: the face is not usable
        return;
    }
    unitsPerEM = uint16_t(*units);
    macStyle = uint16_t(*style);
    ascender = int16_t(*asc);
    descender = int16_t(*desc);
    lineGap = int16_t(*gap);
    family = FamilyName(1);
    this->style = FamilyName(2);
}

std::string FontFileData::FamilyName(int nameId) const {
    std::string result = ReadNameString(nameId, true);
    return result.empty() ? ReadNameString(nameId, false) : result;
}

std::string FontFileData::ReadNameString(int nameId, bool microsoft) const {
    if (!name)
        return {};
    const auto count = U16(bytes, uint64_t(name) + 2);
    const auto storage = U16(bytes, uint64_t(name) + 4);
    if (!count || !storage)
        return {};
    const uint32_t platform = microsoft ? 3 : 1, encoding = microsoft ? 1 : 0;
    const uint32_t language = microsoft ? 1033 : 0;
    for (uint32_t i = 0; i < *count; ++i) {
        const uint64_t record = uint64_t(name) + 6 + 12 * uint64_t(i);
        if (record + 12 > bytes.size())
            return {};
        if (*U16(bytes, record) != platform || *U16(bytes, record + 2) != encoding ||
            *U16(bytes, record + 4) != language || *U16(bytes, record + 6) != uint32_t(nameId))
            continue;
        const uint64_t length = *U16(bytes, record + 8);
        const uint64_t start = uint64_t(name) + *storage + *U16(bytes, record + 10);
        if (start > bytes.size())
            return {};
        const uint64_t available = bytes.size() - start;
        const unsigned char* text = bytes.data() + start;
        if (microsoft)
            return Utf16BeToUtf8(text, std::min(length, available) / 2);
        const uint64_t limit = length == 0 ? available : std::min(length, available);
        return std::string(reinterpret_cast<const char*>(text),
                           strnlen(reinterpret_cast<const char*>(text), limit));
    }
    return {};
}

bool FontFileData::IsValid() const {
    return !bytes.empty() && faceIndex >= 0 && faceFound && head && name && hhea;
}

int FontFileData::FindFaceByStyle(const void* data, size_t size, const std::string& style) {
    for (int index = 0;; ++index) {
        const FontFileData face(data, size, index);
        if (!face.IsValid())
            return -1;
        if (!face.style.empty() && (style.empty() || face.style == style))
            return index;
    }
}

} // namespace text
