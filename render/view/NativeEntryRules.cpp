#include "render/view/NativeEntryRules.h"

#include <cmath>
#include <cstdio>

namespace vx::ui {

std::u32string AcceptedEntryCharacters(int paramType) {
    switch (paramType) {
    case 1:
    case 2:
    case 3:
        return U"0123456789-+";
    case 4:
        return U"0123456789.-+";
    default:
        return {};
    }
}

std::string NativeMenuItemTitle(const char* text, int prefixKind, int index) {
    static constexpr const char* kFormats[] = {"%1d: ", "%02d: ", "%03d: "};
    std::string title;
    if (prefixKind >= 1 && prefixKind <= 3) {
        char prefix[32];
        std::snprintf(prefix, sizeof prefix, kFormats[prefixKind - 1], index + 1);
        title = prefix;
    }
    return title + (text ? text : "");
}

int ColorComponentByte(double component) {
    // b / 255 * 255 may land a hair below b; truncating that would lose one.
    const double scaled = component * 255.0 + 1e-7;
    if (!(scaled > 0))
        return 0;
    return scaled >= 255 ? 255 : int(std::trunc(scaled));
}

} // namespace vx::ui
