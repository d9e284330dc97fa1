#pragma once

#include <span>
#include <vector>

namespace vx::ui {

// The squared analysis window of the given type and length: 0 rectangular,
// 1 Blackman, 2 Blackman-Harris, 3 Hamming, 4 Hann, 6 sine cubed, 7 Hann
// squared, 5 and any other sine.
std::vector<double> SquaredWindow(int type, int n);

// Four-point cubic interpolation of values at position p (index + fraction).
// The index is kept in [1, size - 3] so all four points lie in the data;
// fewer than four values or a position that is not finite give 0.
double CubicAt(std::span<const double> values, double p);

// log2 as the display computes it: log10 over 0.30103.
double DisplayLog2(double x);

} // namespace vx::ui
