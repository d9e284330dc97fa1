#pragma once

#include "winlayer/WindowApi.h"

// The tab control's calls and the progress bar's messages.

struct TCITEM {
    UINT mask;
    UINT dwState;
    UINT dwStateMask;
    char* pszText;
    int cchTextMax;
    int iImage;
    LPARAM lParam;
};

inline constexpr UINT TCIF_TEXT = 0x1;
inline constexpr int TCN_SELCHANGE = -551;
inline constexpr UINT PBM_SETRANGE = 0x401;
inline constexpr UINT PBM_SETPOS = 0x402;
inline constexpr UINT PBM_DELTAPOS = 0x403;

int TabCtrl_GetItemCount(HWND tabs);
// Inserting never reports a selection change; answers the index used, -1
// for a bad handle or an item without text.
int TabCtrl_InsertItem(HWND tabs, int index, const TCITEM* item);
BOOL TabCtrl_DeleteItem(HWND tabs, int index);
// 0 also when no tab is selected.
int TabCtrl_GetCurSel(HWND tabs);
// Answers the previous selection; selecting reports TCN_SELCHANGE.
int TabCtrl_SetCurSel(HWND tabs, int index);
// larger FALSE: window to display area; TRUE: the reverse.
BOOL TabCtrl_AdjustRect(HWND tabs, BOOL larger, RECT* rect);

namespace winlayer {
// The display area inside a tab control's rectangle, or the reverse.
RECT AdjustTabRect(RECT rect, bool larger);
} // namespace winlayer
