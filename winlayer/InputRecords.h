#pragma once

#include "winlayer/WinTypes.h"

#include <cstddef>
#include <cstdint>
#include <optional>

// The messages and records a window view sends for painting, input and its
// controls' notifications, and the pure arithmetic that fills them.

inline constexpr UINT WM_ACTIVATEAPP = 0x001C;
inline constexpr UINT WM_SETCURSOR = 0x0020;
inline constexpr UINT WM_GETOBJECT = 0x003D;
inline constexpr UINT WM_NOTIFY = 0x004E;
inline constexpr UINT WM_NCPAINT = 0x0085;
inline constexpr UINT WM_NCMOUSEMOVE = 0x00A0;
inline constexpr UINT WM_NCLBUTTONDOWN = 0x00A1;
inline constexpr UINT WM_HSCROLL = 0x0114;
inline constexpr UINT WM_CTLCOLORBTN = 0x0135;
inline constexpr UINT WM_MOUSEMOVE = 0x0200;
inline constexpr UINT WM_LBUTTONDOWN = 0x0201;
inline constexpr UINT WM_LBUTTONUP = 0x0202;
inline constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
inline constexpr UINT WM_RBUTTONDOWN = 0x0204;
inline constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
inline constexpr UINT WM_MBUTTONDOWN = 0x0207;
inline constexpr UINT WM_MBUTTONUP = 0x0208;
inline constexpr UINT WM_MBUTTONDBLCLK = 0x0209;
inline constexpr int HTCLIENT = 1;
inline constexpr int IDOK = 1;
// A key handler's answer that lets the key go on to the platform.
inline constexpr LRESULT kPassKeyOn = 69;

// Notification codes of WM_COMMAND's high word and of WM_NOTIFY.
inline constexpr int BN_CLICKED = 0;
inline constexpr int CBN_SELCHANGE = 1;
inline constexpr int LBN_DBLCLK = 2;
inline constexpr int CBN_EDITCHANGE = 5;
inline constexpr int CBN_DROPDOWN = 7;
inline constexpr int CBN_CLOSEUP = 8;
inline constexpr int EN_SETFOCUS = 0x100;
inline constexpr int EN_KILLFOCUS = 0x200;
inline constexpr int NM_DBLCLK = -3;
inline constexpr int NM_CUSTOMDRAW = -12;
inline constexpr int LVN_ITEMCHANGED = -101;
inline constexpr int LVN_COLUMNCLICK = -108;
inline constexpr int TVN_SELCHANGED = -402;
inline constexpr int TVN_ITEMEXPANDING = -405;
inline constexpr std::uint32_t CDDS_ITEMPREPAINT = 0x10001;

inline constexpr std::uint32_t GF_BEGIN = 1;
inline constexpr std::uint32_t GF_END = 4;
inline constexpr std::uint32_t GID_ZOOM = 3;
inline constexpr std::uint32_t GID_PAN = 4;
inline constexpr std::uint32_t GID_ROTATE = 5;

struct POINTS {
    std::int16_t x;
    std::int16_t y;
};

struct GESTUREINFO {
    std::uint32_t cbSize;
    std::uint32_t dwFlags;
    std::uint32_t dwID;
    HWND hwndTarget;
    POINTS ptsLocation;
    std::uint32_t dwInstanceID;
    std::uint32_t dwSequenceID;
    std::uint64_t ullArguments;
    std::uint32_t cbExtraArgs;
};
static_assert(sizeof(GESTUREINFO) == 56 && offsetof(GESTUREINFO, hwndTarget) == 16 &&
              offsetof(GESTUREINFO, ptsLocation) == 24 &&
              offsetof(GESTUREINFO, ullArguments) == 40 &&
              offsetof(GESTUREINFO, cbExtraArgs) == 48);

struct MSG {
    HWND hwnd;
    std::uint32_t message;
    WPARAM wParam;
    LPARAM lParam;
    std::uint32_t time;
    POINT pt;
};
static_assert(sizeof(MSG) == 48 && offsetof(MSG, wParam) == 16 && offsetof(MSG, time) == 32 &&
              offsetof(MSG, pt) == 36);

struct NMHDR {
    HWND hwndFrom;
    std::uint64_t idFrom;
    std::int32_t code;
};
static_assert(sizeof(NMHDR) == 24);

