#pragma once

#include "winlayer/WinTypes.h"

#include <vector>

// The buttons of a message box from its flags: the low four bits pick the
// set, 0x100 or 0x200 the default. Ids in the order default, alternate,
// other; each button is titled after its id.

namespace winlayer {

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

std::vector<int> MessageBoxButtons(UINT flags);
const char* ButtonTitle(int id);

} // namespace winlayer
