#pragma once

// Installed fonts by family and style, and reading font files.

#include <memory>
#include <string>
#include <vector>

namespace text {

// Files of installed fonts whose family and style equal the given ones
// exactly (no substitution), in fontconfig's order.
std::vector<std::string> FindInstalledFontFiles(const std::string& family,
                                                const std::string& style);

// The whole file, or null when it cannot be read or is empty.
std::shared_ptr<const std::vector<unsigned char>> ReadFontFile(const std::string& path);

} // namespace text
