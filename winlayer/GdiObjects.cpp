#include "winlayer/GdiRecords.h"

#include <cmath>
#include <cstring>

using namespace winlayer;

namespace {

// Never released: DeleteObject leaves them alone.
HGDIOBJ__ g_nullPen = [] {
    HGDIOBJ__ pen;
    pen.type = kPen;
    pen.width = -1;
    return pen;
}();
HGDIOBJ__ g_nullBrush = [] {
    HGDIOBJ__ brush;
    brush.type = kBrush;
    brush.width = -1;
    return brush;
}();

bool IsStock(HGDIOBJ object) {
    return object == &g_nullPen || object == &g_nullBrush;
}

HGDIOBJ MakeColored(int type, int width, int color, float alpha) {
    HGDIOBJ object = AllocObject(type);
    object->width = width;
    object->colorValue = color;
    object->color = GdiColor::FromValue(color, alpha);
    return object;
}

HGDIOBJ& SlotFor(HDC hdc, int type) {
    return type == kPen ? hdc->pen : type == kBrush ? hdc->brush : hdc->font;
}

} // namespace

namespace winlayer {

HGDIOBJ MakeBitmapObject(ak::Image* image, bool owns) {
    HGDIOBJ object = AllocObject(kBitmap);
    object->image = image;
    object->width = owns ? 1 : 0;
    return object;
}

} // namespace winlayer

HPEN CreatePen(int style, int width, int color) {
    return CreatePenAlpha(style, width, color, 1);
}

HPEN CreatePenAlpha(int, int width, int color, float alpha) {
    return MakeColored(kPen, width < 1 ? 0 : width, color, alpha);
}

HBRUSH CreateSolidBrush(int color) {
    return CreateSolidBrushAlpha(color, 1);
}

HBRUSH CreateSolidBrushAlpha(int color, float alpha) {
    return MakeColored(kBrush, 0, color, alpha);
}

HGDIOBJ GetStockObject(int which) {
    if (which == NULL_PEN_STOCK)
        return &g_nullPen;
    if (which == NULL_BRUSH_STOCK)
        return &g_nullBrush;
    return nullptr;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object) {
    if (!IsValidContext(hdc))
        return nullptr;
    const auto value = reinterpret_cast<std::uintptr_t>(object);
    if (value >= 1 && value <= 3) {
        HGDIOBJ& slot = SlotFor(hdc, static_cast<int>(value));
        HGDIOBJ previous = slot ? slot : object;
        slot = nullptr;
        return previous;
    }
    if (IsPlaceholder(object) || object->inPool || object->type < kPen || object->type > kFont)
        return nullptr;
    HGDIOBJ& slot = SlotFor(hdc, object->type);
    HGDIOBJ previous = slot ? slot : reinterpret_cast<HGDIOBJ>(std::uintptr_t(object->type));
    slot = object;
    return previous;
}

void DeleteObject(HGDIOBJ object) {
    if (IsPlaceholder(object) || IsStock(object) || object->inPool)
        return;
    if (object->extraRefs > 0) {
        --object->extraRefs;
        return;
    }
    FreeObject(object);
}

HGDIOBJ WISP_CloneGDIObject(HGDIOBJ object) {
    if (IsPlaceholder(object) || object->inPool)
        return nullptr;
    if (!IsStock(object))
        ++object->extraRefs;
    return object;
}

int GetObject(HGDIOBJ object, int size, void* out) {
    if (!out || size <= 0)
        return 0;
    std::memset(out, 0, static_cast<size_t>(size));
    if (!IsObjectOfType(object, kBitmap) || !object->image || size < 8)
        return 0;
    BITMAP bitmap{};
    const ak::Size points = object->image->PointSize();
    bitmap.bmWidth = static_cast<LONG>(std::floor(points.width + 0.5));
    bitmap.bmHeight = static_cast<LONG>(std::floor(points.height + 0.5));
    if (size >= static_cast<int>(sizeof(BITMAP))) {
        bitmap.bmWidthBytes = bitmap.bmWidth * 4;
        bitmap.bmPlanes = 1;
        bitmap.bmBitsPixel = 32;
    }
    std::memcpy(out, &bitmap, std::min<size_t>(size_t(size), sizeof bitmap));
    return 1;
}

HBITMAP CreateBitmap(int width, int height, int, int bitsPerPixel, const void* data) {
    if (width <= 0 || height <= 0 || bitsPerPixel != 32 || width > 32768 || height > 32768)
        return nullptr;
    // Source pixels are 0xAARRGGBB; the image keeps them premultiplied.
    auto image = ak::MakeRef<ak::Image>(width, height);
    cairo_surface_t* surface = image->Surface();
    cairo_surface_flush(surface);
    unsigned char* rows = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const auto* source = static_cast<const uint32_t*>(data);
    for (int y = 0; data && y < height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(rows + size_t(y) * stride);
        for (int x = 0; x < width; ++x) {
            row[x] = Premultiplied(source[size_t(y) * width + x]);
        }
    }
    cairo_surface_mark_dirty(surface);
    return MakeBitmapObject(image.Get(), true);
}

HICON CreateIconIndirect(const ICONINFO* info) {
    if (!info || !info->fIcon || !IsObjectOfType(info->hbmColor, kBitmap) || !info->hbmColor->image)
        return nullptr;
    return MakeBitmapObject(info->hbmColor->image.Get(), false);
}

void* GetNSImageFromHICON(HGDIOBJ object) {
    return IsObjectOfType(object, kBitmap) ? object->image.Get() : nullptr;
}
