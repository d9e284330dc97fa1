#pragma once

#include "Fonts.h"

#include <cairo.h>
#include <string>

namespace resgen {

struct Rgba {
    double r, g, b, a = 1.0;
};

inline constexpr Rgba kAccent{100 / 255.0, 1.0, 1.0};
inline constexpr Rgba kEngraving{0.82, 0.83, 0.84};
inline constexpr Rgba kWell{0.07, 0.07, 0.08};

// One ARGB image being drawn, saved as PNG through a temporary name.
class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* cr() const { return mCr; }
    int Width() const { return mWidth; }
    int Height() const { return mHeight; }

    // Brushed charcoal metal over the rectangle, tinted by `tint`; streaks
    // come from the seeded hash, so the grain is the same on every run.
    void Metal(int x0, int y0, int x1, int y1, Rgba tint, uint32_t seed);
    void Fill(double x0, double y0, double x1, double y1, Rgba c, double radius = 0);
    // A recessed area: darker face, shadow on the upper edge, light on the lower.
    void Inset(double x0, double y0, double x1, double y1, Rgba face, double radius = 6);
    // Text starting at `x` with its baseline at `baseline`; answers its advance.
    double Text(const FontFace& font, double size, double x, double baseline,
                const std::string& text, Rgba c);
    double Advance(const FontFace& font, double size, const std::string& text);
    // Text centred on `cx` with its baseline at `baseline`.
    void Label(const FontFace& font, double size, double cx, double baseline,
               const std::string& text, Rgba c);
    // The engraved look: a dark line under the light letters.
    void Engrave(const FontFace& font, double size, double cx, double baseline,
                 const std::string& text, Rgba c = kEngraving);
    void Save(const std::string& path);

private:
    cairo_surface_t* mSurface;
    cairo_t* mCr;
    int mWidth, mHeight;
};

void SetColour(cairo_t* cr, Rgba c);
void RoundedRect(cairo_t* cr, double x0, double y0, double x1, double y1, double radius);

} // namespace resgen
