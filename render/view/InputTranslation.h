#pragma once

// Platform events to the toolkit's key and mouse records: pure rules.

#include "toolkit/IKeyPress.h"
#include "toolkit/IMouse.h"

#include <cstdint>
#include <string>

namespace vx::ui {

// The Win32 virtual-key code of a platform key code, 0 when the table has none.
int VirtualKeyOfKeyCode(unsigned keyCode);
// keyCode and the key's characters without modifiers (UTF-8) under the
// platform's modifier flags.
IKeyPress TranslateKey(unsigned keyCode, const std::string& charactersIgnoringModifiers,
                       uint32_t modifierFlags);
// A left-button record; Command makes it a right click as well.
IMouseMod LeftMouseMod(uint32_t modifierFlags);
IMouseMod RightMouseMod(uint32_t modifierFlags);
// Odd counts press, even counts double-click.
inline bool ClickCountIsDouble(int clickCount) {
    return clickCount > 0 && clickCount % 2 == 0;
}

} // namespace vx::ui
