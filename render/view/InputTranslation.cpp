#include "render/view/InputTranslation.h"

#include <cstring>
#include <utility>

namespace vx::ui {

namespace {

constexpr uint32_t kShiftFlag = 0x20000;
constexpr uint32_t kControlFlag = 0x40000;
constexpr uint32_t kOptionFlag = 0x80000;
constexpr uint32_t kCommandFlag = 0x100000;

constexpr std::pair<unsigned, int> kKeyTable[] = {
    {51, 8},    {65, 110},  {67, 106},  {69, 107},  {71, 144},  {75, 111},  {76, 0x800D},
    {78, 109},  {81, 108},  {82, 96},   {83, 97},   {84, 98},   {85, 99},   {86, 100},
    {87, 101},  {88, 102},  {89, 103},  {91, 104},  {92, 105},  {96, 116},  {97, 117},
    {98, 118},  {99, 114},  {100, 119}, {101, 120}, {103, 122}, {105, 124}, {106, 127},
    {107, 125}, {109, 121}, {111, 123}, {113, 126}, {114, 45},  {115, 36},  {116, 33},
    {117, 46},  {118, 115}, {119, 35},  {120, 113}, {121, 34},  {122, 112}, {123, 37},
    {124, 39},  {125, 40},  {126, 38},
};

// The first code point and the number of code points of UTF-8 text.
std::pair<char32_t, int> FirstCodePoint(const std::string& text, size_t* firstLength) {
    char32_t first = 0;
    int count = 0;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead < 0x80 ? 1 : lead >> 5 == 6 ? 2 : lead >> 4 == 14 ? 3 : 4;
        if (count == 0) {
            first = length == 1 ? lead : lead & (0x7F >> length);
            for (size_t k = 1; k < length && i + k < text.size(); ++k)
                first = first << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3F);
            *firstLength = std::min(length, text.size() - i);
        }
        ++count;
        i += length;
    }
    return {first, count};
}

} // namespace

int VirtualKeyOfKeyCode(unsigned keyCode) {
    for (const auto& [code, vk] : kKeyTable)
        if (code == keyCode)
            return vk;
    return 0;
}

IKeyPress TranslateKey(unsigned keyCode, const std::string& chars, uint32_t modifierFlags) {
    bool shift = modifierFlags & kShiftFlag;
    const bool command = modifierFlags & kCommandFlag;
    size_t firstLength = 0;
    const auto [first, count] = FirstCodePoint(chars, &firstLength);

    int code = VirtualKeyOfKeyCode(keyCode);
    bool virtualKey = code != 0;
    if (!virtualKey) {
        if (count == 0) {
            code = int(keyCode) + 1024;
            virtualKey = true;
        } else if (first >= 0xF704 && first <= 0xF71B) {
            code = 112 + int(first - 0xF704);
            virtualKey = true;
        } else {
            char32_t c = first;
            if (c >= 'a' && c <= 'z')
                c -= 'a' - 'A';
            if (c == 25 && command)
                c = 9;
            code = int(c);
            const bool alnum = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z');
            virtualKey = alnum || c == 9 || c == 10 || c == 13 || c == 27 || c == 32;
            if (!virtualKey)
                shift = false;
        }
    }

    IKeyPress key;
    key.VK = virtualKey ? code : 0;
    if (count == 1)
        std::memcpy(key.utf8, chars.data(), firstLength);
    key.S = shift;
    key.C = command;
    key.A = modifierFlags & kOptionFlag;
    return key;
}

IMouseMod LeftMouseMod(uint32_t modifierFlags) {
    IMouseMod mod;
    mod.L = true;
    mod.R = modifierFlags & kCommandFlag;
    mod.S = modifierFlags & kShiftFlag;
    mod.C = modifierFlags & kControlFlag;
    mod.A = modifierFlags & kOptionFlag;
    return mod;
}

IMouseMod RightMouseMod(uint32_t modifierFlags) {
    IMouseMod mod = LeftMouseMod(modifierFlags);
    mod.L = false;
    mod.R = true;
    return mod;
}

} // namespace vx::ui
