#pragma once

// The records behind HDC and HGDIOBJ handles, their pools and validity rules.

#include "platform/ak/Image.h"
#include "platform/ak/Object.h"
#include "winlayer/draw/FontFace.h"
#include "winlayer/draw/Gdi.h"
#include "winlayer/metal/MetalFrame.h"

#include <cstdint>
#include <memory>

namespace winlayer {

struct GdiColor {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 1;

    static GdiColor FromValue(int value, double alpha = 1);
    void SetSource(cairo_t* cr) const { cairo_set_source_rgba(cr, red, green, blue, alpha); }
};

enum GdiType : int { kPen = 1, kBrush = 2, kFont = 3, kBitmap = 4 };

// Where a context's cairo context came from, so release does the right thing.
enum class ContextOrigin { Wrapped, Memory, Window, Metal };

} // namespace winlayer

struct HGDIOBJ__ {
    int type = 0;
    int extraRefs = 0;
    winlayer::GdiColor color;
    // Pens: pixels (0 draws as 1); -1 marks the null pen and brush; bitmaps:
    // 1 when the object owns its image.
    int width = 0;
    int colorValue = 0;
    ak::Ref<ak::Image> image;
    bool inPool = false;
    HGDIOBJ__* next = nullptr;
    std::shared_ptr<const winlayer::FontFace> font;
};

struct HDC__ {
    cairo_t* cr = nullptr;
    std::unique_ptr<unsigned char[]> buffer;
    unsigned char* pixels = nullptr; // 64-byte aligned, in buffer
    int width = 0;
    int height = 0;
    HGDIOBJ pen = nullptr;
    HGDIOBJ brush = nullptr;
    HGDIOBJ font = nullptr;
    int textColor = 0;
    int bkColor = 0xFFFFFF;
    int bkMode = 0;
    float currentX = 0;
    float currentY = 0;
    bool inPool = false;
    HDC__* next = nullptr;
    bool hasTextColor = false;
    winlayer::GdiColor textColorRGB;
    winlayer::ContextOrigin origin = winlayer::ContextOrigin::Wrapped;
    HWND window = nullptr; // GetDC's window, for ReleaseDC
    // A Metal-target context has no cairo context: fills go to the view's frame.
    winlayer::PixelUploadTarget* metal = nullptr;
};

namespace winlayer {

// Pools of released records: 100 contexts, 200 objects; the rest is freed.
HDC AllocContext();
void FreeContext(HDC hdc);
HGDIOBJ AllocObject(int type);
void FreeObject(HGDIOBJ object);
// The pool size now, for tests.
int PooledObjectCount();

inline bool IsPlaceholder(const void* handle) {
    return reinterpret_cast<std::uintptr_t>(handle) <= 4;
}
inline bool IsValidContext(HDC hdc) {
    return hdc && !hdc->inPool;
}
inline bool IsObjectOfType(HGDIOBJ object, int type) {
    return !IsPlaceholder(object) && !object->inPool && object->type == type;
}
inline bool IsDrawablePen(HGDIOBJ pen) {
    return IsObjectOfType(pen, kPen) && pen->width >= 0;
}
inline bool IsFillableBrush(HGDIOBJ brush) {
    return IsObjectOfType(brush, kBrush) && brush->width >= 0;
}
// A context that can take drawing now.
inline cairo_t* DrawingContext(HDC hdc) {
    return IsValidContext(hdc) ? hdc->cr : nullptr;
}

// 0xAARRGGBB with straight alpha as cairo keeps it: premultiplied.
inline uint32_t Premultiplied(uint32_t argb) {
    const uint32_t a = argb >> 24;
    auto scale = [a](uint32_t c) { return (c * a + 127) / 255; };
    return (a << 24) | (scale((argb >> 16) & 0xFF) << 16) | (scale((argb >> 8) & 0xFF) << 8) |
           scale(argb & 0xFF);
}

// A Metal-target context over a view's frame.
HDC NewMetalContext(PixelUploadTarget* target);
inline PixelUploadTarget* MetalTarget(HDC hdc) {
    return IsValidContext(hdc) ? hdc->metal : nullptr;
}
// A GDI colour value or a brush's colour as a premultiplied frame pixel.
uint32_t FramePixel(const GdiColor& color);

// A new bitmap object holding the image; owns marks it as the image's owner.
HGDIOBJ MakeBitmapObject(ak::Image* image, bool owns);

} // namespace winlayer
