#pragma once

#include "toolkit/ISharedTypes.h"

#include <string>

namespace vx::ui {

class ICanvas;

// A text as drawn into a box: its style's size, or smaller when the string is
// wider than the box; below `MinimumLegibleSize` the string is cut and ends
// in an ellipsis instead.
struct FittedText {
    IText style;
    std::string str;
};

float MinimumLegibleSize(float styleSize);

// Fits `str` into `width` panel units as `g` measures it. A text that fits,
// a rotated text and a box without width are left as they are.
FittedText FitText(const ICanvas& g, const IText& text, const char* str, float width);

} // namespace vx::ui
