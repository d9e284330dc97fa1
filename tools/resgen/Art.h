#pragma once

#include "Fonts.h"

#include <string>

namespace resgen {

// Draws the panel's 31 PNGs into `dir`.
void DrawPanelArt(const Fonts& fonts, const std::string& dir);

} // namespace resgen
