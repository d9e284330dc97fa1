#pragma once

#include <cstdint>
#include <string>

namespace ak {

// The UTF-8 text a key symbol stands for, with the platform's characters for
// the keys that type none: function keys 0xF700-0xF746, Return 13, keypad
// Enter 3, back-tab 25, Backspace 127, Escape 27. Empty for pure modifiers.
std::string KeyText(uint32_t keysym);

// The character the current keyboard layout gives a macOS key code without
// modifiers, or 0.
char32_t LayoutCharacter(uint16_t macKeyCode);

} // namespace ak
