#include "winlayer/window/MenuSlots.h"

#include "winlayer/MessageQueue.h"
#include "winlayer/window/WindowCalls.h"

namespace {

// Main thread only, like every window call.
HMENU g_defaultWindowMenu = nullptr;
HMENU g_defaultModalMenu = nullptr;
HMENU g_currentMenu = nullptr;

} // namespace

HMENU WISP_GetDefaultWindowMenu() {
    return g_defaultWindowMenu;
}

void WISP_SetDefaultWindowMenu(HMENU menu) {
    g_defaultWindowMenu = menu;
}

HMENU WISP_GetDefaultModalWindowMenu() {
    return g_defaultModalMenu;
}

void WISP_SetDefaultModalWindowMenu(HMENU menu) {
    g_defaultModalMenu = menu;
}

HMENU WISP_GetCurrentMenu() {
    return g_currentMenu;
}

namespace winlayer {

HMENU DefaultWindowMenu() {
    return g_defaultWindowMenu;
}

HMENU DefaultModalWindowMenu() {
    return g_defaultModalMenu;
}

void SetCurrentMenu(HMENU menu) {
    if (!IsQuitting())
        g_currentMenu = menu;
}

void ForgetMenu(HMENU menu) {
    if (g_currentMenu == menu && !IsQuitting())
        g_currentMenu = nullptr;
    WISP_SetMenuDestination(menu, nullptr);
}

} // namespace winlayer
