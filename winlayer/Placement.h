#pragma once

#include "platform/ak/Geometry.h"
#include "winlayer/WinTypes.h"

#include <cstddef>
#include <vector>

// Where windows go, as pure rules over y-down screen rectangles.

namespace winlayer {

// The screen whose frame overlaps the (normalised) source most; with no
// overlap the nearest, by the squared gaps between the rectangles. Earlier
// screens win ties.
std::size_t ChooseScreen(const std::vector<ak::Rect>& screenFrames, const RECT& source);

// A new top-level window: 50 right of and 100 below the reference's top-left.
ak::Point NewWindowOrigin(const RECT& reference);

RECT RoundedRect(const ak::Rect& rect);

} // namespace winlayer
