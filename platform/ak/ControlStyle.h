#pragma once

namespace ak {

// One application-wide style sheet for native controls: no minimum sizes and
// 2 px padding, so the small frames dialogs ask for (18 to 22 points) hold.
// Menu items, check items underneath, show a check mark only when checked and
// none in a menu bar; unchecked items keep the mark's room so titles align.
// Installed once, on the first control or menu item.
void InstallControlStyle();

} // namespace ak
