#pragma once

#include "framework/VxString.h"

namespace vx {

// Finds a resource file: first `<resources>/<subPath>/<name without extension>.<type>`
// in the program's resource folder when the name's extension is `type`
// (ignoring case), then the same in the resource folder itself, then the
// name itself as a path. Writes the path found into
// `out` (empty when none) and returns whether one was found. The bundle
// identifier and shared folder of other platforms have no meaning here.
bool FindResourcePath(const char* name, const char* type, VxString& out, const char* bundleId = "",
                      const char* sharedFolder = nullptr, const char* subPath = "");

} // namespace vx
