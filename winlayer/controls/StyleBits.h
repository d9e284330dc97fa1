#pragma once

#include "winlayer/WindowApi.h"

namespace winlayer {

inline constexpr int WS_GROUP = 0x20000;
inline constexpr int WS_HSCROLL_STYLE = 0x100000;
inline constexpr int WS_VSCROLL_STYLE = 0x200000;

// The Button class: kinds in the low four bits, and three high bits that
// ask for a group box, a default push button or a push button.
inline constexpr int BS_AUTOCHECKBOX = 3;
inline constexpr int BS_AUTO3STATE = 6;
inline constexpr int BS_AUTORADIOBUTTON = 9;
inline constexpr int BS_OWNERDRAW = 11;
inline constexpr int BS_LEFTTEXT = 0x20;
inline constexpr int BS_BITMAP = 0x80;
inline constexpr int BS_LEFT = 0x100;
inline constexpr int BS_CENTER = 0x300;
inline constexpr int BS_KIND_GROUPBOX = 0x20000000;
inline constexpr int BS_KIND_DEFPUSH = 0x10000000;
inline constexpr int BS_KIND_PUSH = 0x08000000;
inline constexpr int BS_KIND_MASK = 0x38000000;

inline constexpr int SS_CENTER = 1;
inline constexpr int SS_RIGHT = 2;
inline constexpr int SS_BLACKRECT = 4;
inline constexpr int SS_LEFTNOWORDWRAP = 12;
inline constexpr int SS_NOTIFY = 0x100;
inline constexpr int SS_ETCHEDHORZ = 16;
inline constexpr int SS_ETCHEDVERT = 17;
inline constexpr int SS_ETCHEDFRAME = 18;

inline constexpr int ES_CENTER = 1;
inline constexpr int ES_RIGHT = 2;
inline constexpr int ES_PASSWORD = 0x20;
inline constexpr int ES_READONLY = 0x800;

inline constexpr int CBS_DROPDOWNLIST = 3;
inline constexpr int CBS_SORT = 0x100;

HWND MakeButtonClass(const char* caption, int id, int style, int x, int y, int w, int h);
HWND MakeStaticClass(const char* caption, int id, int style, int x, int y, int w, int h);

} // namespace winlayer
