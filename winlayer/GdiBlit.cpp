#include "winlayer/BlitGeometry.h"
#include "winlayer/GdiRecords.h"

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

} // namespace

void StretchBlt(HDC destination, int x, int y, int width, int height, HDC source, int sx, int sy,
                int sw, int sh, DWORD mode) {
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
