#include "winlayer/Keyboard.h"

#include "winlayer/Runtime.h"
#include "winlayer/WindowApi.h"

#include "platform/ak/Application.h"
#include "platform/ak/Event.h"
#include "platform/ak/Keys.h"
#include "platform/sys/Utf8.h"

#include <cctype>

namespace winlayer {

namespace {

struct KeyRow {
    uint16_t macCode;
    uint8_t virtualKey;
    bool extended;
};

// Keys whose virtual key the platform's characters do not tell.
constexpr KeyRow kKeyTable[] = {
    {51, 8, false},    {65, 110, false},  {67, 106, false},  {69, 107, false},  {71, 144, false},
    {75, 111, false},  {76, 13, true},    {78, 109, false},  {81, 108, false},  {82, 96, false},
    {83, 97, false},   {84, 98, false},   {85, 99, false},   {86, 100, false},  {87, 101, false},
    {88, 102, false},  {89, 103, false},  {91, 104, false},  {92, 105, false},  {96, 116, false},
    {97, 117, false},  {98, 118, false},  {99, 114, false},  {100, 119, false}, {101, 120, false},
    {103, 122, false}, {105, 124, false}, {106, 127, false}, {107, 125, false}, {109, 121, false},
    {111, 123, false}, {113, 126, false}, {114, 45, true},   {115, 36, true},   {116, 33, true},
    {117, 46, true},   {118, 115, false}, {119, 35, true},   {120, 113, false}, {121, 34, true},
    {122, 112, false}, {123, 37, true},   {124, 39, true},   {125, 40, true},   {126, 38, true},
};

constexpr char16_t kFunctionKeyFirst = 0xF704; // F1
constexpr char16_t kFunctionKeyLast = 0xF71B;  // F24
constexpr char16_t kBackTab = 25;

int ModifierBits(uint32_t flags, bool rightClickEmulation) {
    int bits = 0;
    if (flags & ak::ModifierFlag::Shift)
        bits |= FSHIFT;
    if (flags & ak::ModifierFlag::Command)
        bits |= FCONTROL;
    if (flags & ak::ModifierFlag::Option)
        bits |= FALT;
    if ((flags & ak::ModifierFlag::Control) && !rightClickEmulation)
        bits |= FWINCONTROL;
    return bits;
}

char16_t FirstUtf16Unit(const std::string& utf8) {
    char32_t c = 0;
    if (utf8.empty() || sys::DecodeUtf8(utf8, 0, c) == 0)
        return 0;
    return c > 0xFFFF ? char16_t(0xD800 + ((c - 0x10000) >> 10)) : char16_t(c);
}

} // namespace

TranslatedKey TranslateKey(const KeyInput& input, bool rightClickEmulation, int mode,
                           char16_t layoutChar) {
    const int modifiers = ModifierBits(input.modifierFlags, rightClickEmulation);
    for (const KeyRow& row : kKeyTable)
        if (row.macCode == input.keyCode)
            return {row.virtualKey, modifiers | FVIRTKEY | (row.extended ? FEXTENDED : 0)};
    const std::string& text = mode == 1 && !input.characters.empty()
                                  ? input.characters
                                  : input.charactersIgnoringModifiers;
    const char16_t c = FirstUtf16Unit(text);
    if (c == 0) {
        if (mode == 1 && layoutChar)
            return {layoutChar, modifiers};
        return {input.keyCode + 1024, modifiers | FVIRTKEY};
    }
    if (c >= kFunctionKeyFirst && c <= kFunctionKeyLast)
        return {c - 0xF694, modifiers | FVIRTKEY};
    int key = c;
    if (key >= 'a' && key <= 'z')
        key -= 'a' - 'A';
    else if (key == kBackTab && (modifiers & FSHIFT))
        key = '\t';
    if (key <= 255 && std::isalnum(key))
        return {key, modifiers | FVIRTKEY};
    // Back-tab without Shift stays a virtual key, as Tab is.
    if (key == 9 || key == 10 || key == 13 || key == 27 || key == 32 || key == kBackTab)
        return {key, modifiers | FVIRTKEY};
    return {key, modifiers};
}

} // namespace winlayer

int WISP_MacKeyToWindowsKeyEx(const void* event, int* flags, int mode) {
    const auto* key = static_cast<const ak::Event*>(event);
    if (!key)
        if (ak::Application* app = ak::Application::Shared())
            key = app->CurrentEvent();
    if (!key)
        return 0;
    const winlayer::KeyInput input{key->keyCode, key->characters, key->charactersIgnoringModifiers,
                                   key->modifierFlags};
    const char16_t layout =
        mode == 1 ? static_cast<char16_t>(WISP_KeyboardLayoutChar(key->keyCode)) : 0;
    const auto translated =
        winlayer::TranslateKey(input, winlayer::RightClickEmulation(), mode, layout);
    if (flags)
        *flags = translated.flags;
    return translated.key;
}

int WISP_MacKeyToWindowsKey(const void* event, int* flags) {
    if (!event)
        return 0;
    return WISP_MacKeyToWindowsKeyEx(event, flags, 0);
}

int WISP_KeyToASCII(int key, int flags, int* newFlags) {
    // What Shift types on the digit keys of a US keyboard.
    static constexpr char kShiftedDigits[] = ")!@#$%^&*(";
    if (key < '0' || key > '9' || flags != (FVIRTKEY | FSHIFT))
        return 0;
    if (newFlags)
        *newFlags = 0;
    return kShiftedDigits[key - '0'];
}

short GetAsyncKeyState(int virtualKey) {
    const ak::Application* app = ak::Application::Shared();
    if (!app)
        return 0;
    const uint32_t buttons = app->PressedMouseButtons();
    const uint32_t modifiers = app->ModifierFlags();
    bool down = false;
    switch (virtualKey) {
    case 1:
        down = buttons & 1;
        break;
    case 2:
        down = buttons & 2;
        break;
    case 4:
        down = buttons & 4;
        break;
    case 16:
        down = modifiers & ak::ModifierFlag::Shift;
        break;
    case 17:
        down = modifiers & ak::ModifierFlag::Command;
        break;
    case 18:
        down = modifiers & ak::ModifierFlag::Option;
        break;
    case 91:
        down = (modifiers & ak::ModifierFlag::Control) && !winlayer::RightClickEmulation();
        break;
    default:
        break;
    }
    return down ? static_cast<short>(0x8000) : 0;
}

int WISP_KeyboardLayoutChar(int macKeyCode) {
    if (macKeyCode < 0 || macKeyCode > 0xFFFF || !ak::Application::Shared())
        return 0;
    const char32_t c = ak::LayoutCharacter(static_cast<uint16_t>(macKeyCode));
    return c > 0xFFFF ? 0xD800 + int((c - 0x10000) >> 10) : int(c);
}
