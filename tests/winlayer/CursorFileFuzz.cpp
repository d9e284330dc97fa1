#include "winlayer/draw/CursorFile.h"

#include "platform/ak/Image.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Any bytes read as a cursor file: a rewritten icon is the same size with
// the hot spot taken from the entry, and the image reader takes it or not
// without reading past it.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<unsigned char> bytes(data, data + size);
    const auto icon = winlayer::CursorToIcon(bytes);
    if (!icon)
        return 0;
    if (icon->ico.size() != size || icon->hotX != (data[10] | (data[11] << 8))) {
        std::fprintf(stderr, "cursor rewritten wrongly\n");
        std::abort();
    }
    ak::Image::FromData(icon->ico.data(), icon->ico.size());
    return 0;
}
