#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace winlayer {

struct IconFromCursor {
    std::vector<unsigned char> ico;
    int hotX;
    int hotY;
};

// A one-image Windows cursor file rewritten as the icon file image readers
// take: type 1, the hot-spot fields of the directory entry made planes 1 and
// bit count 0, the hot spot returned. Nothing for another header, a count
// other than one, a non-zero reserved byte, a file too short to hold them or
// an image offset at or past the end of the file.
std::optional<IconFromCursor> CursorToIcon(const std::vector<unsigned char>& cur);

} // namespace winlayer
