#pragma once

#include "toolkit/ICanvas.h"

namespace vx::test {

// One frame as the platform view runs it: the dirty test, then, when something
// is dirty, clean, draw inside the context bracket. Returns whether it drew.
bool RunFrame(ui::ICanvas& canvas, ui::IRECTList& rects);
bool RunFrame(ui::ICanvas& canvas);

} // namespace vx::test
