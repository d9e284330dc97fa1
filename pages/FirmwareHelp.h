#pragma once

#include <string>

namespace omnar::pages {

// The firmware page's help link opens the program's own manual, which has a
// chapter on updating the firmware; there is no web page to point at.
inline constexpr const char* kFirmwareHelpText = "FIRMWARE HELP";

// The manual's file:// address; "" when the resources hold no manual.
std::string FirmwareHelpAddress();

} // namespace omnar::pages
