#include "winlayer/CursorFile.h"

namespace winlayer {

namespace {

constexpr size_t kHeaderBytes = 6;
constexpr size_t kEntryBytes = 16;

uint16_t Read16(const std::vector<unsigned char>& b, size_t at) {
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

void Write16(std::vector<unsigned char>& b, size_t at, uint16_t value) {
    b[at] = static_cast<unsigned char>(value & 0xFF);
    b[at + 1] = static_cast<unsigned char>(value >> 8);
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
    IconFromCursor icon{cur, Read16(cur, entry + 4), Read16(cur, entry + 6)};
    Write16(icon.ico, 2, 1);
    Write16(icon.ico, entry + 4, 1); // planes
    Write16(icon.ico, entry + 6, 0); // bit count
    return icon;
}

} // namespace winlayer
