#pragma once

#include <cstdint>
#include <string>

namespace ak {

// A menu title with '&' mnemonics as GTK writes it: "&File" -> "_File",
// "&&" -> "&", '_' -> "__". Malformed UTF-8 becomes U+FFFD.
std::string GtkMnemonicLabel(const std::string& title);

} // namespace ak
