#include "winlayer/GdiRecords.h"
#include "winlayer/NamedFiles.h"

#include <vector>

using namespace winlayer;

struct ImageList {
    std::vector<HGDIOBJ> images; // null: a removed image's slot
};

namespace {

bool IsMagenta(uint32_t pixel) {
    return pixel == 0xFFFF00FF;
}

// A copy without the magenta key, or null when no pixel had it.
ak::Ref<ak::Image> WithoutMagenta(const ak::Image& image) {
    ak::Ref<ak::Image> copy = image.Copy();
    cairo_surface_t* surface = copy->Surface();
    cairo_surface_flush(surface);
    unsigned char* rows = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    int cleared = 0;
    for (int y = 0; y < copy->PixelHeight(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(rows + size_t(y) * stride);
        for (int x = 0; x < copy->PixelWidth(); ++x)
            if (IsMagenta(row[x])) {
                row[x] = 0;
                ++cleared;
            }
    }
    cairo_surface_mark_dirty(surface);
    return cleared ? copy : ak::Ref<ak::Image>();
}

} // namespace

HBITMAP LoadNamedImage(const char* name, bool magentaTransparent) {
    if (!name || !*name)
        return nullptr;
    ak::Ref<ak::Image> image;
    for (const std::string& path : NamedFileCandidates(name, ".png"))
        if ((image = ak::Image::FromFile(path)))
            break;
    if (!image)
        return nullptr;
    if (magentaTransparent)
        if (ak::Ref<ak::Image> keyed = WithoutMagenta(*image))
            image = keyed;
    return MakeBitmapObject(image.Get(), true);
}

void DrawImageInRect(HDC hdc, HGDIOBJ bitmap, const RECT* rect) {
    cairo_t* cr = DrawingContext(hdc);
    if (!cr || !rect || !IsObjectOfType(bitmap, kBitmap) || !bitmap->image)
        return;
    const ak::Image& image = *bitmap->image;
    const ak::Size size = image.PointSize();
    if (size.width <= 0 || size.height <= 0)
        return;
    cairo_save(cr);
    cairo_translate(cr, rect->left, rect->top);
    cairo_scale(cr, (rect->right - rect->left) / size.width,
                (rect->bottom - rect->top) / size.height);
    cairo_set_source_surface(cr, image.Surface(), 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
}

HIMAGELIST ImageList_CreateEx() {
    return new ImageList;
}

int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP) {
    if (!list || !IsObjectOfType(image, kBitmap) || !image->image)
        return -1;
    list->images.push_back(MakeBitmapObject(image->image->Copy().Get(), true));
    return static_cast<int>(list->images.size()) - 1;
}

int ImageList_ReplaceIcon(HIMAGELIST list, int index, HICON icon) {
    if (!list || !IsObjectOfType(icon, kBitmap))
        return -1;
    HGDIOBJ shared = MakeBitmapObject(icon->image.Get(), false);
    if (index < 0 || index >= static_cast<int>(list->images.size())) {
        list->images.push_back(shared);
        return static_cast<int>(list->images.size()) - 1;
    }
    if (HGDIOBJ old = list->images[size_t(index)])
        DeleteObject(old);
    list->images[size_t(index)] = shared;
    return index;
}

BOOL ImageList_Remove(HIMAGELIST list, int index) {
    if (!list)
        return FALSE;
    if (index < 0) {
        for (HGDIOBJ image : list->images)
            if (image)
                DeleteObject(image);
        list->images.clear();
        return TRUE;
    }
    if (index >= static_cast<int>(list->images.size()))
        return FALSE;
    if (HGDIOBJ& image = list->images[size_t(index)]) {
        DeleteObject(image);
        image = nullptr;
    }
    return TRUE;
}

void ImageList_Destroy(HIMAGELIST list) {
    if (!list)
        return;
    ImageList_Remove(list, -1);
    delete list;
}

HBITMAP WISP_ImageList_GetImage(HIMAGELIST list, int index) {
    if (!list || index < 0 || index >= static_cast<int>(list->images.size()))
        return nullptr;
    return list->images[size_t(index)];
}

int ImageList_GetImageCount(HIMAGELIST list) {
    return list ? static_cast<int>(list->images.size()) : 0;
}
