#pragma once

#include <cmath>

namespace ak {

struct Point {
    double x = 0;
    double y = 0;
    bool operator==(const Point&) const = default;
};

struct Size {
    double width = 0;
    double height = 0;
    bool operator==(const Size&) const = default;
};

struct Rect {
    Point origin;
    Size size;

    double MinX() const { return origin.x; }
    double MinY() const { return origin.y; }
    double MaxX() const { return origin.x + size.width; }
    double MaxY() const { return origin.y + size.height; }
    bool IsEmpty() const { return size.width <= 0 || size.height <= 0; }
    bool Contains(Point p) const {
        return p.x >= MinX() && p.x < MaxX() && p.y >= MinY() && p.y < MaxY();
    }
    bool IsFinite() const {
        return std::isfinite(origin.x) && std::isfinite(origin.y) && std::isfinite(size.width) &&
               std::isfinite(size.height);
    }
    // Negative sizes become empty ones.
    Rect Normalized() const {
        return {origin, {size.width > 0 ? size.width : 0, size.height > 0 ? size.height : 0}};
    }
    bool operator==(const Rect&) const = default;
};

// Where a fractional edge lands on the pixel grid of a widget.
inline int PixelEdge(double value) {
    return static_cast<int>(std::floor(value + 0.5));
}

Rect Intersection(const Rect& a, const Rect& b);

} // namespace ak
