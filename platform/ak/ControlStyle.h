#pragma once

namespace ak {

// One application-wide style sheet for native controls: no minimum sizes and
// 2 px padding, so the small frames dialogs ask for (18 to 22 points) hold.
// Installed once, on the first control.
void InstallControlStyle();

} // namespace ak
