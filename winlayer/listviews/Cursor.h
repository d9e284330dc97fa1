#pragma once

#include "winlayer/WinTypes.h"

namespace winlayer {

// The cursor's screen position packed as WM_CONTEXTMENU carries it: x low,
// y high 16 bits.
LPARAM CursorOnScreenParam();
// The cursor in window's client coordinates, packed as mouse messages carry it.
LPARAM CursorInClientParam(HWND window);

} // namespace winlayer