struct NMLISTVIEW {
    NMHDR hdr;
    std::int32_t iItem;
    std::int32_t iSubItem;
    std::uint32_t uNewState;
    std::uint32_t uOldState;
    std::uint32_t uChanged;
    POINT ptAction;
    std::int64_t lParam;
};
static_assert(sizeof(NMLISTVIEW) == 64 && offsetof(NMLISTVIEW, ptAction) == 44 &&
              offsetof(NMLISTVIEW, lParam) == 56);

struct TVITEM {
    std::uint32_t mask;
    void* hItem;
    std::uint32_t state;
    std::uint32_t stateMask;
    char* pszText;
    std::int32_t cchTextMax;
    std::int32_t iImage;
    std::int32_t iSelectedImage;
    std::int32_t cChildren;
    std::int64_t lParam;
};
static_assert(sizeof(TVITEM) == 56 && offsetof(TVITEM, pszText) == 24 &&
              offsetof(TVITEM, lParam) == 48);

struct NMTREEVIEW {
    NMHDR hdr;
    std::uint32_t action;
    TVITEM itemOld;
    TVITEM itemNew;
    POINT ptDrag;
};
static_assert(sizeof(NMTREEVIEW) == 152 && offsetof(NMTREEVIEW, itemOld) == 32 &&
              offsetof(NMTREEVIEW, itemNew) == 88 && offsetof(NMTREEVIEW, ptDrag) == 144);

// Owner drawing: WM_DRAWITEM (wParam the control id) to the control's parent.
inline constexpr UINT WM_DRAWITEM = 0x002B;
inline constexpr UINT ODT_LISTBOX = 2;
inline constexpr UINT ODT_BUTTON = 4;
struct DRAWITEMSTRUCT {
    std::uint32_t CtlType;
    std::uint32_t CtlID;
    std::uint32_t itemID;
    std::uint32_t itemAction;
    std::uint32_t itemState;
    void* hwndItem;
    void* hDC; // HDC
    RECT rcItem;
    std::uint64_t itemData;
};
static_assert(sizeof(DRAWITEMSTRUCT) == 64 && offsetof(DRAWITEMSTRUCT, hwndItem) == 24 &&
              offsetof(DRAWITEMSTRUCT, rcItem) == 40 && offsetof(DRAWITEMSTRUCT, itemData) == 56);

struct NMCUSTOMDRAW {
    NMHDR hdr;
    std::uint32_t dwDrawStage;
    void* hdc;
    RECT rc;
    std::uint64_t dwItemSpec;
    std::uint32_t uItemState;
};
static_assert(sizeof(NMCUSTOMDRAW) == 72 && offsetof(NMCUSTOMDRAW, hdc) == 32 &&
              offsetof(NMCUSTOMDRAW, rc) == 40 && offsetof(NMCUSTOMDRAW, dwItemSpec) == 56);

struct NMLVCUSTOMDRAW {
    NMCUSTOMDRAW nmcd;
    std::int32_t clrText;
    std::int32_t clrTextBk;
    std::int32_t iSubItem;
};
static_assert(offsetof(NMLVCUSTOMDRAW, clrText) == 72 && offsetof(NMLVCUSTOMDRAW, iSubItem) == 80);

namespace winlayer {

// floor(v + 0.5), clamped to the int range; NaN gives 0.
int RoundCoordinate(double value);
// (y << 16) | (x & 0xFFFF) of the rounded coordinates, sign-extended from 32 bits.
LPARAM PackClientPoint(double x, double y);
// A command's wParam: (code << 16) | (id & 0xFFFF).
WPARAM CommandParam(int code, std::int64_t id);

// The wheel's wParam: trunc(delta × 60) (delta rounded to single precision
// first, clamped to ±32767) in the high 16 bits, sign-extended from 32 bits;
// nothing for a delta that rounds to 0 or is not finite.
std::optional<WPARAM> WheelParam(double delta);

// The end arguments of the gestures.
std::uint64_t ZoomArgument(double magnification);
std::uint64_t RotateArgument(double degrees);
// A swipe's end point: moved a view's width or height in the swipe's direction.
POINT SwipeLocation(POINT start, double width, double height, double deltaX, double deltaY);
// A screen coordinate as the gesture record holds it.
std::int16_t GestureCoordinate(double value);

// BeginPaint's rectangle: the paint rectangle rounded, its far edges no
// further than the client rectangle's.
RECT PaintRectangle(double x, double y, double width, double height, const RECT& client);

} // namespace winlayer
