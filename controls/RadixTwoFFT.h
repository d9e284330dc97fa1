#pragma once

#include <span>

namespace vx::ui {

// log2 of n when n is a power of two above 0, else -1.
int ExactLog2(int n);

// In-place complex transform of a power-of-two length: radix-2 decimation in
// frequency, then the bit-reversal permutation. Forward runs unscaled with the
// twiddles cos - i sin; inverse uses + i sin and scales by 1 / N. Spans of
// unequal or non-power-of-two length are left as they are.
void RadixTwoFFT(std::span<double> re, std::span<double> im, bool inverse = false);

} // namespace vx::ui
