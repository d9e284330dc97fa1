#pragma once

// Panel units to view points: the rounding rules every rectangle handed to
// the view follows, and the frame timer's interval.

#include "platform/ak/Geometry.h"
#include "toolkit/IRECT.h"

namespace vx::ui {

// Truncated to whole points, as the view is created and resized.
ak::Size PanelViewSize(int width, int height, float drawScale);
// Origin rounded down, far edges rounded up: the rectangle covers every
// point the panel rectangle touches.
ak::Rect ViewRectOf(const IRECT& r, float drawScale);
// One frame at fps frames per second, rounded to whole milliseconds (at least 1).
unsigned FrameIntervalMs(int fps);

} // namespace vx::ui
