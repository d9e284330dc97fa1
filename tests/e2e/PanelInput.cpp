#include "tests/e2e/PanelInput.h"

#include <cmath>

namespace e2e {

namespace {

constexpr double kPanelHeight = 1200;

::testing::AssertionResult Run(std::vector<std::string> argv) {
    argv.insert(argv.begin(), "xdotool");
    ToolRun run = RunTool(argv, 10s);
    if (run.status == 0)
        return ::testing::AssertionSuccess();
    if (!run.status)
        run.out += "(stopped after 10 s)";
    std::string command;
    for (const auto& arg : argv)
        command += arg + " ";
    return ::testing::AssertionFailure() << command << "failed: " << run.out;
}

// No --sync: a control that hides the pointer may hold it where a drag began,
// and the server takes the motion before the button anyway.
std::vector<std::string> MoveTo(ScreenPoint at) {
    return {"mousemove", std::to_string(at.first), std::to_string(at.second)};
}

void Append(std::vector<std::string>& argv, const std::vector<std::string>& more) {
    argv.insert(argv.end(), more.begin(), more.end());
}

} // namespace

ScreenPoint PanelPlace::At(double x, double y) const {
    return {left + int(std::lround(x * scale)), top + int(std::lround(y * scale))};
}

PanelPlace PlaceOf(const Frame& window, double scale) {
    return {window.x, window.y + window.height - int(std::lround(scale * kPanelHeight)), scale};
}

::testing::AssertionResult ClickAt(ScreenPoint at) {
    auto argv = MoveTo(at);
    Append(argv, {"click", "1"});
    return Run(argv);
}

::testing::AssertionResult DragVertically(ScreenPoint from, int dy, int steps) {
    auto argv = MoveTo(from);
    Append(argv, {"mousedown", "1"});
    // At a hand's pace: the toolkit folds motion events that queue up into one.
    for (int i = 1; i <= steps; ++i) {
        Append(argv, {"sleep", "0.1"});
        Append(argv, MoveTo({from.first, from.second + dy * i / steps}));
    }
    Append(argv, {"mouseup", "1"});
    return Run(argv);
}

::testing::AssertionResult Wheel(ScreenPoint at, int clicks) {
    auto argv = MoveTo(at);
    Append(argv, {"click", "--repeat", std::to_string(std::abs(clicks)), "--delay", "50",
                  clicks > 0 ? "4" : "5"});
    return Run(argv);
}

::testing::AssertionResult PressKeys(const std::vector<std::string>& keys) {
    std::vector<std::string> argv = {"key", "--delay", "50"};
    Append(argv, keys);
    return Run(argv);
}

} // namespace e2e
