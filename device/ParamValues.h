#pragma once

#include <array>

namespace omnar {

inline constexpr int kParamCount = 151;
// Parameters 0..73 are the values of a preset, in the order every preset record keeps them.
inline constexpr int kPresetValueCount = 74;

// The integer part of every parameter's current value, by index: what the messages carry.
using ParamInts = std::array<int, kParamCount>;

} // namespace omnar
