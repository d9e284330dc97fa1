#include "winlayer/DrawTextLayout.h"

#include "winlayer/GdiText.h"
#include "winlayer/WinBasics.h"

#include "platform/sys/Utf8.h"

#include <cstring>

namespace winlayer {

namespace {

constexpr size_t kMaxTextBytes = 4095;

// A cut that would split a UTF-8 sequence backs off to its lead byte.
size_t CutOnCharacter(const char* text, size_t available) {
    if (available <= kMaxTextBytes)
        return available;
    size_t cut = kMaxTextBytes;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    return cut;
}

} // namespace

std::vector<std::string> DrawTextLines(const char* text, int length, bool noPrefix,
                                       bool singleLine) {
    if (!text)
        return {};
    const size_t available = length < 0 ? std::strlen(text) : strnlen(text, size_t(length));
    const size_t size = CutOnCharacter(text, available);
    std::string kept;
    for (size_t i = 0; i < size; ++i) {
        char c = text[i];
        if (c == '&' && !noPrefix) {
            if (++i >= size)
                break;
            c = text[i];
        }
        if (c == '\r')
            continue;
        kept += c == '\n' && singleLine ? ' ' : c;
    }
    if (kept.empty())
        return {};
    const std::string utf8 = WISP_CStringToCFString(kept.c_str());
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = utf8.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(utf8.substr(start, end - start));
    lines.push_back(utf8.substr(start));
    return lines;
}

TextOrigin DrawTextOrigin(int left, int top, int right, int bottom, int width, int result,
                          unsigned flags) {
    TextOrigin origin{left, top};
    if (flags & DT_RIGHT)
        origin.x += (right - left) - width;
    else if (flags & DT_CENTER)
        origin.x += (right - left) / 2 - width / 2;
    if (flags & DT_BOTTOM)
        origin.y += (bottom - top) - result;
    else if (flags & DT_VCENTER)
        origin.y += (bottom - top) / 2 - result / 2;
    return origin;
}

} // namespace winlayer
