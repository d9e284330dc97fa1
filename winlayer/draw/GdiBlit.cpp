#include "winlayer/draw/BlitGeometry.h"
#include "winlayer/draw/GdiRecords.h"

#include <vector>

using namespace winlayer;

namespace {

struct SurfaceDeleter {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
using SurfacePtr = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

// The source's pixels with their high byte taken as straight alpha, made
// premultiplied as cairo draws them.
SurfacePtr WithStraightAlpha(HDC source, const BlitRect& area) {
    SurfacePtr copy(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, area.width, area.height));
    cairo_surface_flush(copy.get());
    unsigned char* rows = cairo_image_surface_get_data(copy.get());
    const int stride = cairo_image_surface_get_stride(copy.get());
    for (int y = 0; y < area.height; ++y) {
        const auto* in = reinterpret_cast<const uint32_t*>(source->pixels) +
                         size_t(area.y + y) * source->width + area.x;
        auto* out = reinterpret_cast<uint32_t*>(rows + size_t(y) * stride);
        for (int x = 0; x < area.width; ++x) {
            out[x] = Premultiplied(in[x]);
        }
    }
    cairo_surface_mark_dirty(copy.get());
    return copy;
}

// A copy into a Metal view's frame: unscaled and half-size copies go as they
// are (the latter at twice the resolution), others are resampled by nearest
// neighbour first, at twice the size when the frame is and the source allows.
void MetalBlit(PixelUploadTarget* metal, const BlitRect& to, const BlitRect& from, HDC source,
               bool blend) {
    const bool frameRetina = metal->FrameOpen() ? metal->FrameRetina() : metal->ViewRetina();
    bool retina = false;
    int outW = to.width, outH = to.height, outX = to.x, outY = to.y;
    if (from.width == 2 * to.width && from.height == 2 * to.height) {
        retina = true;
    } else if (frameRetina && from.width >= 2 * to.width && from.height >= 2 * to.height) {
        retina = true;
    }
    if (retina) {
        outW *= 2;
        outH *= 2;
        outX *= 2;
        outY *= 2;
    }
    const auto* in = reinterpret_cast<const uint32_t*>(source->pixels);
    // Rows padded to a multiple of 4 pixels.
    const int stride = (outW + 3) / 4 * 4;
    std::vector<uint32_t> pixels(std::size_t(stride) * outH);
    const int64_t stepX = (int64_t(from.width) << 16) / outW;
    const int64_t stepY = (int64_t(from.height) << 16) / outH;
    for (int row = 0; row < outH; ++row) {
        const int64_t sourceY = from.y + ((row * stepY) >> 16);
        for (int col = 0; col < outW; ++col) {
            const int64_t sourceX = from.x + ((col * stepX) >> 16);
            uint32_t p = in[std::size_t(sourceY) * source->width + sourceX];
            pixels[std::size_t(row) * stride + col] = blend ? p : (p | 0xFF000000u);
        }
    }
    metal->Blit(pixels.data(), outX, outY, outW, outH, stride, retina, blend);
}

} // namespace

void StretchBlt(HDC destination, int x, int y, int width, int height, HDC source, int sx, int sy,
                int sw, int sh, DWORD mode) {
    if (PixelUploadTarget* metal = MetalTarget(destination)) {
        if (!IsValidContext(source) || source->origin != ContextOrigin::Memory)
            return;
        const auto plan =
            PlanStretchBlt({x, y, width, height}, {sx, sy, sw, sh}, source->width, source->height);
        if (!plan || plan->destination.width < 1 || plan->destination.height < 1)
            return;
        cairo_surface_flush(cairo_get_target(source->cr));
        MetalBlit(metal, plan->destination, plan->source, source, mode == WISP_BLT_ALPHA);
        return;
    }
    cairo_t* cr = DrawingContext(destination);
    if (!cr || !IsValidContext(source) || source->origin != ContextOrigin::Memory)
        return;
    const auto plan =
        PlanStretchBlt({x, y, width, height}, {sx, sy, sw, sh}, source->width, source->height);
    if (!plan)
        return;
    const BlitRect& to = plan->destination;
    const BlitRect& from = plan->source;
    cairo_surface_t* target = cairo_get_target(source->cr);
    cairo_surface_flush(target);
    SurfacePtr alphaCopy;
    cairo_surface_t* pixels = target;
    double originX = -from.x, originY = -from.y;
    if (mode == WISP_BLT_ALPHA) {
        alphaCopy = WithStraightAlpha(source, from);
        pixels = alphaCopy.get();
        originX = originY = 0;
    }
    cairo_save(cr);
    cairo_rectangle(cr, to.x, to.y, to.width, to.height);
    cairo_clip(cr);
    cairo_translate(cr, to.x, to.y);
    cairo_scale(cr, double(to.width) / from.width, double(to.height) / from.height);
    cairo_set_source_surface(cr, pixels, originX, originY);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_paint(cr);
    cairo_restore(cr);
}

void BitBlt(HDC destination, int x, int y, int width, int height, HDC source, int sx, int sy,
            DWORD mode) {
    StretchBlt(destination, x, y, width, height, source, sx, sy, width, height, mode);
}
