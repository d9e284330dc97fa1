#pragma once

#include <string>
#include <vector>

namespace vx::ui {
class ICanvas;
class IControl;
} // namespace vx::ui

namespace omnar::test {

// One line per control of the panel, in attach order: index, class,
// rectangle, tag (found by probing the tag map), group, parameter, hidden,
// disabled and, for text controls, the text; for vector controls, the label.
std::vector<std::string> LayoutDump(const vx::ui::ICanvas& canvas);
// The lines of the controls whose group is exactly `group` ("" for none).
std::vector<std::string> LayoutDump(const vx::ui::ICanvas& canvas, const std::string& group);

// Compares the lines with golden/<name>.txt; with OMNAR_UPDATE_GOLDEN=1 set
// it rewrites the file instead. Answers "" when they agree, else the first
// difference.
std::string CompareWithGolden(const std::vector<std::string>& lines, const std::string& name);

// The tag the control is attached with, -1 when it has none.
int TagOf(const vx::ui::ICanvas& canvas, const vx::ui::IControl* control);

} // namespace omnar::test
