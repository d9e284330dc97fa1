#pragma once

#include "winlayer/WinTypes.h"

// Windows, dialogs, controls, menus and messages of the windowing layer, as
// the application shell and the plug-in object call them. The ini functions,
// Sleep and WISP_GetOSXVersion are in PrivateProfile.h and WinBasics.h.

struct HMENU__;
using HMENU = HMENU__*;
using DLGPROC = INT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

// Messages.
inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_INITDIALOG = 0x0110;
inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT CB_GETCURSEL = 0x0147;
inline constexpr UINT CB_GETLBTEXT = 0x0148;
inline constexpr UINT CB_GETLBTEXTLEN = 0x0149;
inline constexpr UINT CB_ADDSTRING = 0x0143;
inline constexpr UINT CB_RESETCONTENT = 0x014B;
inline constexpr UINT CB_SETCURSEL = 0x014E;
inline constexpr UINT CB_GETITEMDATA = 0x0150;
inline constexpr UINT CB_SETITEMDATA = 0x0151;
inline constexpr UINT CB_FINDSTRINGEXACT = 0x0158;
inline constexpr int CB_ERR = -1;

inline constexpr int SW_SHOW = 2;
inline constexpr int SM_CXSCREEN = 0;
inline constexpr int SM_CYSCREEN = 1;
inline constexpr UINT MB_OK = 0;
inline constexpr UINT MF_BYCOMMAND = 0;
inline constexpr UINT MF_BYPOSITION = 0x400;

// The application controller's calls into the shell's handler.
inline constexpr int WISP_APP_LOAD = 1;
inline constexpr int WISP_APP_LOADED = 2;
inline constexpr int WISP_APP_DESTROY = 3;
inline constexpr int WISP_APP_MENU_COMMAND = 153;
inline constexpr int WISP_APP_KEY_EVENT = 256;
using AppMessageHandlerFunc = INT_PTR (*)(int message, INT_PTR param1, INT_PTR param2);

struct DialogResourceRecord {
    std::int64_t resourceId;
    const char* title;
    int flags;
    void (*creator)(HWND view, int flags);
    int width;
    int height;
    DialogResourceRecord* next;
};

struct MenuResourceRecord {
    std::int64_t resourceId;
    HMENU (*creator)(HMENU menu);
    MenuResourceRecord* next;
};

// One control of a dialog built from a list; type "__WISP_BUTTON",
// "__WISP_COMBO", "__WISP_LABEL" or "__WISP_GROUP"; flag 1 marks the default button.
struct DialogControlListEntry {
    const char* type;
    const char* text;
    int id;
    int x;
    int y;
    int width;
    int height;
    int flags;
};

// "/.BO^O:" + title opens a submenu, "EN%%%^:" closes it, a null text is a
// separator; other entries are items (flags non-zero: grayed).
struct MenuListEntry {
    const char* text;
    std::uint16_t id;
    std::uint16_t flags;
};

struct MENUITEMINFO {
    UINT cbSize;
    UINT fMask;
    UINT fType;
    UINT fState;
    UINT wID;
    HMENU hSubMenu;
    void* hbmpChecked;
    void* hbmpUnchecked;
    UINT_PTR dwItemData;
    char* dwTypeData;
    UINT cch;
};

int MessageBox(HWND owner, const char* text, const char* title, UINT flags);
BOOL GetClientRect(HWND window, RECT* rect);
BOOL GetWindowRect(HWND window, RECT* rect);
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);
int GetSystemMetrics(int index);
BOOL ShowWindow(HWND window, int command);
BOOL DestroyWindow(HWND window);
HWND GetDlgItem(HWND dialog, int controlId);
LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL EndDialog(HWND dialog, INT_PTR result);

int WISP_DialogBox(DialogResourceRecord* resources, int resourceId, HWND parent, DLGPROC proc,
                   LPARAM param);
HWND WISP_CreateDialog(DialogResourceRecord* resources, int resourceId, HWND parent, DLGPROC proc,
                       LPARAM param);
// Scale and parent for the next dialog built from a control list.
void WISP_MakeSetCurParms(float xScale, float yScale, float xOffset, float yOffset,
                          void* parentView);
void WISP_GenerateDialogFromList(const DialogControlListEntry* list, int count);
int WISP_GenerateMenuFromList(HMENU menu, const MenuListEntry* list, int count);

HMENU WISP_GetCurrentMenu();
HMENU WISP_DuplicateMenu(HMENU menu);
HMENU WISP_LoadMenu(MenuResourceRecord* resources, int resourceId);
int GetMenuItemCount(HMENU menu);
HMENU GetSubMenu(HMENU menu, int position);
BOOL GetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFO* info);
BOOL InsertMenuItem(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFO* info);
BOOL DeleteMenu(HMENU menu, UINT item, UINT flags);
UINT GetMenuItemID(HMENU menu, int position);
BOOL SetMenu(HWND window, HMENU menu);
void WISP_SetDefaultModalWindowMenu(HMENU menu);
void WISP_PostQuitMessage(HWND window);

// Flags: 1 virtual key; higher bits shift, control and alternate.
int WISP_MacKeyToWindowsKey(const void* platformEvent, int* flags);
