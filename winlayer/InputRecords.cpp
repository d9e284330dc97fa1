#include "winlayer/InputRecords.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace winlayer {
namespace {

constexpr double kWheelLinesPerDelta = 60.0;
constexpr double kWheelLimit = 32767;
constexpr double kZoomUnit = 1024;
constexpr double kZoomMin = 512, kZoomMax = 2048;
constexpr double kRotateCentre = 32767;
constexpr double kRotateDegreesPerHalfRange = 60;
constexpr double kRotateMax = 65535;

double Finite(double value) {
    return std::isfinite(value) ? value : 0;
}

// trunc(value), or ±1 when that is 0.
double AtLeastOneStep(double value, double sign) {
    const double step = std::trunc(value);
    return step != 0 ? step : (sign < 0 ? -1 : 1);
}

LPARAM SignExtend32(std::uint32_t value) {
    return static_cast<LPARAM>(static_cast<std::int32_t>(value));
}

} // namespace

int RoundCoordinate(double value) {
    if (std::isnan(value))
        return 0;
    const double rounded = std::floor(value + 0.5);
    return int(std::clamp(rounded, double(INT_MIN), double(INT_MAX)));
}

LPARAM PackClientPoint(double x, double y) {
    const auto ux = static_cast<std::uint32_t>(RoundCoordinate(x));
    const auto uy = static_cast<std::uint32_t>(RoundCoordinate(y));
    return SignExtend32((uy << 16) | (ux & 0xFFFF));
}

WPARAM CommandParam(int code, std::int64_t id) {
    return (WPARAM(std::uint32_t(code) & 0xFFFF) << 16) | WPARAM(id & 0xFFFF);
}

std::optional<WPARAM> WheelParam(double delta) {
    const double single = double(float(std::clamp(Finite(delta), -1e30, 1e30)));
    const double lines =
        std::clamp(std::trunc(single * kWheelLinesPerDelta), -kWheelLimit, kWheelLimit);
    if (lines == 0)
        return std::nullopt;
    const auto packed = static_cast<std::uint32_t>(static_cast<std::int32_t>(lines)) << 16;
    return static_cast<WPARAM>(SignExtend32(packed));
}

std::uint64_t ZoomArgument(double magnification) {
    const double z = Finite(magnification);
    const double step = AtLeastOneStep(std::clamp(kZoomUnit * z + 0.5, -1e9, 1e9), z);
    return std::uint64_t(std::clamp(kZoomUnit + step, kZoomMin, kZoomMax));
}

std::uint64_t RotateArgument(double degrees) {
    const double r = Finite(degrees);
    const double step =
        AtLeastOneStep(std::clamp(kRotateCentre * r / kRotateDegreesPerHalfRange, -1e9, 1e9), r);
    return std::uint64_t(std::clamp(kRotateCentre + step, 0.0, kRotateMax));
}

POINT SwipeLocation(POINT start, double width, double height, double deltaX, double deltaY) {
    const int w = RoundCoordinate(width);
    const int h = RoundCoordinate(height);
    deltaX = Finite(deltaX);
    deltaY = Finite(deltaY);
    if (deltaX < 0)
        start.x -= w;
    else if (deltaX > 0)
        start.x += w;
    else if (deltaY < 0)
        start.y += h;
    else if (deltaY > 0)
        start.y -= h;
    return start;
}

std::int16_t GestureCoordinate(double value) {
    const double v = std::trunc(std::clamp(Finite(value), double(INT_MIN), double(INT_MAX)));
    return static_cast<std::int16_t>(static_cast<std::int32_t>(v));
}

RECT PaintRectangle(double x, double y, double width, double height, const RECT& client) {
    RECT rect{RoundCoordinate(x), RoundCoordinate(y), RoundCoordinate(x + width),
              RoundCoordinate(y + height)};
    rect.right = std::min(rect.right, client.right);
    rect.bottom = std::min(rect.bottom, client.bottom);
    return rect;
}

} // namespace winlayer
