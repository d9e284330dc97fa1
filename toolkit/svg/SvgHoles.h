#pragma once

#include "toolkit/svg/SvgImage.h"

namespace vx::ui::svg {

// Marks each sub-path of a multi-path shape that lies inside an odd number of
// the shape's other outlines as a hole. Done once per image, when it is
// parsed, since a hostile file can have tens of thousands of sub-paths.
void ClassifyHoles(Image& image);

} // namespace vx::ui::svg
