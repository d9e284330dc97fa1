#pragma once

#include "platform/ak/Control.h"
#include "winlayer/WindowApi.h"
#include "winlayer/draw/Gdi.h"

#include <utility>

// The messages edit fields answer, and the selection rules they share.

namespace winlayer {

inline constexpr UINT WM_SETFONT = 0x30;
inline constexpr UINT EM_GETSEL = 0xF0B0;
inline constexpr UINT EM_SETSEL = 0xF0B1;
inline constexpr UINT EM_SCROLL = 0xF0B5;
inline constexpr UINT EM_REPLACESEL = 0xF0C2;
inline constexpr WPARAM SB_TOP = 6;
inline constexpr WPARAM SB_BOTTOM = 7;

// EM_SETSEL over a text of `size` characters: start −1 selects nothing at
// the start, end −1 means the end; both clamped, an end before the start
// gives an empty selection. Start and length.
std::pair<int, int> EditSelectionFor(int size, WPARAM start, LPARAM end);

// EM_GETSEL's answer: start and end into the 32-bit places wParam and
// lParam point to, each when non-null.
void WriteEditSelection(std::pair<int, int> startAndLength, WPARAM startOut, LPARAM endOut);

// WM_SETFONT: the control takes the font object's platform font, when it has one.
void SetFontFromHandle(ak::Control& control, HFONT font);

} // namespace winlayer
