#include "controls/SpectrumMath.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vx::ui {

namespace {

double WindowValue(int type, double n, double m) {
    using std::cos;
    const double pi = std::numbers::pi;
    switch (type) {
    case 0:
        return 1.0;
    case 1:
        return 0.42 - 0.5 * cos(2 * pi * n / m) + 0.08 * cos(4 * pi * n / m);
    case 2: {
        const double k = n + 0.5;
        return 0.35875 - 0.48829 * cos(2 * pi * k / m) + 0.14128 * cos(4 * pi * k / m) -
               0.01168 * cos(6 * pi * k / m);
    }
    case 3:
        return 0.54 - 0.46 * cos(2 * pi * n / m);
    case 4:
        return 0.5 * (1 - cos(2 * pi * n / m));
    case 6:
        return std::pow(std::sin(pi * n / m), 3);
    case 7:
        return std::pow(0.5 * (1 - cos(2 * pi * n / m)), 2);
    default:
        return std::sin(pi * n / m);
    }
}

} // namespace

std::vector<double> SquaredWindow(int type, int n) {
    std::vector<double> w(static_cast<size_t>(std::max(n, 0)));
    const double m = n - 1;
    for (int i = 0; i < n; ++i) {
        const double v = WindowValue(type, i, m);
        w[static_cast<size_t>(i)] = v * v;
    }
    return w;
}

double CubicAt(std::span<const double> values, double p) {
    const long size = static_cast<long>(values.size());
    if (size < 4 || !std::isfinite(p))
        return 0.0;
    const double jf = std::floor(p);
    const double t = p - jf;
    const long j = std::clamp(static_cast<long>(std::clamp(jf, -1.0, double(size))), 1L, size - 3);
    const double a = values[size_t(j - 1)], b = values[size_t(j)];
    const double c = values[size_t(j + 1)], d = values[size_t(j + 2)];
    return ((((b - c) * 3 - a + d) * 0.5 * t + (2 * c + a - (5 * b + d) * 0.5)) * t +
            (c - a) * 0.5) *
               t +
           b;
}

double DisplayLog2(double x) {
    return std::log10(x) / 0.30103;
}

} // namespace vx::ui
