#pragma once

#include "platform/ak/Geometry.h"

#include <functional>
#include <vector>

namespace ak {

// One monitor, in y-down screen points.
class Screen {
public:
    static std::vector<Screen> All();
    // The primary monitor (the first when none is marked primary).
    static Screen Main();
    // Called when monitors come, go or change their geometry or scale.
    static void SetChangeCallback(std::function<void()> callback);

    Rect Frame() const { return m_frame; }
    // The frame without panels and docks.
    Rect VisibleFrame() const { return m_visibleFrame; }
    double BackingScaleFactor() const { return m_scale; }

private:
    Rect m_frame;
    Rect m_visibleFrame;
    double m_scale = 1;
};

} // namespace ak
