#pragma once

#include "winlayer/InputRecords.h"
#include "winlayer/WinTypes.h"

#include <cstddef>
#include <cstdint>

// Records, styles and messages of the list view and list box control. The
// item-state bits differ from Win32's: 0x1 selected, 0x2 current row.

inline constexpr UINT LVIF_TEXT = 0x1;
inline constexpr UINT LVIF_IMAGE = 0x2;
inline constexpr UINT LVIF_PARAM = 0x4;
inline constexpr UINT LVIF_STATE = 0x8;
inline constexpr UINT LVIS_SELECTED = 0x1;
inline constexpr UINT LVIS_FOCUSED = 0x2;
inline constexpr UINT LVIS_STATEIMAGEMASK = 0xFF0000;

inline constexpr UINT LVCF_FMT = 0x1;
inline constexpr UINT LVCF_WIDTH = 0x2;
inline constexpr UINT LVCF_TEXT = 0x4;

inline constexpr int LVS_REPORT = 0x0001;
inline constexpr int LBS_SORT = 0x0002;
inline constexpr int LVS_SINGLESEL = 0x0004;
inline constexpr int LVS_SORTASCENDING = 0x0010;
inline constexpr int LBS_OWNERDRAWFIXED = 0x0010;
inline constexpr int LVS_SORTDESCENDING = 0x0020;
inline constexpr int LBS_EXTENDEDSEL = 0x0800;
inline constexpr int LVS_OWNERDATA = 0x1000;
inline constexpr int LVS_NOCOLUMNHEADER = 0x4000;
inline constexpr int LVS_NOSORTHEADER = 0x8000;

namespace winlayer {
// Style bit 31: a control of a control list starts hidden.
inline constexpr int kHiddenStyle = static_cast<int>(0x80000000u);
} // namespace winlayer

inline constexpr UINT LVNI_SELECTED = 1;
inline constexpr UINT LVNI_FOCUSED = 2;

inline constexpr int NM_CLICK = -2;
inline constexpr int NM_RCLICK = -5;
inline constexpr int LVN_BEGINDRAG = -109;
inline constexpr int LVN_GETDISPINFO = -150;

inline constexpr UINT WM_SETREDRAW = 0x000B;
inline constexpr UINT LB_ADDSTRING = 0x0180;
inline constexpr UINT LB_INSERTSTRING = 0x0181;
inline constexpr UINT LB_DELETESTRING = 0x0182;
// The text of a row; Win32 numbers this one 0x189.
inline constexpr UINT LB_GETTEXT_WISP = 0x0183;
inline constexpr UINT LB_RESETCONTENT = 0x0184;
inline constexpr UINT LB_SETSEL = 0x0185;
inline constexpr UINT LB_SETCURSEL = 0x0186;
inline constexpr UINT LB_GETSEL = 0x0187;
inline constexpr UINT LB_GETCURSEL = 0x0188;
inline constexpr UINT LB_GETTEXTLEN = 0x018A;
inline constexpr UINT LB_GETCOUNT = 0x018B;
inline constexpr UINT LB_GETSELCOUNT = 0x0190;
inline constexpr UINT LB_GETITEMDATA = 0x0199;
inline constexpr UINT LB_SETITEMDATA = 0x019A;
inline constexpr UINT LB_FINDSTRINGEXACT = 0x01A2;

inline constexpr UINT HDI_FORMAT = 0x4;
inline constexpr int HDF_SORTDOWN = 0x200;
inline constexpr int HDF_SORTUP = 0x400;

struct LVITEM {
    UINT mask;
    int iItem;
    int iSubItem;
    UINT state;
    UINT stateMask;
    char* pszText;
    int cchTextMax;
    int iImage;
    LPARAM lParam;
};
static_assert(sizeof(LVITEM) == 48 && offsetof(LVITEM, pszText) == 24 &&
              offsetof(LVITEM, lParam) == 40);

struct NMLVDISPINFO {
    NMHDR hdr;
    LVITEM item;
};

struct LVCOLUMN {
    UINT mask;
    int fmt;
    int cx;
    char* pszText;
    int cchTextMax;
    int iSubItem;
    int iImage;
    int iOrder;
};

struct LVHITTESTINFO {
    POINT pt;
    UINT flags;
    int iItem;
    int iSubItem;
};

struct HDITEM {
    UINT mask;
    int cxy;
    char* pszText;
    void* hbm;
    int cchTextMax;
    int fmt;
    LPARAM lParam;
};

using PFNLVCOMPARE = int (*)(LPARAM, LPARAM, LPARAM);
