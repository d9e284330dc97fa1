#include "render/view/ViewGeometry.h"

#include <cmath>

namespace vx::ui {

ak::Size PanelViewSize(int width, int height, float drawScale) {
    return {std::trunc(double(float(width) * drawScale)),
            std::trunc(double(float(height) * drawScale))};
}

ak::Rect ViewRectOf(const IRECT& r, float s) {
    const double x = std::floor(double(r.L * s));
    const double y = std::floor(double(r.T * s));
    return {{x, y}, {std::ceil(double(r.R * s)) - x, std::ceil(double(r.B * s)) - y}};
}

unsigned FrameIntervalMs(int fps) {
    if (fps <= 0)
        fps = 60;
    const long ms = std::lround(1000.0 / fps);
    return ms < 1 ? 1u : unsigned(ms);
}

} // namespace vx::ui
