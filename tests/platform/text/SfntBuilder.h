#pragma once

// Builds small sfnt files in memory: single fonts and collections with
// 'head', 'hhea' and 'name' tables of chosen contents.

#include <cstdint>
#include <string>
#include <vector>

namespace text_test {

using Bytes = std::vector<unsigned char>;

struct NameRecord {
    uint16_t platform, encoding, language, nameId;
    Bytes text; // as stored
};

NameRecord MicrosoftName(uint16_t nameId, const std::u16string& text, uint16_t language = 1033);
NameRecord MacName(uint16_t nameId, const std::string& text);

struct FaceSpec {
    std::vector<NameRecord> names;
    uint16_t unitsPerEM = 2048;
    int16_t ascender = 1900, descender = -500, lineGap = 67;
    uint16_t macStyle = 0;
    bool withHhea = true;
};

// A face named family/style in Microsoft records.
FaceSpec NamedFace(const std::u16string& family, const std::u16string& style);

// One face after the four-byte tag ("\0\1\0\0", "OTTO", "true", ...).
Bytes SingleFont(const std::string& tag, const FaceSpec& face);
// A "ttcf" collection; version as 16.16 fixed point.
Bytes Collection(const std::vector<FaceSpec>& faces, uint32_t version = 0x00010000);

} // namespace text_test
