#pragma once

#include <string>

namespace sys {

// Hands a file, folder or address to the desktop's default application.
// False when there is nothing there or no application could be launched.
bool OpenPath(const std::string& path);
// The same with the default application for a content type ("text/plain").
bool OpenPath(const std::string& path, const std::string& contentType);
bool OpenUri(const std::string& uri);
// The file:// address of a path, escaped as addresses need.
std::string FileUri(const std::string& path);
// Shows the file selected in the file manager, else opens its folder.
bool RevealPath(const std::string& path);

} // namespace sys
