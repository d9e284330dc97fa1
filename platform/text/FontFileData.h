#pragma once

// One face of an sfnt font file (TrueType, OpenType or a collection): where
// the face and its tables sit, its names and vertical metrics, and a copy of
// the whole file for the renderer. Every read is bounded by the file's size;
// anything out of range counts as missing.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace text {

class FontFileData {
public:
    FontFileData() = default;
    // Copies the bytes and locates face `faceIndex` in them.
    FontFileData(const void* bytes, size_t size, int faceIndex);

    // The first face (0, 1, ...) whose style name is not empty and equals
    // `style` (any such face when `style` is empty); -1 when the faces run out.
    static int FindFaceByStyle(const void* bytes, size_t size, const std::string& style);

    // Name id from the Microsoft (3, 1, 1033) record, else the Macintosh (1, 0, 0) one.
    std::string FamilyName(int nameId) const;
    std::string ReadNameString(int nameId, bool microsoft) const;

    // Non-empty bytes, a face found and the 'head', 'name' and 'hhea' tables present.
    bool IsValid() const;

    const unsigned char* Bytes() const { return bytes.data(); }
    size_t Size() const { return bytes.size(); }

    std::optional<uint32_t> faceFound; // offset of the face's table directory
    uint32_t head = 0, name = 0, hhea = 0, fdsc = 0;
    std::string family;
    std::string style;
    uint16_t macStyle = 0;
    uint16_t unitsPerEM = 0;
    int16_t ascender = 0, descender = 0, lineGap = 0;
    int faceIndex = -1;

private:
    void LocateFace(int index);
    void ReadTableDirectory();
    void ReadFaceMetrics();

    std::vector<unsigned char> bytes;
};

} // namespace text
