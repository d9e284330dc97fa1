#pragma once

#include "framework/VxString.h"
#include "toolkit/IDrawingRecords.h"
#include "toolkit/IRECT.h"

struct NSVGimage;

namespace vx::ui {

class IControl;

// A back-end image; deleted through its virtual destructor.
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
};

// A platform font object, handed from the font makers to the back end.
class PlatformFont {
public:
    virtual ~PlatformFont() = default;
};

// A loaded bitmap strip as handed to controls. The bitmap is not owned.
struct IBitmapHandle {
    APIBitmap* bitmap = nullptr;
    int W = 0; // whole image, panel units
    int H = 0;
    int nFrames = 0;
    bool framesHorizontal = false;
    VxString name;

    IBitmapHandle() = default;
    IBitmapHandle(APIBitmap* bmp, const char* resourceName, int frames, bool horizontal)
        : bitmap(bmp), nFrames(frames), framesHorizontal(horizontal), name(resourceName) {
        if (bmp && bmp->scale > 0.f) {
            W = static_cast<int>(static_cast<float>(bmp->width) / bmp->scale);
            H = static_cast<int>(static_cast<float>(bmp->height) / bmp->scale);
        }
    }
    bool IsValid() const { return bitmap != nullptr; }
    int FrameWidth() const { return framesHorizontal && nFrames > 0 ? W / nFrames : W; }
    int FrameHeight() const { return !framesHorizontal && nFrames > 0 ? H / nFrames : H; }
};

struct ISVGHandle {
    NSVGimage* image = nullptr;

    bool IsValid() const { return image != nullptr; }
};

// A bitmap a control drew once and reuses; owns its bitmap.
struct IOffscreenLayer {
    APIBitmap* bitmap = nullptr;
    IControl* owner = nullptr;
    IRECT ownerRect;
    IRECT bounds;
    bool invalidated = false;

    IOffscreenLayer() = default;
    ~IOffscreenLayer() { delete bitmap; }
    IOffscreenLayer(const IOffscreenLayer&) = delete;
    IOffscreenLayer& operator=(const IOffscreenLayer&) = delete;

    // Deletes an owned layer with its bitmap and clears the pointer that held it.
    static void Delete(IOffscreenLayer*& layer) {
        delete layer;
        layer = nullptr;
    }
};

struct ILayerShadow {
    IFillPattern pattern;
    float blurSize = 0.f;
    float xOffset = 0.f;
    float yOffset = 0.f;
    float opacity = 1.f;
    bool drawForeground = true;
};

} // namespace vx::ui
