#pragma once

#include "platform/ak/Font.h"
#include "winlayer/Gdi.h"

#include <string>

namespace winlayer {

// A font as CreateFont resolved it: the description ak draws with and the
// face it came from.
struct FontFace {
    ak::Font font;
    std::string fullName;
    std::string file;
    int faceIndex = 0;
};

// The font a context draws text with: its selected font, else the default
// (the system font of size 10, made once).
const FontFace& SelectedFontFace(HDC hdc);
const FontFace& DefaultFontFace();

} // namespace winlayer
