#pragma once

#include "winlayer/WindowApi.h"

// The dialog-control creators and the calls on combo boxes and trackbars.
// Creators take dialog units placed by WISP_MakeSetCurParms and return the
// new control, held by its parent view; main thread only.

HWND WISP_MakeButton(int isDefault, const char* caption, int id, int x, int y, int w, int h,
                     int style);
HWND WISP_MakeEditField(int id, int x, int y, int w, int h, int style);
HWND WISP_MakeLabel(int alignment, const char* caption, int id, int x, int y, int w, int h,
                    int style);
HWND WISP_MakeCheckBox(const char* caption, int id, int x, int y, int w, int h, int style);
HWND WISP_MakeListBox(int id, int x, int y, int w, int h, int style);
HWND WISP_MakeGroupBox(const char* caption, int id, int x, int y, int w, int h, int style);
HWND WISP_MakeCombo(int id, int x, int y, int w, int h, int style);
// A control of a Win32 class ("Button", "Static", "Edit", "COMBOBOX",
// "SysTabControl32", "msctls_progress32", "msctls_trackbar32" ...), or one a
// registered creator makes first; null for an unknown class.
HWND WISP_MakeControl(const char* caption, int id, const char* className, int style, int x, int y,
                      int w, int h, int exStyle);

// Gets the parent view, caption, id, class name, style and the frame in points.
using CustomControlCreator = HWND (*)(HWND parent, const char* caption, int id,
                                      const char* className, int style, int x, int y, int w, int h);
void WISP_RegisterCustomControlCreator(CustomControlCreator creator);
void WISP_UnregisterCustomControlCreator(CustomControlCreator creator);

// Text views lose (non-zero) or regain their context menu; one-line fields
// never show one. Other windows ignore it.
void WISP_DisableContextMenu(HWND window, BOOL disable);

BOOL WISP_IsGroupBox(HWND window);
BOOL WISP_IsButton(HWND window);

int WISP_CB_AddString(HWND window, int id, const char* text);
int WISP_CB_GetNumItems(HWND window, int id);
int WISP_CB_GetCurSel(HWND window, int id);

namespace winlayer {
// Puts the control, combo, trackbar, tab, common-dialog, clipboard and shell
// calls into the name table.
void AddControlApiNames();
} // namespace winlayer
