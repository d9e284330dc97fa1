#pragma once

#include <string>

namespace sys {

// Opens a file with the desktop's default application for its type, without
// a shell. False when the path is empty or nothing could be launched.
bool OpenPath(const std::string& path);

} // namespace sys
