#include "app/ShellResources.h"

#include "app/PreferencesDialogList.h"
#include "app/ShellIds.h"

#include <array>

namespace shell {

namespace {

constexpr int kNoSizeToFitFlag = 1 << 3;
constexpr float kPreferencesScale = 1.5f;

void BuildPreferences(HWND view, int flags) {
    WISP_MakeSetCurParms(view, 0, !(flags & kNoSizeToFitFlag), kPreferencesScale, kPreferencesScale,
                         0, 0);
    WISP_GenerateDialogFromList(kPreferencesControls.data(), int(kPreferencesControls.size()));
}

void BuildMainWindow(HWND view, int flags) {
    WISP_MakeSetCurParms(view, 0, !(flags & kNoSizeToFitFlag), 1.f, 1.f, 0, 0);
    WISP_GenerateDialogFromList(nullptr, 0);
}

// File, Device and Help; Linux has no application menu to copy, so the bar
// is this resource itself.
constexpr std::array<MenuListEntry, 15> kMainMenuList{{
    {"/.BO^O:&File", 0, 0},
    {"&Preferences...\tCtrl+,", kCmdPreferences, 0},
    {"&Quit\tCtrl+Q", kCmdQuit, 0},
    {"EN%%%^:", 0, 0},
    {"/.BO^O:&Device", 0, 0},
    {"&Update Firmware...", kCmdUpdateFirmware, 0},
    {"&Global Settings...", kCmdGlobalSettings, 0},
    {"&Rebuild Local Library", kCmdRebuildLibrary, 0},
    {"Re&store Bank...", kCmdRestoreBank, 0},
    {"&Back Up Bank...", kCmdBackUpBank, 0},
    {"EN%%%^:", 0, 0},
    {"/.BO^O:&Help", 0, 0},
    {"&About", kCmdAbout, 0},
    {"&Read Manual", kCmdReadManual, 0},
    {"EN%%%^:", 0, 0},
}};

HMENU BuildMainMenu(HMENU menu) {
    WISP_GenerateMenuFromList(menu, kMainMenuList.data(), int(kMainMenuList.size()));
    return menu;
}

DialogResourceRecord g_preferences{
    kPreferencesDialog, "Preferences", 12, &BuildPreferences, 334, 463, nullptr};
DialogResourceRecord g_mainWindow{
    kMainWindowDialog, "OmnarControl", 28, &BuildMainWindow, 300, 300, nullptr};
MenuResourceRecord g_mainMenu{kMainMenu, &BuildMainMenu, nullptr};

DialogResourceRecord* g_dialogs = nullptr;
MenuResourceRecord* g_menus = nullptr;

} // namespace

void RegisterResources() {
    if (g_dialogs)
        return;
    g_preferences.next = g_dialogs;
    g_mainWindow.next = &g_preferences;
    g_dialogs = &g_mainWindow;
    g_mainMenu.next = g_menus;
    g_menus = &g_mainMenu;
}

DialogResourceRecord* DialogResources() {
    return g_dialogs;
}

MenuResourceRecord* MenuResources() {
    return g_menus;
}

} // namespace shell
