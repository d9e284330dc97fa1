#pragma once

#include "platform/ak/Window.h"

#include <string>

namespace vx::ui {
class ICanvas;
class IControl;
} // namespace vx::ui

namespace vx::test {

// A knob of the gain parameter over the right half of a 200 x 100 panel,
// without label or value text.
ui::IControl* AddGoldenKnob(ui::ICanvas* canvas);

// Compares the window's pixels exactly with tests/render/golden/<name>.png and
// leaves them in build/test-output/; false with the reason in message.
bool WindowMatchesGolden(ak::Window& window, const std::string& name, std::string& message);

} // namespace vx::test
