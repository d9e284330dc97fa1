#pragma once

#include <cstdint>
#include <vector>

namespace vx::ui {

// Buttons and modifiers of one pointer event; touch id 0 is the mouse.
struct IMouseMod {
    bool L = false;
    bool R = false;
    bool S = false;
    bool C = false;
    bool A = false;
    int64_t touchID = 0;
    float touchRadius = 0.f;
};

// One pointer sample.
struct IMouseInfo {
    float x = 0.f;
    float y = 0.f;
    float dX = 0.f;
    float dY = 0.f;
    IMouseMod ms;
};

using IMouseInfoList = std::vector<IMouseInfo>;

// A gesture the platform recognised; the rest of its record is the platform layer's.
struct IGestureInfo {
    float x = 0.f;
    float y = 0.f;
    int kind = 0;
};

} // namespace vx::ui
