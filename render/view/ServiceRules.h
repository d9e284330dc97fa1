#pragma once

// Pure rules of the platform services: message-box buttons and answers, and
// how a text to open is told apart as an address or a path.

#include "toolkit/ISharedTypes.h"

#include <string>
#include <vector>

namespace vx::ui {

// The buttons in order; none for a type outside the table (the alert's own).
std::vector<std::string> MessageBoxButtonTitles(EMsgBoxButtons type);
// The answer to the button at index (0 first) of a box of the type.
EMsgBoxResult MessageBoxResultOf(EMsgBoxButtons type, int index);
// Starts with a URI scheme ("http:", "mailto:", ...): RFC 3986's letter, then
// letters, digits, "+", "-" or ".", then ":"; a lone letter is a drive, not a scheme.
bool StartsWithUriScheme(const std::string& text);

} // namespace vx::ui

namespace vx::ui {

// The allowed file types of a prompt: the extension string split at blanks,
// empty parts dropped; none means every type.
std::vector<std::string> SplitExtensions(const char* extensions);
// The folder a chosen path lies in, ending in "/" ("" when it names no folder).
std::string FolderOfPath(const std::string& path);

} // namespace vx::ui
