#pragma once

#include <cstdint>
#include <string>

namespace winlayer {

// Platform modifier bits of a key equivalent (Ctrl+ gives Command).
namespace MenuModifier {
constexpr uint32_t Shift = 0x20000;
constexpr uint32_t Control = 0x40000;
constexpr uint32_t Option = 0x80000;
constexpr uint32_t Command = 0x100000;
} // namespace MenuModifier

// A key equivalent as the platform writes it: a character (function keys
// 0xF700-0xF72D) and modifier bits; key 0 is none.
struct MenuKey {
    char32_t key = 0;
    uint32_t modifiers = 0;
    bool operator==(const MenuKey&) const = default;
};

struct MenuText {
    std::string title; // up to the tab, '&' mnemonics kept
    std::string label; // the title as it reads: "&File" -> "File", "&&" -> "&"
    bool hasAccelerator = false;
    MenuKey key;
};

// An item text "label\taccelerator": the accelerator is read unless
// readAccelerator is false (the label is still cut at the tab).
MenuText ParseMenuText(const std::string& text, bool readAccelerator = true);
std::string LabelOf(const std::string& title);
MenuKey ParseAccelerator(const std::string& accelerator);

// A Win32 accelerator (virtual key or character, FVIRTKEY/FSHIFT/FCONTROL/
// FALT/0x20 flags) as a key equivalent.
MenuKey KeyFromAccelerator(int key, int acceleratorFlags);

// How ak binds a key equivalent: a character or key name, and modifiers
// (an upper-case letter is the lower-case one with Shift).
struct AkKeyBinding {
    std::string key;
    uint32_t modifiers = 0;
    bool operator==(const AkKeyBinding&) const = default;
};
AkKeyBinding AkBindingOf(const MenuKey& key);

} // namespace winlayer
