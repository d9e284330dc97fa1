#include "winlayer/dialogs/ChooserValues.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace winlayer {

namespace {

constexpr LONG kBoldFrom = 700;
constexpr LONG kBold = 700;
constexpr LONG kNormal = 400;
constexpr std::size_t kComparedBytes = 60;

int Channel(double value) {
    return std::clamp(int(std::lround(value * 255)), 0, 255);
}

} // namespace

ak::Color ColorOfValue(int value) {
    return {((value >> 16) & 0xFF) / 255.0, ((value >> 8) & 0xFF) / 255.0, (value & 0xFF) / 255.0,
            1};
}

int ValueOfColor(const ak::Color& color) {
    return Channel(color.red) << 16 | Channel(color.green) << 8 | Channel(color.blue);
}

FontRequest FontRequestOf(const LOGFONT& font) {
    FontRequest request;
    request.family.assign(font.lfFaceName, strnlen(font.lfFaceName, sizeof font.lfFaceName));
    request.size = font.lfHeight > 0   ? font.lfHeight
                   : font.lfHeight < 0 ? -double(font.lfHeight)
                                       : font.lfWidth;
    request.bold = font.lfWeight >= kBoldFrom;
    request.italic = font.lfItalic != 0;
    return request;
}

bool ApplyChosenFont(LOGFONT& font, const FontRequest& asked, const std::string& family,
                     double size, bool bold, bool italic) {
    static_assert(sizeof(LOGFONT) >= kComparedBytes);
    LOGFONT before;
    std::memcpy(&before, &font, sizeof font);
    const LONG rounded = LONG(std::lround(size));
    if (rounded != LONG(std::lround(asked.size))) {
        font.lfHeight = rounded;
        font.lfWidth = 0;
    }
    std::memset(font.lfFaceName, 0, sizeof font.lfFaceName);
    std::memcpy(font.lfFaceName, family.data(),
                std::min(family.size(), sizeof font.lfFaceName - 1));
    font.lfItalic = italic ? 1 : 0;
    font.lfWeight = bold ? kBold : kNormal;
    return std::memcmp(&before, &font, kComparedBytes) != 0;
}

} // namespace winlayer
