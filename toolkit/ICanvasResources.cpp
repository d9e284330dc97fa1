// Bitmaps at the screen's scale through the shared bitmap cache, SVG images
// through the shared SVG cache, resource files and fonts.
#include "toolkit/ICanvas.h"

#include "platform/sys/File.h"
#include "platform/sys/Log.h"
#include "toolkit/ResourceCache.h"
#include "toolkit/ResourcePath.h"
#include "toolkit/svg/SvgImage.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace vx::ui {

namespace {

// Target first, then 3, then down from the last scale tried, skipping the target.
std::vector<int> ScaleSearchOrder(int target) {
    std::vector<int> order;
    if (target <= 0)
        return order;
    order.push_back(target);
    int s = target;
    if (target != 3) {
        order.push_back(3);
        s = 3;
    }
    for (--s; s > 0; --s)
        if (s != target)
            order.push_back(s);
    return order;
}

// "knob.png" at scale 2 is "knob@2x.png"; the extension starts after the last
// dot that follows the last path separator.
std::string ScaledName(const std::string& name, int scale) {
    if (scale == 1)
        return name;
    const size_t sep = name.find_last_of("/\\");
    const size_t dot = name.rfind('.');
    const bool hasExt = dot != std::string::npos && (sep == std::string::npos || dot > sep);
    const std::string base = hasExt ? name.substr(0, dot) : name;
    const std::string ext = hasExt ? name.substr(dot) : "";
    return base + "@" + std::to_string(scale) + "x" + ext;
}

struct CacheUse {
    std::lock_guard<std::recursive_mutex> lock{BitmapCache().Mutex()};
};

} // namespace

ICanvas::ICanvas(ICanvasEditorDelegate& delegate, int width, int height, int fps, float drawScale)
    : delegate(delegate), width(width), height(height), fps(fps), drawScale(drawScale) {
    const std::lock_guard bitmaps(BitmapCache().Mutex());
    const std::lock_guard svgs(SVGCache().Mutex());
    ++BitmapCache().users;
    ++SVGCache().users;
}

ICanvas::~ICanvas() {
    cursorHidden = false;
    RemoveAllControls();
    layerStack.clear();
    const std::lock_guard bitmaps(BitmapCache().Mutex());
    const std::lock_guard svgs(SVGCache().Mutex());
    if (--BitmapCache().users == 0)
        BitmapCache().Clear();
    if (--SVGCache().users == 0)
        SVGCache().Clear();
}

int ICanvas::FindImageResource(const char* name, const char* ext, VxString& path, int target,
                               int& foundScale) {
    for (int s : ScaleSearchOrder(target)) {
        const std::string candidate = ScaledName(name ? name : "", s);
        if (FindResourcePath(candidate.c_str(), ext, path, ResourceBundleId(), nullptr,
                             resourceSubPath.Get())) {
            foundScale = s;
            return 1;
        }
    }
    return 0;
}

APIBitmap* ICanvas::FindCachedBitmap(const char* name, int target, int& foundScale) {
    const CacheUse use;
    for (int s : ScaleSearchOrder(target))
        if (APIBitmap* bitmap = BitmapCache().Find(name, s)) {
            foundScale = s;
            return bitmap;
        }
    return nullptr;
}

IBitmapHandle ICanvas::LoadScaledBitmap(const char* name, int nFrames, bool framesHorizontal,
                                        int target) {
    if (!name)
        return {};
    if (target == 0)
        target = static_cast<int>(std::ceil(screenScale));
    const CacheUse use;
    if (APIBitmap* cached = BitmapCache().Find(name, target))
        return {cached, name, nFrames, framesHorizontal};

    const char* dot = std::strrchr(name, '.');
    const char* ext = dot ? dot + 1 : name;
    if (!IsImageExtensionSupported(ext))
        return {};

    VxString path;
    int found = 0;
    std::unique_ptr<APIBitmap> fresh;
    APIBitmap* bitmap = nullptr;
    if (const int location = FindImageResource(name, ext, path, target, found); location > 0) {
        bitmap = found != target ? BitmapCache().Find(name, found) : nullptr;
        if (!bitmap) {
            fresh = DecodeImageFile(path.Get(), found, location, ext);
            bitmap = fresh.get();
        }
    } else {
        bitmap = FindCachedBitmap(name, target, found);
    }
    return KeepLoadedBitmap(bitmap, std::move(fresh), name, nFrames, framesHorizontal, target);
}

IBitmapHandle ICanvas::LoadScaledBitmapData(const char* name, const void* data, int size,
                                            int nFrames, bool framesHorizontal, int target) {
    if (!name)
        return {};
    if (target == 0)
        target = static_cast<int>(std::ceil(screenScale));
    const CacheUse use;
    if (APIBitmap* cached = BitmapCache().Find(name, target))
        return {cached, name, nFrames, framesHorizontal};
    int found = 0;
    APIBitmap* bitmap = FindCachedBitmap(name, target, found);
    std::unique_ptr<APIBitmap> fresh;
    if (!bitmap && data && size > 0) {
        fresh = DecodeImageData(name, data, size, 1);
        bitmap = fresh.get();
    }
    return KeepLoadedBitmap(bitmap, std::move(fresh), name, nFrames, framesHorizontal, target);
}

