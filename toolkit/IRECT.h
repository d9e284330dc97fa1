#pragma once

#include <algorithm>
#include <cmath>

namespace vx::ui {

// A rectangle in unscaled panel units. All four values 0 means empty.
struct IRECT {
    float L = 0.f;
    float T = 0.f;
    float R = 0.f;
    float B = 0.f;

    constexpr IRECT() = default;
    constexpr IRECT(float l, float t, float r, float b) : L(l), T(t), R(r), B(b) {}

    constexpr float W() const { return R - L; }
    constexpr float H() const { return B - T; }
    constexpr float MW() const { return (L + R) * 0.5f; }
    constexpr float MH() const { return (T + B) * 0.5f; }
    constexpr float Area() const { return W() * H(); }
    constexpr bool Empty() const { return L == 0.f && T == 0.f && R == 0.f && B == 0.f; }

    constexpr bool operator==(const IRECT&) const = default;

    // Left and top inclusive, right and bottom exclusive.
    constexpr bool ContainsPoint(float x, float y) const {
        return !Empty() && L <= x && x < R && T <= y && y < B;
    }
    constexpr bool Contains(const IRECT& r) const {
        return !Empty() && !r.Empty() && L <= r.L && R >= r.R && T <= r.T && B >= r.B;
    }
    constexpr bool Intersects(const IRECT& r) const {
        return !Empty() && !r.Empty() && r.L <= R && L < r.R && T < r.B && r.T <= B;
    }
    constexpr IRECT Intersect(const IRECT& r) const {
        return {std::max(L, r.L), std::max(T, r.T), std::min(R, r.R), std::min(B, r.B)};
    }
    // The union with an empty rectangle is the other one.
    constexpr IRECT Union(const IRECT& r) const {
        if (Empty())
            return r;
        if (r.Empty())
            return *this;
        return {std::min(L, r.L), std::min(T, r.T), std::max(R, r.R), std::max(B, r.B)};
    }
    constexpr IRECT GetPadded(float p) const { return {L - p, T - p, R + p, B + p}; }
    constexpr IRECT GetTranslated(float x, float y) const { return {L + x, T + y, R + x, B + y}; }
    // Scaled about its centre.
    constexpr IRECT GetScaledAboutCentre(float f) const {
        const float hw = W() * f * 0.5f, hh = H() * f * 0.5f;
        return {MW() - hw, MH() - hh, MW() + hw, MH() + hh};
    }
    // Grown outward to whole device pixels at the given scale.
    IRECT GetPixelSnapped(float scale) const {
        return {std::floor(L * scale) / scale, std::floor(T * scale) / scale,
                std::ceil(R * scale) / scale, std::ceil(B * scale) / scale};
    }
};

} // namespace vx::ui
