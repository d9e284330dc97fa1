#pragma once

#include "winlayer/WindowApi.h"

#include "platform/ak/Geometry.h"

#include <memory>

// HMENU handles over ak menus: each is one reference to an ak::Menu. Items
// carry command ids as tags; a choice reaches the menu's destination.
// Main thread.

namespace ak {
class Menu;
class View;
} // namespace ak

inline constexpr UINT WM_INITMENUPOPUP = 0x0117;

inline constexpr UINT MIIM_ID = 0x1;
inline constexpr UINT MIIM_STATE = 0x2;
inline constexpr UINT MIIM_TYPE = 0x4;
inline constexpr UINT MIIM_SUBMENU = 0x8;
inline constexpr UINT MIIM_DATA = 0x10;
inline constexpr UINT MIIM_NOACCELERATOR = 0x40000000;

inline constexpr UINT MF_GRAYED = 0x1;
inline constexpr UINT MF_DISABLED = 0x2;
inline constexpr UINT MF_BITMAP = 0x4;
inline constexpr UINT MF_CHECKED = 0x8;
inline constexpr UINT MF_POPUP = 0x10;
inline constexpr UINT MF_SEPARATOR = 0x800;
inline constexpr UINT MFT_STRING = 0;
inline constexpr UINT MFT_BITMAP = 0x4;
inline constexpr UINT MFT_RADIOCHECK = 0x200;
inline constexpr UINT MFT_SEPARATOR = 0x800;
inline constexpr UINT MFS_GRAYED = 0x3;
inline constexpr UINT MFS_CHECKED = 0x8;
inline constexpr UINT TPM_NONOTIFY = 0x80;
inline constexpr UINT TPM_RETURNCMD = 0x100;

// Where a menu's choices go.
class MenuDestination {
public:
    virtual ~MenuDestination() = default;
    virtual void OnMenuCommand(int commandId) = 0;
    // A submenu about to open.
    virtual void OnMenuWillShow(HMENU) {}
};

HMENU CreatePopupMenu();
HMENU CreatePopupMenuEx(const char* title);
void DestroyMenu(HMENU menu);
HMENU GetSubMenu(HMENU menu, int position);
int AddMenuItem(HMENU menu, int position, const char* text, int id);
void WISP_Menu_AddMenuItem(HMENU menu, const char* text, int id, int grayed);
BOOL WISP_InsertMenu(HMENU menu, int item, int flags, UINT_PTR idOrSubmenu, const char* text);
BOOL SetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFO* info);
BOOL SetMenuItemText(HMENU menu, int item, int flags, const char* text);
BOOL EnableMenuItem(HMENU menu, int item, int flags);
BOOL CheckMenuItem(HMENU menu, int item, int flags);
BOOL SetMenuItemModifier(HMENU menu, int item, int flags, int key, int acceleratorFlags);
BOOL TrackPopupMenu(HMENU menu, int flags, int x, int y, int reserved, HWND window);
HMENU GetMenu(HWND window);
void WISP_SetCurrentMenu(HMENU menu);
void DrawMenuBar(HWND window);

namespace winlayer {

inline ak::Menu* AkMenu(HMENU menu) {
    return reinterpret_cast<ak::Menu*>(menu);
}
inline HMENU HandleOf(ak::Menu* menu) {
    return reinterpret_cast<HMENU>(menu);
}

// Routes the menu's choices and its submenus' openings to the destination
// (null: nowhere); the items hold it.
void RouteMenu(HMENU menu, std::shared_ptr<MenuDestination> destination);

// Shows a popup for a view at a point of it and waits for the choice; the
// window hears WM_INITMENUPOPUP and WM_COMMAND through its destination.
// Answers as TrackPopupMenu does.
int TrackPopupMenuIn(HMENU menu, int flags, ak::View* view, ak::Point inView,
                     std::shared_ptr<MenuDestination> window);

} // namespace winlayer
