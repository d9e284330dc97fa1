#pragma once

#include "toolkit/ISharedTypes.h"

#include <cmath>

namespace vx::ui {

// 2-D transform: (x, y) maps to (xx x + xy y + tx, yx x + yy y + ty). Every
// change composes in the local frame: the new step acts before the old matrix.
struct IAffineMatrix {
    double xx = 1.0, yx = 0.0, xy = 0.0, yy = 1.0, tx = 0.0, ty = 0.0;

    bool operator==(const IAffineMatrix&) const = default;

    IAffineMatrix& Translate(double x, double y) {
        tx += x * xx + y * xy;
        ty += x * yx + y * yy;
        return *this;
    }
    // Degrees; converted in single precision as the renderer does.
    IAffineMatrix& Rotate(float degrees) {
        const double a = degrees / 180.f * 3.1415927f;
        const double c = std::cos(a), s = std::sin(a);
        const double nxx = c * xx + s * xy, nyx = c * yx + s * yy;
        const double nxy = c * xy - s * xx, nyy = c * yy - s * yx;
        xx = nxx, yx = nyx, xy = nxy, yy = nyy;
        return *this;
    }
    IAffineMatrix& Scale(double x, double y) {
        xx *= x, yx *= x, xy *= y, yy *= y;
        return *this;
    }
    IAffineMatrix& Skew(float xDegrees, float yDegrees) {
        const double tanX = std::tan(double{xDegrees / 180.f * 3.1415927f});
        const double tanY = std::tan(double{yDegrees / 180.f * 3.1415927f});
        const double nxx = xx + tanY * xy, nyx = yx + tanY * yy;
        const double nxy = xy + tanX * xx, nyy = yy + tanX * yx;
        xx = nxx, yx = nyx, xy = nxy, yy = nyy;
        return *this;
    }
    // This becomes this x n: n acts first.
    IAffineMatrix& Multiply(const IAffineMatrix& n) {
        const IAffineMatrix m = *this;
        xx = m.xx * n.xx + m.xy * n.yx;
        yx = m.yx * n.xx + m.yy * n.yx;
        xy = m.xx * n.xy + m.xy * n.yy;
        yy = m.yx * n.xy + m.yy * n.yy;
        tx = m.xx * n.tx + m.xy * n.ty + m.tx;
        ty = m.yx * n.tx + m.yy * n.ty + m.ty;
        return *this;
    }
    void TransformPoint(double& x, double& y) const {
        const double nx = xx * x + xy * y + tx;
        y = yx * x + yy * y + ty;
        x = nx;
    }
};

struct IColorStop {
    IColor color{255, 0, 0, 0};
    float offset = 0.f;

    bool operator==(const IColorStop&) const = default;
};

// Paint of every stroke and fill.
struct IFillPattern {
    static constexpr int kMaxStops = 16;
    enum Type : int { Solid = 0, Linear = 1, Radial = 2 };

    int type = Solid;
    int extend = 1; // 1 pad, 2 reflect, 3 repeat
    IColorStop stops[kMaxStops] = {};
    int nStops = 0;
    IAffineMatrix transform;

    IFillPattern() = default;
    // The solid pattern the primitives build on the stack.
    explicit IFillPattern(const IColor& color) : nStops(1) { stops[0].color = color; }

    bool operator==(const IFillPattern& o) const {
        if (type != o.type || extend != o.extend || nStops != o.nStops ||
            !(transform == o.transform))
            return false;
        for (int i = 0; i < kMaxStops; ++i)
            if (!(stops[i] == o.stops[i]))
                return false;
        return true;
    }
};

struct IStrokeStyle {
    float miterLimit = 10.f;
    bool keepPath = false;
    int cap = 0;  // 0 butt, 1 round, 2 square
    int join = 0; // 0 miter, 1 round, 2 bevel
    float dashArray[8] = {};
    float dashOffset = 0.f;
    int dashCount = 0;
};

struct IFillStyle {
    enum Rule : int { Winding = 0, EvenOdd = 1, Preserve = 2 };

    int fillRule = Winding;
    bool keepPath = false;
};

} // namespace vx::ui
