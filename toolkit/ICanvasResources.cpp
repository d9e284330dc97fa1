// Resource loading and image drawing that need the shared caches, SVG parsing
// and the value bubble. Until those arrive the loaders report "not found"
// (empty handles) and the image and bubble operations draw nothing.
#include "toolkit/ICanvas.h"

namespace vx::ui {

void ICanvas::DrawSVG(const ISVGHandle&, const IRECT&, const IBlendSetting*, const IColor*,
                      const IColor*) {}

void ICanvas::DrawRotatedSVG(const ISVGHandle& svg, float cx, float cy, float w, float h,
                             double angle, const IBlendSetting* blend) {
    PathMatrixPush();
    PathMatrixTranslate(cx, cy);
    PathMatrixRotate(static_cast<float>(angle));
    DrawSVG(svg, {-w / 2.f, -h / 2.f, w / 2.f, h / 2.f}, blend);
    PathMatrixPop();
}

void ICanvas::DrawFittedBitmap(const IBitmapHandle& bitmap, const IRECT& bounds,
                               const IBlendSetting* blend) {
    const float w = float(bitmap.FrameWidth()), h = float(bitmap.FrameHeight());
    if (w <= 0.f || h <= 0.f)
        return;
    PathMatrixPush();
    PathMatrixTranslate(bounds.L, bounds.T);
    PathMatrixScale(bounds.W() / w, bounds.H() / h);
    DrawBitmapRegion(bitmap, {0.f, 0.f, w, h}, 0, 0, blend);
    PathMatrixPop();
}

void ICanvas::DrawRotatedBitmap(const IBitmapHandle& bitmap, float cx, float cy, double angle,
                                const IBlendSetting* blend) {
    const float ds =
        bitmap.bitmap && bitmap.bitmap->drawScale > 0.f ? bitmap.bitmap->drawScale : 1.f;
    const float w = float(bitmap.W) / ds, h = float(bitmap.H) / ds;
    PathMatrixPush();
    PathMatrixTranslate(cx, cy);
    PathMatrixRotate(static_cast<float>(angle));
    DrawBitmapRegion(bitmap, {-w / 2.f, -h / 2.f, w / 2.f, h / 2.f}, 0, 0, blend);
    PathMatrixPop();
}

IBitmapHandle ICanvas::RescaleBitmap(const IBitmapHandle&, const char*, int) {
    return {};
}

void ICanvas::HoldBitmap(const IBitmapHandle&, const char*) {}

void ICanvas::FreeBitmap(const IBitmapHandle&) {}

bool ICanvas::LoadFontFromFile(const char* fontID, const char* fileName) {
    PlatformFont* font = FontFromResourceFile(fontID, fileName);
    if (!font)
        return false;
    const bool ok = RegisterFont(fontID, font);
    if (ok)
        CachePlatformFont(fontID, font);
    return ok;
}

bool ICanvas::LoadFontFromMemory(const char* fontID, const void* data, int size) {
    PlatformFont* font = FontFromMemory(fontID, data, size);
    if (!font)
        return false;
    const bool ok = RegisterFont(fontID, font);
    if (ok)
        CachePlatformFont(fontID, font);
    return ok;
}

void ICanvas::DropShadowOnLayer(IOffscreenLayer&, const ILayerShadow&) {}

IBitmapHandle ICanvas::LoadScaledBitmap(const char*, int, bool, int) {
    return {};
}

IBitmapHandle ICanvas::LoadScaledBitmapData(const char*, const void*, int, int, bool, int) {
    return {};
}

ISVGHandle ICanvas::LoadSVG(const char*, const char*, float) {
    return {};
}

ISVGHandle ICanvas::LoadSVGData(const char*, const void*, int, const char*, float) {
    return {};
}

VxHeapBuf ICanvas::ReadResourceFile(const char*, const char*) {
    return VxHeapBuf(4096);
}

void ICanvas::ShowValueBubble(IControl*, const char*, int, float, float, const IRECT&) {}

} // namespace vx::ui
