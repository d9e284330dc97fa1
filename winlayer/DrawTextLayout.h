#pragma once

#include <string>
#include <vector>

namespace winlayer {

// The text WISP_DrawText lays out: at most 4,095 bytes (never cut inside a
// UTF-8 sequence), '&' prefixes resolved unless noPrefix, carriage returns
// dropped, line feeds kept as line breaks or, on a single line, made spaces.
// Text that is not UTF-8 reads as ASCII with '?' for the other bytes.
std::vector<std::string> DrawTextLines(const char* text, int length, bool noPrefix,
                                       bool singleLine);

// Where text of the given size starts in a rectangle under the DT_ flags.
struct TextOrigin {
    int x;
    int y;
};
TextOrigin DrawTextOrigin(int left, int top, int right, int bottom, int width, int result,
                          unsigned flags);

} // namespace winlayer
