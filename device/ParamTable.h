#pragma once

#include "device/ParamValues.h"
#include "framework/IParam.h"

#include <array>
#include <span>

namespace omnar {

using ParamList = std::span<vx::IParam* const, kParamCount>;

// Sets up names, kinds, defaults, ranges, labels and display texts of the
// editor's parameters. 74..77 and 83..85 stay as the base class made them.
void SetUpParameters(ParamList params);

// The integer part of every parameter's current value.
ParamInts CurrentIntValues(ParamList params);

} // namespace omnar
