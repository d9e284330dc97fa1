// Loading images into the instance cache and drawing bitmap regions.
#include "render/canvas/ICanvasVG.h"
#include "render/vg/VG.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <string>

namespace vx::ui {

bool ICanvasVG::IsImageExtensionSupported(const char* ext) const {
    if (!ext)
        return false;
    std::string lower(ext); // any length is tested whole
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    for (const char* known : {"png", "jpg", "jpeg"})
        if (lower.find(known) != std::string::npos)
            return true;
    return false;
}

IBitmapHandle ICanvasVG::LoadScaledBitmap(const char* name, int nFrames, bool framesHorizontal,
                                          int target) {
    if (!name || !context)
        return {};
    if (target == 0)
        target = static_cast<int>(std::ceil(screenScale));
    const std::lock_guard lock(bitmaps.Mutex());
    if (APIBitmap* cached = bitmaps.Find(name, target))
        return {cached, name, nFrames, framesHorizontal};
    const char* dot = std::strrchr(name, '.');
    const char* ext = dot ? dot + 1 : name;
    VxString path;
    int found = 0;
    const int location = FindImageResource(name, ext, path, target, found);
    if (location <= 0 || !IsImageExtensionSupported(ext))
        return {};
    // A file found at another scale than the target is cached under the scale
    // found: a second load at the same target takes that entry, not a new decode.
    if (found != target)
        if (APIBitmap* cached = bitmaps.Find(name, found))
            return {cached, name, nFrames, framesHorizontal};
    std::unique_ptr<APIBitmap> fresh = DecodeImageFile(path.Get(), found, location, ext);
    if (!fresh)
        return {};
    APIBitmap* bitmap = fresh.get();
    bitmaps.Add(std::move(fresh), name, found); // under the scale found, not the target
    return {bitmap, name, nFrames, framesHorizontal};
}

IBitmapHandle ICanvasVG::LoadScaledBitmapData(const char* name, const void* data, int size,
                                              int nFrames, bool framesHorizontal, int target) {
    if (!name || !context)
        return {};
    if (target == 0)
        target = static_cast<int>(std::ceil(screenScale));
    const std::lock_guard lock(bitmaps.Mutex());
    for (int scale : {target, 1})
        if (APIBitmap* cached = bitmaps.Find(name, scale))
            return {cached, name, nFrames, framesHorizontal};
    if (!data || size <= 0)
        return {};
    std::unique_ptr<APIBitmap> fresh = DecodeImageData(name, data, size, 1);
    if (!fresh)
        return {};
    APIBitmap* bitmap = fresh.get();
    bitmaps.Add(std::move(fresh), name, 1.0);
    return {bitmap, name, nFrames, framesHorizontal};
}

std::unique_ptr<APIBitmap> ICanvasVG::DecodeImageFile(const char* path, int scale, int location,
                                                      const char*) {
    if (!context)
        return nullptr;
    int image = 0;
    bool opaque = false;
    if (location == 1 && path) {
        BeginContextUse();
        image = vg_create_image_file(context, path, 0, &opaque);
        EndContextUse();
    }
    auto bitmap = std::make_unique<Bitmap>(context, image, float(scale), 1.f);
    bitmap->shared = location == 3;
    bitmap->opaque = opaque;
    return bitmap;
}

std::unique_ptr<APIBitmap> ICanvasVG::DecodeImageData(const char*, const void* data, int size,
                                                      int scale) {
    if (!context || !data || size <= 0)
        return nullptr;
    BeginContextUse();
    bool opaque = false;
    const int image =
        vg_create_image_mem(context, 0, static_cast<const unsigned char*>(data), size, &opaque);
    EndContextUse();
    auto bitmap = std::make_unique<Bitmap>(context, image, float(scale), 1.f);
    bitmap->opaque = opaque;
    return bitmap;
}

void ICanvasVG::HoldBitmap(std::unique_ptr<APIBitmap> bitmap, const char* name) {
    if (!bitmap)
        return;
    const std::lock_guard lock(bitmaps.Mutex());
    const double scale = bitmap->scale;
    bitmaps.Add(std::move(bitmap), name ? name : "", scale);
}

void ICanvasVG::FreeBitmap(const IBitmapHandle& bitmap) {
    ForgetDeviceLayersOf(bitmap.bitmap);
    const std::lock_guard lock(bitmaps.Mutex());
    bitmaps.Remove(bitmap.bitmap);
}

void ICanvasVG::FillImageRect(const Bitmap& a, const IBitmapHandle& b, const IRECT& d, int sx,
                              int sy, const IBlendSetting* blend) {
    const float k = 1.f / (a.scale * a.drawScale);
    const float alpha = blend ? blend->weight : 1.f;
    const VGcolor white = vg_rgba_f(1.f, 1.f, 1.f, alpha);
    VGpaint paint{};
    const float xform[6] = {k, 0.f, 0.f, k, d.L - float(sx), d.T - float(sy)};
    std::copy(std::begin(xform), std::end(xform), paint.xform);
    paint.extent[0] = float(b.W) * a.scale;
    paint.extent[1] = float(b.H) * a.scale;
    paint.innerColor = paint.outerColor = white;
    paint.image = a.image;
    vg_begin_path(context);
    vg_rect(context, d.L, d.T, d.R - d.L, d.B - d.T);
    vg_fill_paint(context, paint);
    PaintPath(vg_fill, blend, false);
}

void ICanvasVG::DrawBitmapRegion(const IBitmapHandle& b, const IRECT& d, int sx, int sy,
                                 const IBlendSetting* blend) {
    const auto* a = dynamic_cast<const Bitmap*>(b.bitmap);
    // An image that could not be decoded draws nothing.
    if (!context || !a || a->image <= 0 || a->scale <= 0.f || a->drawScale <= 0.f)
        return;
    DeviceLayerKey key;
    if (!DeviceLayerKeyFor(*a, b, d, sx, sy, blend, key)) {
        FillImageRect(*a, b, d, sx, sy, blend);
        return;
    }
    const auto found = std::find_if(deviceLayers.begin(), deviceLayers.end(),
                                    [&key](const DeviceLayer& l) { return l.key == key; });
    if (found != deviceLayers.end())
        found->used = true;
    if (found == deviceLayers.end()) {
        deviceLayers.push_back({key, nullptr}); // made when the next frame starts
        FillImageRect(*a, b, d, sx, sy, blend);
        return;
    }
    if (!found->pixels) {
        FillImageRect(*a, b, d, sx, sy, blend);
        return;
    }
    // The device-sized image, one texel a pixel, over the same rectangle.
    const Bitmap& layer = *found->pixels;
    const float k = 1.f / GetTotalScale();
    VGpaint paint{};
    const float xform[6] = {k, 0.f, 0.f, k, 0.f, 0.f};
    std::copy(std::begin(xform), std::end(xform), paint.xform);
    paint.extent[0] = float(layer.width);
    paint.extent[1] = float(layer.height);
    paint.innerColor = paint.outerColor = vg_rgba_f(1.f, 1.f, 1.f, 1.f);
    paint.image = layer.image;
    vg_begin_path(context);
    vg_rect(context, d.L, d.T, d.R - d.L, d.B - d.T);
    vg_fill_paint(context, paint);
    PaintPath(vg_fill, blend, false);
}

} // namespace vx::ui
