#pragma once

#include <cairo.h>
#include <string>

namespace resgen {

// One font file opened through FreeType for cairo; by path, so no font
// configuration of the build machine changes the art.
class FontFace {
public:
    explicit FontFace(const std::string& path);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    // Selects this face at `size` with the fixed options (grey antialiasing,
    // no hinting) on `cr`.
    void Use(cairo_t* cr, double size) const;

private:
    cairo_font_face_t* mFace = nullptr;
};

struct Fonts {
    FontFace regular;
    FontFace bold;
    FontFace mono;
};

} // namespace resgen
