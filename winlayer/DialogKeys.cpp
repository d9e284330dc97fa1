#include "winlayer/DialogKeys.h"

#include "winlayer/Keyboard.h"

namespace winlayer {
namespace {

constexpr int kEscape = 27;
constexpr int kReturn = 13;

bool CommandAlone(int flags) {
    return (flags & ~FVIRTKEY) == FCONTROL;
}

} // namespace

DialogKey ChooseDialogKey(int key, int flags, KeyFocus focus) {
    const bool text = focus != KeyFocus::Other;
    if (CommandAlone(flags) && text) {
        if (key == 'C')
            return DialogKey::Copy;
        if (key == 'X')
            return DialogKey::Cut;
        if (key == 'V')
            return DialogKey::Paste;
    }
    if (key == kEscape && (flags & ~(FSHIFT | FVIRTKEY)) == 0) {
        const bool shift = (flags & FSHIFT) != 0;
        if (text && (shift || focus == KeyFocus::MultiLineText))
            return DialogKey::DropFocus;
        return DialogKey::Cancel;
    }
    if (CommandAlone(flags) && key == 'W')
        return DialogKey::Cancel;
    // The keypad's Enter reports its flag above the low byte and counts too.
    if (key == kReturn && (flags & 0xFF & ~FVIRTKEY) == 0 && focus != KeyFocus::MultiLineText)
        return DialogKey::DefaultButton;
    return DialogKey::PassOn;
}

} // namespace winlayer
