#pragma once

// The panel on the screen, and a user's hand on it through xdotool. The panel
// stands at the bottom of the main window (the menu bar above it), so its
// origin is the window's bottom-left corner minus scale x 1200.

#include "tests/e2e/PanelMap.h"
#include "tests/e2e/ProgramSession.h"

#include <string>
#include <utility>
#include <vector>

namespace e2e {

using ScreenPoint = std::pair<int, int>;

struct PanelPlace {
    int left = 0; // screen pixels of the panel's top-left corner
    int top = 0;
    double scale = 0.5;

    ScreenPoint At(double x, double y) const;
    ScreenPoint Centre(const PanelRect& rect) const { return At(rect.CentreX(), rect.CentreY()); }
};

PanelPlace PlaceOf(const Frame& window, double scale);

// Each returns false (and says why) when xdotool fails.
::testing::AssertionResult ClickAt(ScreenPoint at);
// Button 1 held from the point while the pointer moves dy pixels (up when
// negative) in steps, one motion event each.
::testing::AssertionResult DragVertically(ScreenPoint from, int dy, int steps);
// Wheel clicks at the point: up when clicks is positive.
::testing::AssertionResult Wheel(ScreenPoint at, int clicks);
// Keys to whatever has the keyboard focus or holds the grab (an open menu).
::testing::AssertionResult PressKeys(const std::vector<std::string>& keys);

} // namespace e2e
