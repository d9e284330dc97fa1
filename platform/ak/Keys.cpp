#include "platform/ak/Keys.h"

#include "platform/ak/Event.h"
#include "platform/ak/KeyTable.h"

#include <gdk/gdk.h>

#include <array>

namespace ak {

namespace {

struct SpecialKey {
    guint keysym;
    char32_t character;
};

constexpr std::array<SpecialKey, 42> kSpecialKeys = {{
    {GDK_KEY_Return, 13},
    {GDK_KEY_KP_Enter, 3},
    {GDK_KEY_ISO_Enter, 13},
    {GDK_KEY_Tab, 9},
    {GDK_KEY_KP_Tab, 9},
    {GDK_KEY_ISO_Left_Tab, 25},
    {GDK_KEY_BackSpace, 127},
    {GDK_KEY_Escape, 27},
    {GDK_KEY_Up, FunctionKey::Up},
    {GDK_KEY_KP_Up, FunctionKey::Up},
    {GDK_KEY_Down, FunctionKey::Down},
    {GDK_KEY_KP_Down, FunctionKey::Down},
    {GDK_KEY_Left, FunctionKey::Left},
    {GDK_KEY_KP_Left, FunctionKey::Left},
    {GDK_KEY_Right, FunctionKey::Right},
    {GDK_KEY_KP_Right, FunctionKey::Right},
    {GDK_KEY_Insert, FunctionKey::Insert},
    {GDK_KEY_KP_Insert, FunctionKey::Insert},
    {GDK_KEY_Delete, FunctionKey::Delete},
    {GDK_KEY_KP_Delete, FunctionKey::Delete},
    {GDK_KEY_Home, FunctionKey::Home},
    {GDK_KEY_KP_Home, FunctionKey::Home},
    {GDK_KEY_Begin, FunctionKey::Begin},
    {GDK_KEY_KP_Begin, FunctionKey::Begin},
    {GDK_KEY_End, FunctionKey::End},
    {GDK_KEY_KP_End, FunctionKey::End},
    {GDK_KEY_Page_Up, FunctionKey::PageUp},
    {GDK_KEY_KP_Page_Up, FunctionKey::PageUp},
    {GDK_KEY_Page_Down, FunctionKey::PageDown},
    {GDK_KEY_KP_Page_Down, FunctionKey::PageDown},
    {GDK_KEY_Print, FunctionKey::PrintScreen},
    {GDK_KEY_Scroll_Lock, FunctionKey::ScrollLock},
    {GDK_KEY_Pause, FunctionKey::Pause},
    {GDK_KEY_Sys_Req, FunctionKey::SysReq},
    {GDK_KEY_Break, FunctionKey::Break},
    {GDK_KEY_Menu, FunctionKey::Menu},
    {GDK_KEY_Select, FunctionKey::Select},
    {GDK_KEY_Execute, FunctionKey::Execute},
    {GDK_KEY_Undo, FunctionKey::Undo},
    {GDK_KEY_Redo, FunctionKey::Redo},
    {GDK_KEY_Find, FunctionKey::Find},
    {GDK_KEY_Help, FunctionKey::Help},
}};

char32_t KeyCharacter(guint keysym) {
    if (keysym >= GDK_KEY_F1 && keysym <= GDK_KEY_F35)
        return FunctionKey::F1 + (keysym - GDK_KEY_F1);
    for (const auto& special : kSpecialKeys)
        if (special.keysym == keysym)
            return special.character;
    return gdk_keyval_to_unicode(keysym);
}

std::string Utf8(char32_t c) {
    char buffer[8] = {};
    const int length = g_unichar_to_utf8(c, buffer);
    return std::string(buffer, static_cast<size_t>(length));
}

} // namespace

std::string KeyText(uint32_t keysym) {
    const char32_t c = KeyCharacter(keysym);
    return c ? Utf8(c) : std::string();
}

char32_t LayoutCharacter(uint16_t macKeyCode) {
    const uint32_t xKeycode = macKeyCode >= 256 ? macKeyCode - 256u : XKeycodeFromMac(macKeyCode);
    GdkDisplay* display = gdk_display_get_default();
    if (!xKeycode || !display)
        return 0;
    guint keysym = 0;
    if (!gdk_keymap_translate_keyboard_state(gdk_keymap_get_for_display(display), xKeycode,
                                             GdkModifierType(0), 0, &keysym, nullptr, nullptr,
                                             nullptr))
        return 0;
    return gdk_keyval_to_unicode(keysym);
}

} // namespace ak
