#include "Fonts.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <stdexcept>

namespace resgen {
namespace {

FT_Library Library() {
    static FT_Library library = [] {
        FT_Library lib = nullptr;
        if (FT_Init_FreeType(&lib) != 0)
            throw std::runtime_error("FreeType does not start");
        return lib;
    }();
    return library;
}

const cairo_user_data_key_t kFaceKey{};

} // namespace

FontFace::FontFace(const std::string& path) {
    FT_Face face = nullptr;
    if (FT_New_Face(Library(), path.c_str(), 0, &face) != 0)
        throw std::runtime_error("cannot open font " + path);
    mFace = cairo_ft_font_face_create_for_ft_face(face, 0);
    // The FreeType face lives as long as cairo's face.
    cairo_font_face_set_user_data(mFace, &kFaceKey, face,
                                  [](void* f) { FT_Done_Face(static_cast<FT_Face>(f)); });
}

FontFace::~FontFace() {
    cairo_font_face_destroy(mFace);
}

void FontFace::Use(cairo_t* cr, double size) const {
    cairo_set_font_face(cr, mFace);
    cairo_set_font_size(cr, size);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}

} // namespace resgen
