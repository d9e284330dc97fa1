#pragma once

#include "framework/MidiTypes.h"
#include "framework/SpscRing.h"

#include <cstdint>

namespace vx {

// One parameter value on its way to the editor.
struct ParamChange {
    int32_t index = 0;
    double value = 0.0;
};

using MidiMsgRing = SpscRing<IMidiMsg>;
using SysExRing = SpscRing<SysExRecord>;
using ParamChangeRing = SpscRing<ParamChange>;

} // namespace vx
