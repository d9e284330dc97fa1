#pragma once

#include "winlayer/WindowApi.h"

// The process's menu slots: the default window and modal-window menus a key
// window falls back on, and the current menu, the one the key window found.
// Nothing displays the current menu: each window shows its own bar.
HMENU WISP_GetDefaultWindowMenu();
void WISP_SetDefaultWindowMenu(HMENU menu);
HMENU WISP_GetDefaultModalWindowMenu();

namespace winlayer {

HMENU DefaultWindowMenu();
HMENU DefaultModalWindowMenu();
// Ignored while quitting.
void SetCurrentMenu(HMENU menu);

} // namespace winlayer
