#pragma once

// What the platform knows of a loaded font: the file's bytes, the face within
// them and its names. Shared, so a cached descriptor outlives the font object.

#include <memory>
#include <string>
#include <vector>

namespace text {

struct FontDescriptor {
    std::shared_ptr<const std::vector<unsigned char>> bytes;
    int faceIndex = 0;
    std::string family;
    std::string style;
};

using FontDescriptorRef = std::shared_ptr<const FontDescriptor>;

} // namespace text
