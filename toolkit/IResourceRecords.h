#pragma once

#include "framework/VxString.h"
#include "platform/text/FontDescriptor.h"
#include "platform/text/FontFileData.h"
#include "toolkit/IDrawingRecords.h"
#include "toolkit/IRECT.h"

#include <memory>

namespace vx::ui {

namespace svg {
struct Image;
}

class IControl;

// A back-end image; deleted through its virtual destructor. It owns what it
// holds and never calls back into a graphics context, so the shared cache may
// delete it after the context that made it is gone.
class APIBitmap {
public:
    APIBitmap(int pixelWidth, int pixelHeight, float scale, float drawScale)
        : width(pixelWidth), height(pixelHeight), scale(scale), drawScale(drawScale) {}
    virtual ~APIBitmap() = default;
    APIBitmap(const APIBitmap&) = delete;
    APIBitmap& operator=(const APIBitmap&) = delete;

    int width;
    int height;
    float scale;
    float drawScale;
    // Every pixel's alpha is full; decided once when the image is made.
    bool opaque = false;
};

// A platform font object, made by the font makers; the context keeps it once
// the back end registered it.
class PlatformFont {
public:
    explicit PlatformFont(bool system = false) : system(system) {}
    virtual ~PlatformFont() = default;
    // Null when the platform keeps no descriptor for the font.
    virtual std::shared_ptr<const text::FontDescriptor> GetDescriptor() const { return nullptr; }
    // A fresh copy of the font's bytes, parsed; null when it has none.
    virtual std::unique_ptr<text::FontFileData> GetFontData() const { return nullptr; }

    bool system; // an installed font found by family and style
};

// A loaded bitmap strip as handed to controls. The bitmap is not owned. An
// empty handle (nothing found or decodable) has no bitmap, sizes 0 and one frame.
struct IBitmapHandle {
    APIBitmap* bitmap = nullptr;
    int W = 0; // whole image, panel units
    int H = 0;
    int nFrames = 1;
    bool framesHorizontal = false;
    VxString name;

    IBitmapHandle() = default;
    IBitmapHandle(APIBitmap* bmp, const char* resourceName, int frames, bool horizontal)
        : bitmap(bmp), nFrames(frames), framesHorizontal(horizontal),
          name(resourceName ? resourceName : "") {
        if (bmp && bmp->scale > 0.f) {
            W = static_cast<int>(static_cast<float>(bmp->width) / bmp->scale);
            H = static_cast<int>(static_cast<float>(bmp->height) / bmp->scale);
        }
    }
    bool IsValid() const { return bitmap != nullptr; }
    int FrameWidth() const { return framesHorizontal && nFrames > 0 ? W / nFrames : W; }
    int FrameHeight() const { return !framesHorizontal && nFrames > 0 ? H / nFrames : H; }
};

// A parsed SVG image held by the shared SVG cache; not owned.
struct ISVGHandle {
    const svg::Image* image = nullptr;

    bool IsValid() const { return image != nullptr; }
};

// A bitmap a control drew once and reuses; owns its bitmap.
struct IOffscreenLayer {
    std::unique_ptr<APIBitmap> bitmap;
    IControl* owner = nullptr;
    IRECT ownerRect;
    IRECT bounds;
    bool invalidated = false;
};

using ILayerPtr = std::unique_ptr<IOffscreenLayer>;

struct ILayerShadow {
    IFillPattern pattern;
    float blurSize = 0.f;
    float xOffset = 0.f;
    float yOffset = 0.f;
    float opacity = 1.f;
    bool drawForeground = true;
};

} // namespace vx::ui
