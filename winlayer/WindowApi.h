#pragma once

#include "winlayer/WinTypes.h"

// Windows, dialogs, controls, menus and messages of the windowing layer, as
// the application shell and the plug-in object call them. The ini functions,
// Sleep and WISP_GetOSXVersion are in PrivateProfile.h and WinBasics.h.

struct HMENU__;
using HMENU = HMENU__*;
using DLGPROC = INT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

// Messages.
inline constexpr UINT WM_CREATE = 0x0001;
inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_MOVE = 0x0003;
inline constexpr UINT WM_SIZE = 0x0005;
inline constexpr UINT WM_ACTIVATE = 0x0006;
inline constexpr UINT WM_SETFOCUS = 0x0007;
inline constexpr UINT WM_KILLFOCUS = 0x0008;
inline constexpr UINT WM_PAINT = 0x000F;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_ERASEBKGND = 0x0014;
inline constexpr UINT WM_SHOWWINDOW = 0x0018;
inline constexpr UINT WM_MOUSEACTIVATE = 0x0021;
inline constexpr UINT WM_CONTEXTMENU = 0x007B;
inline constexpr UINT WM_NCDESTROY = 0x0082;
inline constexpr UINT WM_NCCALCSIZE = 0x0083;
inline constexpr UINT WM_NCHITTEST = 0x0084;
inline constexpr UINT WM_NCRBUTTONUP = 0x00A5;
inline constexpr UINT WM_RBUTTONUP = 0x0205;
inline constexpr UINT WM_MOUSEWHEEL = 0x020A;
inline constexpr UINT WM_MOUSEHWHEEL = 0x020E;
inline constexpr UINT WM_CAPTURECHANGED = 0x0215;
inline constexpr UINT WM_CTLCOLORDLG = 0x0136;
inline constexpr UINT BM_GETCHECK = 0x00F0;
inline constexpr UINT BM_SETCHECK = 0x00F1;
inline constexpr UINT BM_GETIMAGE = 0x00F6;
inline constexpr UINT BM_SETIMAGE = 0x00F7;
inline constexpr UINT EN_CHANGE = 0x0300;
inline constexpr int IDCANCEL = 2;
// The answer to WM_INITDIALOG that gives the dialog view itself the focus.
inline constexpr INT_PTR kFocusDialogItself = 0xBEEF;

// Window-long indices.
inline constexpr int GWL_OWNER = -25;
inline constexpr int GWL_USERDATA = -21;
inline constexpr int GWL_EXSTYLE = -20;
inline constexpr int GWL_STYLE = -16;
inline constexpr int GWL_ID = -12;
inline constexpr int GWL_DLGPROC = -8;
inline constexpr int GWL_WNDPROC = -4;
inline constexpr std::int64_t WS_VISIBLE = 0x02000000;
inline constexpr std::int64_t WS_CHILD = 0x40000000;
inline constexpr std::int64_t WS_CAPTION = 0xC00000;
inline constexpr std::int64_t WS_THICKFRAME = 0x40000;

// SetWindowPos flags of this layer: 1 keeps the position, 2 the size, 4 the
// stacking order.
inline constexpr UINT SWP_KEEPPOSITION = 1;
inline constexpr UINT SWP_KEEPSIZE = 2;
inline constexpr UINT SWP_NOZORDER = 4;
inline constexpr UINT WM_INITDIALOG = 0x0110;
inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT CB_GETCURSEL = 0x0147;
inline constexpr UINT CB_GETLBTEXT = 0x0148;
inline constexpr UINT CB_GETLBTEXTLEN = 0x0149;
inline constexpr UINT CB_ADDSTRING = 0x0143;
inline constexpr UINT CB_DELETESTRING = 0x0144;
inline constexpr UINT CB_GETCOUNT = 0x0146;
inline constexpr UINT CB_INSERTSTRING = 0x014A;
inline constexpr UINT CB_FINDSTRING = 0x014C;
inline constexpr UINT TBM_GETPOS = 0x0400;
inline constexpr UINT TBM_SETTIC = 0x0404;
inline constexpr UINT TBM_SETPOS = 0x0405;
inline constexpr UINT TBM_SETRANGE = 0x0406;
inline constexpr UINT CB_RESETCONTENT = 0x014B;
inline constexpr UINT CB_SETCURSEL = 0x014E;
inline constexpr UINT CB_GETITEMDATA = 0x0150;
inline constexpr UINT CB_SETITEMDATA = 0x0151;
inline constexpr UINT CB_FINDSTRINGEXACT = 0x0158;
inline constexpr int CB_ERR = -1;

inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOW = 2;
inline constexpr int SM_CXSCREEN = 0;
inline constexpr int SM_CYSCREEN = 1;
inline constexpr UINT MB_OK = 0;
inline constexpr UINT MF_BYCOMMAND = 0;
inline constexpr UINT MF_BYPOSITION = 0x400;

// The application controller's calls into the shell's handler.
inline constexpr int AppMsg_Load = 1;
inline constexpr int AppMsg_Launched = 2;
inline constexpr int AppMsg_Destroy = 3;
inline constexpr int AppMsg_QueryTerminate = 4;
inline constexpr int AppMsg_OpenFile = 80;
inline constexpr int AppMsg_OpenUntitled = 81;
inline constexpr int AppMsg_QueryOpenUntitled = 82;
inline constexpr int AppMsg_MenuCommand = 153;
// param1: a MSG*, param2: the platform key event; above 0 consumes the key.
inline constexpr int AppMsg_KeyEvent = 256;
inline constexpr int AppMsg_Activate = 4096;
using AppMessageHandlerFunc = INT_PTR (*)(int message, INT_PTR param1, INT_PTR param2);

// Runs the application with the shell's handler: 0 once it has terminated,
// 1 without a display (before AppMsg_Load). The arguments are not read.
int WISP_ApplicationMain(int argc, char** argv, AppMessageHandlerFunc handler);
// Sends the message to the content view of every application window.
void WISP_BroadcastMessage(UINT message, WPARAM wParam, LPARAM lParam);
// For AppMsg_KeyEvent: whether a key's view is a text view, and handing it a key-down.
BOOL WISP_IsTextView(HWND view);
void WISP_DeliverKeyDown(HWND view, const void* platformEvent);

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

// One control of a dialog built from a list. type: "__WISP_BUTTON",
// "__WISP_EDIT", "__WISP_COMBO", "__WISP_LISTBOX", "__WISP_GROUP",
// "__WISP_CHECKBOX", "__WISP_LABEL", "__WISP_ICON", or for any other control
// its caption, with the id in flag, the class name in text, the style in id
// and the extended style in style. flag: 1 marks the default button; a
// label's alignment (negative left, 0 centred, positive right).
struct DialogControlListEntry {
    const char* type;
    int flag;
    const char* text;
    int id;
    int x;
    int y;
    int w;
    int h;
    int style;
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
// Parent, layout flags, scale and offsets for the controls created next;
// coordinates are dialog units, scales points per unit.
void WISP_MakeSetCurParms(HWND parent, int autoShift, int sizeToFit, float xScale, float yScale,
                          float xOffset, float yOffset);
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
