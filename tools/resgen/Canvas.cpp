#include "Canvas.h"

#include "Output.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace resgen {

void SetColour(cairo_t* cr, Rgba c) {
    cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a);
}

void RoundedRect(cairo_t* cr, double x0, double y0, double x1, double y1, double radius) {
    radius = std::min({radius, (x1 - x0) / 2, (y1 - y0) / 2});
    if (radius <= 0) {
        cairo_rectangle(cr, x0, y0, x1 - x0, y1 - y0);
        return;
    }
    cairo_new_sub_path(cr);
    cairo_arc(cr, x1 - radius, y0 + radius, radius, -M_PI / 2, 0);
    cairo_arc(cr, x1 - radius, y1 - radius, radius, 0, M_PI / 2);
    cairo_arc(cr, x0 + radius, y1 - radius, radius, M_PI / 2, M_PI);
    cairo_arc(cr, x0 + radius, y0 + radius, radius, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

Canvas::Canvas(int width, int height)
    : mSurface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      mCr(cairo_create(mSurface)), mWidth(width), mHeight(height) {
    cairo_set_antialias(mCr, CAIRO_ANTIALIAS_GRAY);
}

Canvas::~Canvas() {
    cairo_destroy(mCr);
    cairo_surface_destroy(mSurface);
}

void Canvas::Metal(int x0, int y0, int x1, int y1, Rgba tint, uint32_t seed) {
    cairo_surface_flush(mSurface);
    unsigned char* data = cairo_image_surface_get_data(mSurface);
    const int stride = cairo_image_surface_get_stride(mSurface);
    for (int y = std::max(0, y0); y < std::min(mHeight, y1); ++y) {
        // Streaks run along rows; a little per-pixel grain keeps them from banding.
        const double streak = (Hash(0, y, seed) % 1000) / 1000.0 - 0.5;
        auto* row = reinterpret_cast<uint32_t*>(data + y * stride);
        for (int x = std::max(0, x0); x < std::min(mWidth, x1); ++x) {
            const double grain = (Hash(x, y, seed + 1) % 1000) / 1000.0 - 0.5;
            const double light = 0.19 + 0.025 * streak + 0.012 * grain;
            auto channel = [&](double t) {
                return static_cast<uint32_t>(std::clamp(std::lround(255 * light * t), 0L, 255L));
            };
            row[x] = 0xff000000u | channel(tint.r) << 16 | channel(tint.g) << 8 | channel(tint.b);
        }
    }
    cairo_surface_mark_dirty(mSurface);
}

void Canvas::Fill(double x0, double y0, double x1, double y1, Rgba c, double radius) {
    RoundedRect(mCr, x0, y0, x1, y1, radius);
    SetColour(mCr, c);
    cairo_fill(mCr);
}

void Canvas::Inset(double x0, double y0, double x1, double y1, Rgba face, double radius) {
    Fill(x0 - 2, y0 - 2, x1 + 2, y1, {0, 0, 0, 0.55}, radius + 2);
    Fill(x0 - 2, y0, x1 + 2, y1 + 2, {1, 1, 1, 0.12}, radius + 2);
    Fill(x0, y0, x1, y1, face, radius);
}

double Canvas::Advance(const FontFace& font, double size, const std::string& text) {
    font.Use(mCr, size);
    cairo_text_extents_t ext;
    cairo_text_extents(mCr, text.c_str(), &ext);
    return ext.x_advance;
}

double Canvas::Text(const FontFace& font, double size, double x, double baseline,
                    const std::string& text, Rgba c) {
    const double advance = Advance(font, size, text);
    cairo_move_to(mCr, x, baseline);
    SetColour(mCr, c);
    cairo_show_text(mCr, text.c_str());
    cairo_new_path(mCr);
    return advance;
}

void Canvas::Label(const FontFace& font, double size, double cx, double baseline,
                   const std::string& text, Rgba c) {
    Text(font, size, cx - Advance(font, size, text) / 2, baseline, text, c);
}

void Canvas::Engrave(const FontFace& font, double size, double cx, double baseline,
                     const std::string& text, Rgba c) {
    Label(font, size, cx, baseline + 2, text, {0, 0, 0, 0.7});
    Label(font, size, cx, baseline, text, c);
}

void Canvas::Save(const std::string& path) {
    cairo_surface_flush(mSurface);
    const std::string temp = path + ".tmp";
    if (cairo_surface_write_to_png(mSurface, temp.c_str()) != CAIRO_STATUS_SUCCESS) {
        std::remove(temp.c_str());
        throw std::runtime_error("cannot write " + temp);
    }
    CommitFile(temp, path);
}

} // namespace resgen
