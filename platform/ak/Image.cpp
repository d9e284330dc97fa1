#include "platform/ak/Image.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace ak {

Image::Image(int pixelWidth, int pixelHeight, double scale)
    : m_surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(1, pixelWidth),
                                           std::max(1, pixelHeight))),
      m_scale(std::isfinite(scale) && scale > 0 ? scale : 1) {
    cairo_surface_set_device_scale(m_surface, m_scale, m_scale);
}

Image::~Image() {
    cairo_surface_destroy(m_surface);
}

Ref<Image> Image::FromPixels(const uint32_t* pixels, int pixelWidth, int pixelHeight,
                             double scale) {
    auto image = MakeRef<Image>(pixelWidth, pixelHeight, scale);
    if (!pixels || pixelWidth <= 0 || pixelHeight <= 0)
        return image;
    cairo_surface_t* surface = image->Surface();
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < pixelHeight; ++y)
        std::memcpy(data + y * stride, pixels + static_cast<size_t>(y) * pixelWidth,
                    static_cast<size_t>(pixelWidth) * 4);
    cairo_surface_mark_dirty(surface);
    return image;
}

uint32_t Image::PixelAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= PixelWidth() || y >= PixelHeight())
        return 0;
    cairo_surface_flush(m_surface);
    const unsigned char* row =
        cairo_image_surface_get_data(m_surface) + y * cairo_image_surface_get_stride(m_surface);
    uint32_t pixel = 0;
    std::memcpy(&pixel, row + x * 4, 4);
    return pixel;
}

} // namespace ak
