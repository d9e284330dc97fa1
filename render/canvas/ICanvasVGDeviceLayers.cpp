// Whole-window images filtered once per scale into device-sized images that
// frames copy 1:1.
#include "render/canvas/ICanvasVG.h"
#include "render/vg/VG.h"

#include <algorithm>
#include <cmath>

namespace vx::ui {

namespace {

// Layers together stay under this many bytes (a 3840 x 2400 one is 37 MB).
constexpr long long kDeviceLayerBytes = 160LL << 20;

bool IsWhole(float v) {
    return std::isfinite(v) && v == std::floor(v);
}

// At a power-of-two scale device coordinates are exact.
bool IsPowerOfTwo(float s) {
    int exponent = 0;
    return s > 0.f && std::frexp(s, &exponent) == 0.5f;
}

} // namespace

void ICanvasVG::SetDeviceLayers(bool on) {
    useDeviceLayers = on;
    if (!on)
        deviceLayers.clear();
}

// The copy is exact only where the image's pixels are final: an opaque image
// at full weight, source-over, every pixel of the rectangle covered whole (its
// edges on device pixels), drawn straight into the panel. Any other draw goes
// the usual way.
bool ICanvasVG::DeviceLayerKeyFor(const Bitmap& a, const IBitmapHandle& b, const IRECT& d, int sx,
                                  int sy, const IBlendSetting* blend, DeviceLayerKey& key) const {
    if (!useDeviceLayers || !inFrame || !a.opaque || TopLayer() || !backBuffer)
        return false;
    if (blend && !(*blend == IBlendSetting{}))
        return false;
    if (!(GetTransform() == IAffineMatrix()))
        return false;
    const float s = GetTotalScale();
    if (!IsPowerOfTwo(s) || a.scale * a.drawScale == s) // 1:1 already
        return false;
    if (!IsWhole(d.L * s) || !IsWhole(d.T * s) || !IsWhole(d.R * s) || !IsWhole(d.B * s))
        return false;
    // Whole-window images only: at least half the panel.
    const IRECT seen = d.Intersect(GetBounds());
    if (seen.W() * seen.H() * 2.f < float(width) * float(height))
        return false;
    key = {&a,
           a.image,
           b.W,
           b.H,
           sx,
           sy,
           d,
           s,
           static_cast<int>(float(BackBufferWidth()) * screenScale),
           static_cast<int>(float(BackBufferHeight()) * screenScale)};
    return key.deviceW > 0 && key.deviceH > 0;
}

void ICanvasVG::PrepareDeviceLayers() {
    const float s = GetTotalScale();
    const int w = static_cast<int>(float(BackBufferWidth()) * screenScale);
    const int h = static_cast<int>(float(BackBufferHeight()) * screenScale);
    std::erase_if(deviceLayers, [&](const DeviceLayer& l) {
        return !l.used || l.key.scale != s || l.key.deviceW != w || l.key.deviceH != h;
    });
    for (DeviceLayer& layer : deviceLayers)
        layer.used = false;
    long long bytes = 0;
    for (DeviceLayer& layer : deviceLayers) {
        if (layer.pixels) {
            bytes += 4LL * w * h;
            continue;
        }
        if (bytes + 4LL * w * h > kDeviceLayerBytes)
            continue; // drawn the usual way
        const auto* source = dynamic_cast<const Bitmap*>(layer.key.source);
        auto pixels = std::make_unique<Bitmap>(this, w, h, screenScale, drawScale);
        if (!source || !pixels->offscreen || pixels->image <= 0)
            continue;
        // The same draw the panel would make, into a panel-sized target.
        vgmtl_bind_offscreen(pixels->offscreen);
        BeginPanelFrame();
        vg_reset_transform(context);
        vg_scale(context, drawScale, drawScale);
        IBitmapHandle handle(const_cast<Bitmap*>(source), "", 1, false);
        handle.W = layer.key.w;
        handle.H = layer.key.h;
        FillImageRect(*source, handle, layer.key.dest, layer.key.srcX, layer.key.srcY, nullptr);
        vg_end_frame(context);
        vgmtl_bind_offscreen(nullptr);
        layer.pixels = std::move(pixels);
        bytes += 4LL * w * h;
        ++deviceLayersMade;
    }
}

void ICanvasVG::ForgetDeviceLayersOf(const APIBitmap* source) {
    std::erase_if(deviceLayers, [source](const DeviceLayer& l) { return l.key.source == source; });
}

} // namespace vx::ui
