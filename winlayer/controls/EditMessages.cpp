#include "winlayer/controls/EditMessages.h"
#include "winlayer/draw/GdiText.h"

#include <algorithm>
#include <cstdint>

namespace winlayer {

std::pair<int, int> EditSelectionFor(int size, WPARAM start, LPARAM end) {
    const auto wanted = static_cast<std::int64_t>(start);
    if (wanted < 0)
        return {0, 0};
    const int from = int(std::min<std::int64_t>(wanted, size));
    const int to = int(end < 0 ? size : std::min<std::int64_t>(end, size));
    return {from, std::max(0, to - from)};
}

void WriteEditSelection(std::pair<int, int> startAndLength, WPARAM startOut, LPARAM endOut) {
    if (auto* out = reinterpret_cast<std::int32_t*>(startOut))
        *out = startAndLength.first;
    if (auto* out = reinterpret_cast<std::int32_t*>(endOut))
        *out = startAndLength.first + startAndLength.second;
}

void SetFontFromHandle(ak::Control& control, HFONT font) {
    if (const ak::Font* platformFont = WISP_FontHandleToCTFont(font))
        control.SetFont(*platformFont);
}

} // namespace winlayer
