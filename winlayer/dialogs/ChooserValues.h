#pragma once

#include "platform/ak/Color.h"
#include "winlayer/draw/GdiText.h"

#include <string>

// Colour values and font records as the colour and font choosers read and
// write them.

namespace winlayer {

// 0x00RRGGBB to an opaque colour and back (each channel rounded, clamped).
ak::Color ColorOfValue(int value);
int ValueOfColor(const ak::Color& color);

// The font a record asks the chooser to start with: size lfHeight when
// positive, its magnitude when negative, else lfWidth; bold above weight 699.
struct FontRequest {
    std::string family;
    double size = 0;
    bool bold = false;
    bool italic = false;
};
FontRequest FontRequestOf(const LOGFONT& font);

// Writes the chosen font into the record: the rounded size into lfHeight
// (lfWidth 0) when it differs from the size asked, the family (cut to 31
// bytes), italic and weight 700 or 400. True when the record's first 60
// bytes changed.
bool ApplyChosenFont(LOGFONT& font, const FontRequest& asked, const std::string& family,
                     double size, bool bold, bool italic);

} // namespace winlayer
