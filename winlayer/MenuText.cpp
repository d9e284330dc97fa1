#include "winlayer/MenuText.h"

#include "platform/sys/Utf8.h"

#include <cctype>
#include <strings.h>

namespace winlayer {

namespace {

constexpr size_t kMaxLabelBytes = 1023;
constexpr char32_t kUp = 0xF700, kDown = 0xF701, kLeft = 0xF702, kRight = 0xF703;
constexpr char32_t kF1 = 0xF704, kInsert = 0xF727, kDelete = 0xF728, kHome = 0xF729;
constexpr char32_t kEnd = 0xF72B, kPageUp = 0xF72C, kPageDown = 0xF72D;

bool Is(const std::string& a, const char* b) {
    return strcasecmp(a.c_str(), b) == 0;
}

bool StartsWith(const std::string& a, const char* prefix) {
    return strncasecmp(a.c_str(), prefix, std::char_traits<char>::length(prefix)) == 0;
}

// Names that are only words for mouse gestures or lone modifiers: they
// name no key.
bool NamesNoKey(const std::string& name) {
    for (const char* word :
         {"Click", "(Click)", "Doubleclick", "(Doubleclick)", "Ctrl", "Alt", "Shift", "Win"})
        if (Is(name, word))
            return true;
    return false;
}

char32_t KeyOfName(const std::string& name, uint32_t& modifiers) {
    if (name.size() >= 2 && (name[0] == 'F' || name[0] == 'f') &&
        name.find_first_not_of("0123456789", 1) == std::string::npos && name.size() <= 3) {
        const int n = std::stoi(name.substr(1));
        if (n >= 1 && n <= 24)
            return kF1 + char32_t(n - 1);
    }
    if (!name.empty() && name[0] >= '0' && name[0] <= '9')
        return char32_t(name[0]);
    if (Is(name, "Up"))
        return kUp;
    if (Is(name, "Down"))
        return kDown;
    if (Is(name, "Left"))
        return kLeft;
    if (Is(name, "Right"))
        return kRight;
    if (StartsWith(name, "Del"))
        return kDelete;
    if (StartsWith(name, "Back"))
        return 8;
    if (Is(name, "Home"))
        return kHome;
    if (Is(name, "End"))
        return kEnd;
    if (Is(name, "PageDown") || Is(name, "PgDn"))
        return kPageDown;
    if (Is(name, "PageUp") || Is(name, "PgUp"))
        return kPageUp;
    if (name == "-" || name == "+" || name == ",")
        return char32_t(name[0]);
    if (Is(name, "Enter") || Is(name, "Return"))
        return 13;
    if (Is(name, "Tab"))
        return 9;
    if (StartsWith(name, "Esc"))
        return 27;
    if (name.size() == 1 && name[0] >= 'A' && name[0] <= 'Z') {
        if (modifiers & MenuModifier::Shift) {
            modifiers &= ~MenuModifier::Shift;
            return char32_t(name[0]);
        }
        return char32_t(name[0] - 'A' + 'a');
    }
    return 0;
}

} // namespace

std::string LabelOf(const std::string& title) {
    std::string label;
    for (size_t i = 0; i < title.size(); ++i) {
        if (title[i] == '&' && ++i >= title.size())
            break;
        label += title[i];
    }
    return label;
}

MenuKey ParseAccelerator(const std::string& accelerator) {
    std::string rest = accelerator;
    for (;;) {
        uint32_t modifiers = 0;
        for (bool more = true; more;) {
            more = false;
            for (const auto& [prefix, bit] :
                 {std::pair{"Ctrl+", MenuModifier::Command},
                  std::pair{"Alt+", MenuModifier::Option}, std::pair{"Shift+", MenuModifier::Shift},
                  std::pair{"Win+", MenuModifier::Control}})
                if (StartsWith(rest, prefix)) {
                    modifiers |= bit;
                    rest.erase(0, std::char_traits<char>::length(prefix));
                    more = true;
                }
        }
        const size_t cut = rest.rfind(',', 0) == 0 ? 1 : rest.find_first_of(" ,");
        const std::string name = rest.substr(0, cut);
        const bool cutAtComma =
            cut != std::string::npos && cut < rest.size() && rest[cut] == ',' && name != ",";
        if (StartsWith(name, "Ins")) {
            // "Ins, Ctrl+I": the key after the comma is the one bound.
            if (cutAtComma) {
                const size_t next = rest.find_first_not_of(' ', cut + 1);
                if (next != std::string::npos) {
                    rest = rest.substr(next);
                    continue;
                }
            }
            return {kInsert, modifiers};
        }
        if (NamesNoKey(name))
            return {};
        const char32_t key = KeyOfName(name, modifiers);
        return key ? MenuKey{key, modifiers} : MenuKey{};
    }
}

MenuText ParseMenuText(const std::string& text, bool readAccelerator) {
    MenuText parsed;
    const size_t tab = text.find('\t');
    parsed.title = text.substr(0, std::min(tab, kMaxLabelBytes));
    parsed.label = LabelOf(parsed.title);
    if (tab != std::string::npos && readAccelerator) {
        parsed.key = ParseAccelerator(text.substr(tab + 1));
        parsed.hasAccelerator = parsed.key.key != 0;
    }
    return parsed;
}

MenuKey KeyFromAccelerator(int key, int flags) {
    constexpr int kVirtual = 0x1, kShift = 0x4, kControl = 0x8, kAlt = 0x10, kWin = 0x20;
    MenuKey result;
    if (flags & kControl)
        result.modifiers |= MenuModifier::Command;
    if (flags & kAlt)
        result.modifiers |= MenuModifier::Option;
    if (flags & kWin)
        result.modifiers |= MenuModifier::Control;
    const bool letter = key >= 'A' && key <= 'Z';
    if ((flags & kShift) && !letter)
        result.modifiers |= MenuModifier::Shift;
    if (letter) {
        result.key = (flags & kShift) ? char32_t(key) : char32_t(key - 'A' + 'a');
        return result;
    }
    if ((key >= '0' && key <= '9') || key == ' ' ||
        (!(flags & kVirtual) && key >= 33 && key <= 126)) {
        result.key = char32_t(key);
        return result;
    }
    if (key >= 112 && key <= 135)
        result.key = kF1 + char32_t(key - 112);
    else if (key == 8 || key == 9 || key == 13 || key == 27)
        result.key = char32_t(key);
    else if (key == 33)
        result.key = kPageUp;
    else if (key == 34)
        result.key = kPageDown;
    else if (key == 35)
        result.key = kEnd;
    else if (key == 36)
        result.key = kHome;
    else if (key == 37)
        result.key = kLeft;
    else if (key == 38)
        result.key = kUp;
    else if (key == 39)
        result.key = kRight;
    else if (key == 40)
        result.key = kDown;
    else if (key == 45)
        result.key = kInsert;
    else if (key == 46)
        result.key = 127;
    else if (key == 109)
        result.key = '-';
    else
        return {};
    return result;
}

AkKeyBinding AkBindingOf(const MenuKey& key) {
    static const std::pair<char32_t, const char*> kNames[] = {
        {kUp, "Up"},          {kDown, "Down"},          {kLeft, "Left"},  {kRight, "Right"},
        {kInsert, "Insert"},  {kDelete, "Delete"},      {kHome, "Home"},  {kEnd, "End"},
        {kPageUp, "Page_Up"}, {kPageDown, "Page_Down"}, {8, "BackSpace"}, {9, "Tab"},
        {13, "Return"},       {27, "Escape"},           {127, "Delete"},
    };
    if (key.key == 0)
        return {};
    if (key.key >= kF1 && key.key < kF1 + 24)
        return {"F" + std::to_string(key.key - kF1 + 1), key.modifiers};
    for (const auto& [code, name] : kNames)
        if (code == key.key)
            return {name, key.modifiers};
    if (key.key >= 'A' && key.key <= 'Z')
        return {std::string(1, char(key.key - 'A' + 'a')), key.modifiers | MenuModifier::Shift};
    return {sys::Utf32ToUtf8(std::u32string(1, key.key)), key.modifiers};
}

} // namespace winlayer
