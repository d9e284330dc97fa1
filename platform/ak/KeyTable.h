#pragma once

#include <cstdint>
#include <span>

namespace ak {

struct KeyCodePair {
    uint16_t xKeycode;
    uint16_t macKeyCode;
};

// Every X keycode (evdev numbering + 8) that has a macOS virtual key code, by
// the key's position on a US ANSI keyboard. Modifier keys follow the roles
// they play here: Ctrl is Command, Super is Control, Alt is Option.
std::span<const KeyCodePair> MacKeyCodeTable();

// The macOS key code of an X keycode; a key with none answers 256 + keycode.
uint16_t MacKeyCodeFromX(uint32_t xKeycode);

// The X keycode of a macOS key code (the first in the table), or 0.
uint32_t XKeycodeFromMac(uint16_t macKeyCode);

} // namespace ak
