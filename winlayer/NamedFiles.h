#pragma once

#include <string>
#include <vector>

namespace winlayer {

// Where an image or cursor given by name may be: a name holding '/' is a
// path; a bare name is looked for in the resource folder as given, then with
// the extension added.
std::vector<std::string> NamedFileCandidates(const std::string& name, const char* extension);

} // namespace winlayer
