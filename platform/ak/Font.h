#pragma once

#include "platform/ak/Geometry.h"

#include <cairo.h>

#include <string>

namespace ak {

struct FontMetrics {
    double ascent = 0;
    double descent = 0;
    double lineHeight = 0;
};

// A font by family, size in points (one point is one pixel at scale 1) and
// style. Families the system does not have fall back to the system font.
class Font {
public:
    Font() : Font(System(13)) {}
    static Font System(double size, bool bold = false);
    // The named family, or the system font when no such family is installed.
    static Font Named(const std::string& family, double size, bool bold = false,
                      bool italic = false);
    // A family already known to be installed: no lookup, so it may be made
    // on any thread.
    static Font Resolved(const std::string& family, double size, bool bold, bool italic);
    // Makes a font file's families available to this process.
    static bool RegisterFile(const std::string& path);
    static bool HasFamily(const std::string& family);

    const std::string& Family() const { return m_family; }
    double PointSize() const { return m_size; }
    bool IsBold() const { return m_bold; }
    bool IsItalic() const { return m_italic; }
    // "Family [Bold] [Italic] size", as font descriptions read.
    std::string Description() const;

    FontMetrics Metrics() const;
    // wrapWidth <= 0: one line.
    Size Measure(const std::string& utf8, double wrapWidth = 0) const;
    // Draws at origin (top-left of the first line) in cairo's current source.
    void Draw(cairo_t* cr, const std::string& utf8, Point origin, double wrapWidth = 0) const;
    bool HasGlyph(char32_t codePoint) const;

    bool operator==(const Font&) const = default;

private:
    Font(std::string family, double size, bool bold, bool italic)
        : m_family(std::move(family)), m_size(size), m_bold(bold), m_italic(italic) {}
    std::string m_family;
    double m_size;
    bool m_bold;
    bool m_italic;
};

} // namespace ak
