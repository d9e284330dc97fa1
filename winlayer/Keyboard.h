#pragma once

#include "winlayer/WinTypes.h"

#include <cstdint>
#include <string>

// Key events as Win32 virtual keys with accelerator flags, and the key state.
// Main thread.

inline constexpr int FVIRTKEY = 0x01;
inline constexpr int FSHIFT = 0x04;
inline constexpr int FCONTROL = 0x08;
inline constexpr int FALT = 0x10;
inline constexpr int FWINCONTROL = 0x20;
inline constexpr int FEXTENDED = 0x1000000;

// event: an ak::Event (null: the event being dispatched). mode 1 prefers the
// typed characters and the keyboard layout.
int WISP_MacKeyToWindowsKeyEx(const void* event, int* flags, int mode);
int WISP_KeyToASCII(int key, int flags, int* newFlags);
short GetAsyncKeyState(int virtualKey);
int WISP_KeyboardLayoutChar(int macKeyCode);

namespace winlayer {

// What a key event carries, for the translation.
struct KeyInput {
    uint16_t keyCode = 0;
    std::string characters;
    std::string charactersIgnoringModifiers;
    uint32_t modifierFlags = 0; // ak::ModifierFlag bits
};

struct TranslatedKey {
    int key;
    int flags;
    bool operator==(const TranslatedKey&) const = default;
};

// layoutChar: the layout's character for the key code (mode 1 only), 0 for none.
TranslatedKey TranslateKey(const KeyInput& input, bool rightClickEmulation, int mode,
                           char16_t layoutChar);

} // namespace winlayer
