#include "platform/ak/Font.h"

#include "platform/sys/Utf8.h"

#include <fontconfig/fontconfig.h>
#include <gtk/gtk.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>

#include <cmath>
#include <memory>

namespace ak {

namespace {

template <class T>
struct GObjectDeleter {
    void operator()(T* object) const { g_object_unref(object); }
};
template <class T>
using GPtr = std::unique_ptr<T, GObjectDeleter<T>>;

struct DescriptionDeleter {
    void operator()(PangoFontDescription* d) const { pango_font_description_free(d); }
};
using DescriptionPtr = std::unique_ptr<PangoFontDescription, DescriptionDeleter>;

double SaneSize(double size) {
    return std::isfinite(size) && size > 0 ? std::min(size, 1000.0) : 13;
}

std::string SystemFamily() {
    gchar* name = nullptr;
    if (GtkSettings* settings = gtk_settings_get_default())
        g_object_get(settings, "gtk-font-name", &name, nullptr);
    std::string family = "Sans";
    if (name) {
        DescriptionPtr d(pango_font_description_from_string(name));
        if (const char* f = pango_font_description_get_family(d.get()))
            family = f;
        g_free(name);
    }
    return family;
}

DescriptionPtr Describe(const Font& font) {
    DescriptionPtr d(pango_font_description_new());
    pango_font_description_set_family(d.get(), font.Family().c_str());
    // Points here are pixels at scale 1, so the size is absolute.
    pango_font_description_set_absolute_size(d.get(), font.PointSize() * PANGO_SCALE);
    pango_font_description_set_weight(d.get(),
                                      font.IsBold() ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(d.get(),
                                     font.IsItalic() ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    return d;
}

GPtr<PangoLayout> LayoutFor(cairo_t* cr, const Font& font, const std::string& utf8,
                            double wrapWidth) {
    PangoLayout* layout =
        cr ? pango_cairo_create_layout(cr)
           : pango_layout_new(pango_font_map_create_context(pango_cairo_font_map_get_default()));
    if (!cr)
        g_object_unref(pango_layout_get_context(layout)); // the layout holds it
    DescriptionPtr d = Describe(font);
    pango_layout_set_font_description(layout, d.get());
    const std::string text =
        sys::IsValidUtf8(utf8) ? utf8 : sys::Utf32ToUtf8(sys::Utf8ToUtf32(utf8));
    pango_layout_set_text(layout, text.c_str(), static_cast<int>(text.size()));
    if (wrapWidth > 0) {
        pango_layout_set_width(layout, static_cast<int>(wrapWidth * PANGO_SCALE));
        pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    }
    return GPtr<PangoLayout>(layout);
}

} // namespace

Font Font::System(double size, bool bold) {
    return Font(SystemFamily(), SaneSize(size), bold, false);
}

bool Font::HasFamily(const std::string& family) {
    PangoFontFamily** families = nullptr;
    int count = 0;
    pango_font_map_list_families(pango_cairo_font_map_get_default(), &families, &count);
    bool found = false;
    for (int i = 0; i < count && !found; ++i)
        found = g_ascii_strcasecmp(pango_font_family_get_name(families[i]), family.c_str()) == 0;
    g_free(families);
    return found;
}

Font Font::Named(const std::string& family, double size, bool bold, bool italic) {
    if (family.empty() || !HasFamily(family))
        return Font(SystemFamily(), SaneSize(size), bold, italic);
    return Font(family, SaneSize(size), bold, italic);
}

Font Font::Resolved(const std::string& family, double size, bool bold, bool italic) {
    // Callers that resolved the family settle the size range themselves.
    constexpr double kLargest = 8192;
    return Font(family, std::isfinite(size) && size > 0 ? std::min(size, kLargest) : 13, bold,
                italic);
}

bool Font::RegisterFile(const std::string& path) {
    if (!FcConfigAppFontAddFile(FcConfigGetCurrent(),
                                reinterpret_cast<const FcChar8*>(path.c_str())))
        return false;
    PangoFontMap* map = pango_cairo_font_map_get_default();
    if (PANGO_IS_FC_FONT_MAP(map))
        pango_fc_font_map_config_changed(PANGO_FC_FONT_MAP(map));
    return true;
}

std::string Font::Description() const {
    std::string text = m_family;
    if (m_bold)
        text += " Bold";
    if (m_italic)
        text += " Italic";
    char size[32];
    g_ascii_formatd(size, sizeof size, "%g", m_size);
    return text + " " + size;
}

FontMetrics Font::Metrics() const {
    GPtr<PangoContext> context(pango_font_map_create_context(pango_cairo_font_map_get_default()));
    DescriptionPtr d = Describe(*this);
    PangoFontMetrics* metrics = pango_context_get_metrics(context.get(), d.get(), nullptr);
    FontMetrics result;
    result.ascent = double(pango_font_metrics_get_ascent(metrics)) / PANGO_SCALE;
    result.descent = double(pango_font_metrics_get_descent(metrics)) / PANGO_SCALE;
    const int height = pango_font_metrics_get_height(metrics);
    result.lineHeight = height > 0 ? double(height) / PANGO_SCALE : result.ascent + result.descent;
    pango_font_metrics_unref(metrics);
    return result;
}

Size Font::Measure(const std::string& utf8, double wrapWidth) const {
    auto layout = LayoutFor(nullptr, *this, utf8, wrapWidth);
    PangoRectangle logical;
    pango_layout_get_extents(layout.get(), nullptr, &logical);
    return {double(logical.width) / PANGO_SCALE, double(logical.height) / PANGO_SCALE};
}

void Font::Draw(cairo_t* cr, const std::string& utf8, Point origin, double wrapWidth) const {
    auto layout = LayoutFor(cr, *this, utf8, wrapWidth);
    cairo_move_to(cr, origin.x, origin.y);
    pango_cairo_show_layout(cr, layout.get());
}

bool Font::HasGlyph(char32_t codePoint) const {
    GPtr<PangoContext> context(pango_font_map_create_context(pango_cairo_font_map_get_default()));
    DescriptionPtr d = Describe(*this);
    GPtr<PangoFont> font(pango_context_load_font(context.get(), d.get()));
    return font && pango_font_has_char(font.get(), static_cast<gunichar>(codePoint));
}

} // namespace ak
