#include "winlayer/draw/GdiRecords.h"

#include <algorithm>
#include <cmath>
#include <limits>

using namespace winlayer;

namespace {

// (h + 1) * w * 4 + 63 bytes, the pixels from the first 64-byte boundary;
// zero when the size does not fit an int.
long long MemoryContextBytes(int width, int height) {
    const long long bytes = (static_cast<long long>(height) + 1) * width * 4 + 63;
    return bytes > std::numeric_limits<int>::max() ? 0 : bytes;
}

} // namespace

HDC WISP_CreateMemContext(HDC, int width, int height) {
    if (width <= 0 || height <= 0)
        return nullptr;
    const long long bytes = MemoryContextBytes(width, height);
    if (bytes == 0)
        return nullptr;
    std::unique_ptr<unsigned char[]> buffer(new (std::nothrow) unsigned char[size_t(bytes)]());
    if (!buffer)
        return nullptr;
    auto* pixels = reinterpret_cast<unsigned char*>(
        (reinterpret_cast<std::uintptr_t>(buffer.get()) + 63) & ~std::uintptr_t(63));
    cairo_surface_t* surface =
        cairo_image_surface_create_for_data(pixels, CAIRO_FORMAT_RGB24, width, height, width * 4);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    cairo_t* cr = cairo_create(surface);
    cairo_surface_destroy(surface); // the context holds it
    if (cairo_status(cr) != CAIRO_STATUS_SUCCESS) {
        cairo_destroy(cr);
        return nullptr;
    }
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
    HDC hdc = AllocContext();
    hdc->cr = cr;
    hdc->buffer = std::move(buffer);
    hdc->pixels = pixels;
    hdc->width = width;
    hdc->height = height;
    hdc->origin = ContextOrigin::Memory;
    hdc->hasTextColor = true;
    hdc->textColor = 0;
    hdc->textColorRGB = GdiColor::FromValue(0);
    return hdc;
}

HDC WISP_WrapGraphicsContext(cairo_t* context) {
    if (!context)
        return nullptr;
    HDC hdc = AllocContext();
    hdc->cr = cairo_reference(context);
    hdc->origin = ContextOrigin::Wrapped;
    return hdc;
}

namespace winlayer {

HDC NewScratchContext() {
    return AllocContext();
}

HDC NewMetalContext(PixelUploadTarget* target) {
    if (!target)
        return nullptr;
    HDC hdc = AllocContext();
    hdc->metal = target;
    hdc->origin = ContextOrigin::Metal;
    return hdc;
}

uint32_t FramePixel(const GdiColor& color) {
    const auto channel = [](double value) {
        return static_cast<uint32_t>(std::lround(std::clamp(value, 0.0, 1.0) * 255));
    };
    return Premultiplied(channel(color.alpha) << 24 | channel(color.red) << 16 |
                         channel(color.green) << 8 | channel(color.blue));
}

} // namespace winlayer

void WISP_DeleteGfxContext(HDC hdc) {
    if (!IsValidContext(hdc))
        return;
    if (hdc->cr) {
        if (hdc->origin == ContextOrigin::Memory)
            cairo_surface_flush(cairo_get_target(hdc->cr));
        cairo_destroy(hdc->cr);
    }
    FreeContext(hdc);
}

cairo_t* WISP_GetCtxGC(HDC hdc) {
    return DrawingContext(hdc);
}

void* WISP_GetCtxFrameBuffer(HDC hdc) {
    if (!IsValidContext(hdc) || hdc->origin != ContextOrigin::Memory)
        return nullptr;
    cairo_surface_flush(cairo_get_target(hdc->cr));
    return hdc->pixels;
}

BOOL WISP_IsRetinaDC(HDC hdc) {
    if (PixelUploadTarget* metal = MetalTarget(hdc))
        return metal->FrameOpen() && metal->FrameRetina() ? TRUE : FALSE;
    cairo_t* cr = DrawingContext(hdc);
    if (!cr)
        return FALSE;
    double x = 1, y = 1;
    cairo_user_to_device_distance(cr, &x, &y);
    double sx = 1, sy = 1;
    cairo_surface_get_device_scale(cairo_get_target(cr), &sx, &sy);
    return x * sx > 1.9 ? TRUE : FALSE;
}

void WISP_PushClipRegion(HDC hdc) {
    if (cairo_t* cr = DrawingContext(hdc))
        cairo_save(cr);
}

void WISP_SetClipRegion(HDC hdc, const RECT* rect) {
    cairo_t* cr = DrawingContext(hdc);
    if (!cr || !rect)
        return;
    cairo_rectangle(cr, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top);
    cairo_clip(cr);
}

void WISP_PopClipRegion(HDC hdc) {
    if (cairo_t* cr = DrawingContext(hdc))
        cairo_restore(cr);
}
