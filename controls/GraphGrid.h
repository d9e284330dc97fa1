#pragma once

#include "toolkit/ISharedTypes.h"

namespace vx::ui {

class ICanvas;

// The dashed grid both response graphs draw, in grey at full weight.
inline constexpr IColor kGraphGridGrey{255, 120, 120, 120};

// The style's copy in grey at the given size.
IText GridLabelText(const IText& base, float size);

// A horizontal decibel line from left to 40 short of the right edge, 2 thick
// at 0 dB, with its "%4.0f dB" label in the last 40 units.
void DrawDecibelLine(ICanvas& g, const IText& label, float dB, float left, float right, float y);

// A vertical line from 20 below the top to the bottom edge, with an optional
// label centred over it in the top 20 units.
void DrawFrequencyLine(ICanvas& g, const IText& label, const char* caption, float x, float top,
                       float bottom);

} // namespace vx::ui
