#pragma once

#include "framework/VxString.h"

namespace vx {

// The name of MIDI note `note`, such as "C 4" or "F#-1": middle C (60) is C4
// when middleCIsC4 is set, else C3.
void FormatNoteName(int note, bool middleCIsC4, VxString& text);

} // namespace vx
