// Image files through gdk-pixbuf, turned into cairo's premultiplied pixels.
#include "platform/ak/Image.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cstring>

namespace ak {

namespace {

Ref<Image> FromPixbuf(GdkPixbuf* pixbuf) {
    if (!pixbuf)
        return {};
    const int width = gdk_pixbuf_get_width(pixbuf);
    const int height = gdk_pixbuf_get_height(pixbuf);
    const int channels = gdk_pixbuf_get_n_channels(pixbuf);
    const int rowstride = gdk_pixbuf_get_rowstride(pixbuf);
    const bool alpha = gdk_pixbuf_get_has_alpha(pixbuf);
    const guchar* in = gdk_pixbuf_read_pixels(pixbuf);
    if (width <= 0 || height <= 0 || gdk_pixbuf_get_bits_per_sample(pixbuf) != 8 || channels < 3 ||
        !in)
        return {};
    auto image = MakeRef<Image>(width, height);
    cairo_surface_t* surface = image->Surface();
    cairo_surface_flush(surface);
    unsigned char* rows = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < height; ++y) {
        const guchar* p = in + size_t(y) * rowstride;
        auto* out = reinterpret_cast<uint32_t*>(rows + size_t(y) * stride);
        for (int x = 0; x < width; ++x, p += channels) {
            const uint32_t a = alpha ? p[3] : 255;
            auto premultiply = [a](uint32_t c) { return (c * a + 127) / 255; };
            out[x] = (a << 24) | (premultiply(p[0]) << 16) | (premultiply(p[1]) << 8) |
                     premultiply(p[2]);
        }
    }
    cairo_surface_mark_dirty(surface);
    return image;
}

} // namespace

Ref<Image> Image::FromFile(const std::string& path) {
    GdkPixbuf* pixbuf = gdk_pixbuf_new_from_file(path.c_str(), nullptr);
    Ref<Image> image = FromPixbuf(pixbuf);
    if (pixbuf)
        g_object_unref(pixbuf);
    return image;
}

Ref<Image> Image::FromData(const void* bytes, size_t size) {
    if (!bytes || size == 0)
        return {};
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new();
    GdkPixbuf* pixbuf = nullptr;
    if (gdk_pixbuf_loader_write(loader, static_cast<const guchar*>(bytes), size, nullptr) &&
        gdk_pixbuf_loader_close(loader, nullptr))
        pixbuf = gdk_pixbuf_loader_get_pixbuf(loader);
    else
        gdk_pixbuf_loader_close(loader, nullptr);
    Ref<Image> image = FromPixbuf(pixbuf);
    g_object_unref(loader);
    return image;
}

Ref<Image> Image::Copy() const {
    auto copy = MakeRef<Image>(PixelWidth(), PixelHeight(), m_scale);
    cairo_surface_flush(m_surface);
    cairo_surface_t* target = copy->Surface();
    cairo_surface_flush(target);
    const int stride = cairo_image_surface_get_stride(m_surface);
    std::memcpy(cairo_image_surface_get_data(target), cairo_image_surface_get_data(m_surface),
                size_t(stride) * PixelHeight());
    cairo_surface_mark_dirty(target);
    return copy;
}

} // namespace ak