IBitmapHandle ICanvas::KeepLoadedBitmap(APIBitmap* bitmap, std::unique_ptr<APIBitmap> fresh,
                                        const char* name, int nFrames, bool framesHorizontal,
                                        int target) {
    // Missing or undecodable: nothing is cached, so the next load tries again.
    if (!bitmap)
        return {};
    const IBitmapHandle handle(bitmap, name, nFrames, framesHorizontal);
    if (bitmap->scale == float(target)) {
        HoldBitmap(std::move(fresh), name);
        return handle;
    }
    return RescaleBitmap(handle, name, target); // only the copy stays cached
}

IBitmapHandle ICanvas::RescaleBitmap(const IBitmapHandle& source, const char* name, int target) {
    if (!source.bitmap)
        return {};
    const float savedScreen = screenScale, savedDraw = drawScale;
    screenScale = float(target);
    const float sourceDraw = source.bitmap->drawScale > 0.f ? source.bitmap->drawScale : 1.f;
    drawScale = sourceDraw;
    const IRECT bounds{0.f, 0.f, float(source.W) / sourceDraw, float(source.H) / sourceDraw};
    BeginOffscreenLayer(nullptr, bounds, true);
    IBitmapHandle result;
    if (!layerStack.empty() && layerStack.back()->bitmap) {
        DrawBitmapRegion(source, bounds, 0, 0, nullptr);
        ILayerPtr layer = PopLayerTarget();
        result = IBitmapHandle(layer->bitmap.get(), name, source.nFrames, source.framesHorizontal);
        HoldBitmap(std::move(layer->bitmap), name);
    } else {
        PopLayerTarget();
    }
    screenScale = savedScreen;
    drawScale = savedDraw;
    return result;
}

void ICanvas::HoldBitmap(std::unique_ptr<APIBitmap> bitmap, const char* name) {
    if (!bitmap)
        return;
    const CacheUse use;
    const double scale = bitmap->scale;
    BitmapCache().Add(std::move(bitmap), name, scale);
}

void ICanvas::FreeBitmap(const IBitmapHandle& bitmap) {
    const CacheUse use;
    BitmapCache().Remove(bitmap.bitmap);
}

IBitmapHandle ICanvas::LoadBitmap(const IBitmapHandle& bitmap) {
    return LoadScaledBitmap(bitmap.name.Get(), bitmap.nFrames, bitmap.framesHorizontal,
                            static_cast<int>(std::ceil(screenScale)));
}

ISVGHandle ICanvas::LoadSVG(const char* name, const char* units, float dpi) {
    if (!name)
        return {};
    const std::lock_guard lock(SVGCache().Mutex());
    if (const svg::Image* cached = SVGCache().Find(name, 1.0))
        return {cached};
    const VxHeapBuf bytes = ReadResourceFile(name, "svg");
    if (bytes.GetSize() == 0)
        return {};
    return LoadSVGData(name, bytes.Get(), bytes.GetSize(), units, dpi);
}

ISVGHandle ICanvas::LoadSVGData(const char* name, const void* data, int size, const char* units,
                                float dpi) {
    if (!name || !data)
        return {};
    const std::lock_guard lock(SVGCache().Mutex());
    if (const svg::Image* cached = SVGCache().Find(name, 1.0))
        return {cached};
    const char* text = static_cast<const char*>(data);
    const size_t length = size > 0 ? strnlen(text, static_cast<size_t>(size)) : std::strlen(text);
    svg::ParseResult parsed = svg::Parse(text, length, units, dpi);
    if (!parsed.image) {
        sys::LogError(std::string("SVG \"") + name + "\": " + parsed.error);
        return {};
    }
    const svg::Image* image = parsed.image.get();
    SVGCache().Add(std::move(parsed.image), name, 1.0);
    return {image};
}

VxHeapBuf ICanvas::ReadResourceFile(const char* name, const char* type) {
    VxHeapBuf bytes(4096);
    VxString path;
    if (!FindResourcePath(name, type, path, ResourceBundleId(), nullptr, resourceSubPath.Get()))
        return bytes;
    const sys::UniqueFile file = sys::OpenFile(path.Get(), "rb");
    if (!file)
        return bytes;
    long size = -1;
    if (std::fseek(file.get(), 0, SEEK_END) == 0)
        size = std::ftell(file.get());
    if (size <= 0 || size > 0x7fffffff || std::fseek(file.get(), 0, SEEK_SET) != 0)
        return bytes;
    bytes.Resize(static_cast<int>(size));
    if (bytes.GetSize() != size || std::fread(bytes.Get(), 1, static_cast<size_t>(size),
                                              file.get()) != static_cast<size_t>(size))
        bytes.Resize(0);
    return bytes;
}

bool ICanvas::KeepRegisteredFont(const char* fontID, std::unique_ptr<PlatformFont> font) {
    if (!font)
        return false;
    const bool ok = RegisterFont(fontID, *font);
    if (ok)
        CachePlatformFont(fontID, std::move(font));
    return ok; // an unregistered font is freed here
}

bool ICanvas::LoadFontFromFile(const char* fontID, const char* fileName) {
    return KeepRegisteredFont(fontID, FontFromResourceFile(fontID, fileName));
}

bool ICanvas::LoadFontFromMemory(const char* fontID, const void* data, int size) {
    return KeepRegisteredFont(fontID, FontFromMemory(fontID, data, size));
}

bool ICanvas::LoadFontFromFamilyStyle(const char* fontID, const char* family, const char* style) {
    return KeepRegisteredFont(fontID, FontFromFamilyStyle(fontID, family, style));
}

} // namespace vx::ui
