#pragma once

// Float-to-int conversion is undefined for NaN, infinities and values out of
// range; geometry and sizes come from callers, so every such conversion in the
// renderer is clamped first. NaN maps to the lower bound.
inline int clamp_to_int(float v, int lo, int hi) {
    if (!(v >= static_cast<float>(lo)))
        return lo;
    if (v >= static_cast<float>(hi))
        return hi;
    return static_cast<int>(v);
}
