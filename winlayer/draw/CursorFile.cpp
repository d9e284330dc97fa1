#include "winlayer/draw/CursorFile.h"

#include <algorithm>
#include <iterator>

namespace winlayer {

namespace {

constexpr size_t kHeaderBytes = 6;
constexpr size_t kEntryBytes = 16;
constexpr size_t kInfoHeaderBytes = 40;
constexpr size_t kColoursUsedAt = 32;

uint16_t Read16(const std::vector<unsigned char>& b, size_t at) {
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

uint32_t Read32(const std::vector<unsigned char>& b, size_t at) {
    return Read16(b, at) | (uint32_t(Read16(b, at + 2)) << 16);
}

void Write16(std::vector<unsigned char>& b, size_t at, uint16_t value) {
    b[at] = static_cast<unsigned char>(value & 0xFF);
    b[at + 1] = static_cast<unsigned char>(value >> 8);
}

// The image reader makes room for everything up to the image and for the
// colour table its bitmap header claims before it sees whether they are
// there: gigabytes for a few bytes. Such a file cannot be read; it gives
// nothing. A cut header is left to the reader, which makes room only for it,
// and a PNG image has no colour table there.
bool ClaimsMoreThanItHolds(const std::vector<unsigned char>& cur, uint32_t image) {
    if (image >= cur.size())
        return true;
    const size_t rest = cur.size() - image;
    static constexpr unsigned char kPng[] = {0x89, 'P', 'N', 'G'};
    if (rest < kInfoHeaderBytes || std::equal(std::begin(kPng), std::end(kPng), &cur[image]))
        return false;
    const uint64_t colours = Read32(cur, image + kColoursUsedAt);
    return colours * 4 > rest - kInfoHeaderBytes;
}

} // namespace

std::optional<IconFromCursor> CursorToIcon(const std::vector<unsigned char>& cur) {
    if (cur.size() < kHeaderBytes + kEntryBytes)
        return std::nullopt;
    if (Read16(cur, 0) != 0 || Read16(cur, 2) != 2 || Read16(cur, 4) != 1)
        return std::nullopt;
    constexpr size_t entry = kHeaderBytes;
    if (cur[entry + 3] != 0) // reserved
        return std::nullopt;
    if (ClaimsMoreThanItHolds(cur, Read32(cur, entry + 12)))
        return std::nullopt;
    IconFromCursor icon{cur, Read16(cur, entry + 4), Read16(cur, entry + 6)};
    Write16(icon.ico, 2, 1);
    Write16(icon.ico, entry + 4, 1); // planes
    Write16(icon.ico, entry + 6, 0); // bit count
    return icon;
}

} // namespace winlayer
