#pragma once

#include "platform/ak/Geometry.h"
#include "platform/ak/Object.h"

#include <cairo.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ak {

// Pixels for buttons, cells, menu items, drags and cursors: premultiplied
// ARGB32 as cairo keeps it, with a size in points and the scale that maps
// points to those pixels.
class Image : public Object {
public:
    // A blank (transparent) image; sizes below one pixel become one.
    Image(int pixelWidth, int pixelHeight, double scale = 1);
    // Copies rows of premultiplied ARGB32 pixels, stride pixelWidth * 4.
    static Ref<Image> FromPixels(const uint32_t* pixels, int pixelWidth, int pixelHeight,
                                 double scale = 1);
    // A PNG, JPEG, BMP or ICO file (the first image of an icon), or null.
    static Ref<Image> FromFile(const std::string& path);
    static Ref<Image> FromData(const void* bytes, size_t size);
    // A copy of the pixels.
    Ref<Image> Copy() const;

    int PixelWidth() const { return cairo_image_surface_get_width(m_surface); }
    int PixelHeight() const { return cairo_image_surface_get_height(m_surface); }
    double Scale() const { return m_scale; }
    Size PointSize() const { return {PixelWidth() / m_scale, PixelHeight() / m_scale}; }
    uint32_t PixelAt(int x, int y) const;

    // The surface to draw into or from; owned by the image.
    cairo_surface_t* Surface() const { return m_surface; }

private:
    ~Image() override;
    cairo_surface_t* m_surface;
    double m_scale;
};

} // namespace ak
