// Keys of the in-panel text entry: commands, the parameter's character filter
// and the codes handed to the editing engine.
#include "framework/IParam.h"
#include "platform/sys/Utf8.h"
#include "toolkit/ICanvas.h"
#include "toolkit/IKeyPress.h"
#include "toolkit/ITextEntryControl.h"

#include <cstring>
#include <string_view>

namespace vx::ui {

namespace {

enum VirtualKey : int {
    kVKTab = 9,
    kVKReturn = 13,
    kVKEscape = 27,
    kVKSpace = 32,
    kVKPageUp = 33,
    kVKPageDown = 34,
    kVKKeypad0 = 96,
    kVKKeypad9 = 105,
};

// The one character of the key's text; 0 when it has none.
char32_t KeyCharacter(const IKeyPress& key) {
    const std::string_view utf8(key.utf8, strnlen(key.utf8, sizeof(key.utf8)));
    if (utf8.empty())
        return 0;
    // Lead bytes of the old five- and six-byte forms.
    if (static_cast<unsigned char>(utf8[0]) >= 0xF8 && static_cast<unsigned char>(utf8[0]) <= 0xFD)
        return U'_';
    char32_t c = 0;
    sys::DecodeUtf8(utf8, 0, c);
    return c;
}

bool IsDigitKey(const IKeyPress& key) {
    return (key.VK >= '0' && key.VK <= '9' && !key.S) ||
           (key.VK >= kVKKeypad0 && key.VK <= kVKKeypad9);
}

// Whether the parameter's type lets the character in.
bool Accepts(const IParam* param, const IKeyPress& key, char32_t c) {
    if (!param)
        return true;
    switch (param->Type()) {
    case IParam::kTypeBool:
    case IParam::kTypeInt:
    case IParam::kTypeEnum:
        return IsDigitKey(key) || c == U'+' || c == U'-';
    case IParam::kTypeDouble:
        return IsDigitKey(key) || c == U'+' || c == U'-' || c == U'.';
    default:
        return true;
    }
}

bool IsSpecialKey(int vk) {
    switch (vk) {
    case 8:  // Backspace
    case 35: // End
    case 36: // Home
    case 37: // Left
    case 38: // Up
    case 39: // Right
    case 40: // Down
    case 46: // Delete
        return true;
    default:
        return false;
    }
}

} // namespace

uint32_t ITextEntryControl::FilteredKeyCode(const IKeyPress& key, char32_t c) const {
    const IControl* edited = graphics ? graphics->GetControlInTextEntry() : nullptr;
    if (!edited)
        return 0;
    const uint32_t special = textkey::kSpecial | static_cast<uint32_t>(key.VK & 0xFFFF);
    if (c == 0 || !Accepts(edited->GetParam(0), key, c))
        return special;
    return static_cast<uint32_t>(c);
}

bool ITextEntryControl::OnKeyDown(float, float, const IKeyPress& key) {
    if (key.C && key.VK >= 'A' && key.VK <= 'Z') {
        switch (key.VK) {
        case 'A':
            SelectAll();
            return true;
        case 'C':
            CopySelection();
            return true;
        case 'V':
            Paste();
            return true;
        case 'X':
            CutSelection();
            return true;
        case 'Z':
            Changed(engine.Key(key.S ? textkey::kRedo : textkey::kUndo));
            return true;
        default:
            break; // other letters insert nothing: the control bit suppresses text
        }
    }
    const char32_t c = KeyCharacter(key);
    uint32_t code = 0;
    if (IsSpecialKey(key.VK)) {
        code = textkey::kSpecial | static_cast<uint32_t>(key.VK);
    } else {
        switch (key.VK) {
        case kVKPageUp:
        case kVKPageDown:
            return false; // a single line has no pages
        case kVKReturn:
            CommitEdit();
            return true;
        case kVKEscape:
            CancelEdit();
            return true;
        case kVKTab:
            return false;
        case kVKSpace:
            code = U' ';
            break;
        default:
            code = FilteredKeyCode(key, c);
            if (code == 0)
                return false;
            break;
        }
    }
    // A character the edit's rule changes goes in as text; one it refuses
    // (or one past its length) not at all.
    if (!(code & textkey::kSpecial) && !key.C) {
        const std::u32string typed(1, static_cast<char32_t>(code));
        const std::u32string in = Admitted(typed, true);
        if (in.empty())
            return true;
        if (in != typed) {
            Changed(engine.Paste(in));
            return true;
        }
    }
    if (key.C)
        code |= textkey::kControl;
    if (key.A)
        code |= textkey::kAlt;
    if (key.S)
        code |= textkey::kShift;
    return Changed(engine.Key(code));
}

} // namespace vx::ui
