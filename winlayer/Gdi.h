#pragma once

#include "winlayer/WinTypes.h"

#include <cairo.h>

// Drawing contexts and GDI objects over cairo: pens, brushes, fonts and
// bitmaps selected into contexts, shapes, fills, copies, images and image
// lists. Colours are 0x00RRGGBB. Objects and memory contexts may be made and
// deleted on any thread; a context is drawn into by one thread at a time.

struct HDC__;
using HDC = HDC__*;
struct HGDIOBJ__;
using HGDIOBJ = HGDIOBJ__*;
using HPEN = HGDIOBJ;
using HBRUSH = HGDIOBJ;
using HFONT = HGDIOBJ;
using HBITMAP = HGDIOBJ;
using HICON = HGDIOBJ;
struct ImageList;
using HIMAGELIST = ImageList*;

struct BITMAP {
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    void* bmBits;
};

struct ICONINFO {
    BOOL fIcon;
    DWORD xHotspot;
    DWORD yHotspot;
    HBITMAP hbmMask;
    HBITMAP hbmColor;
};

// Stock objects.
inline constexpr int NULL_PEN_STOCK = 1;
inline constexpr int NULL_BRUSH_STOCK = 2;
// Mode of StretchBlt taking the source's high byte as straight alpha.
inline constexpr DWORD WISP_BLT_ALPHA = 0xdeadbeef;

// Contexts. GetDC draws on a window view outside its paint until ReleaseDC;
// null while the view is not on screen.
HDC GetDC(HWND window);
HDC GetWindowDC(HWND window);
int ReleaseDC(HWND window, HDC hdc);
HDC WISP_CreateMemContext(HDC reference, int width, int height);
// Around a cairo context someone else owns (a view's DrawRect).
HDC WISP_WrapGraphicsContext(cairo_t* context);
HDC WISP_CreateMetalDC(HWND view);
void WISP_DeleteGfxContext(HDC hdc);
cairo_t* WISP_GetCtxGC(HDC hdc);
void* WISP_GetCtxFrameBuffer(HDC hdc);
BOOL WISP_IsRetinaDC(HDC hdc);
void WISP_PushClipRegion(HDC hdc);
void WISP_SetClipRegion(HDC hdc, const RECT* rect);
void WISP_PopClipRegion(HDC hdc);

// Objects.
HPEN CreatePen(int style, int width, int color);
HPEN CreatePenAlpha(int style, int width, int color, float alpha);
HBRUSH CreateSolidBrush(int color);
HBRUSH CreateSolidBrushAlpha(int color, float alpha);
HGDIOBJ GetStockObject(int which);
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object);
void DeleteObject(HGDIOBJ object);
HGDIOBJ WISP_CloneGDIObject(HGDIOBJ object);
int GetObject(HGDIOBJ object, int size, void* out);
HBITMAP CreateBitmap(int width, int height, int planes, int bitsPerPixel, const void* data);
HICON CreateIconIndirect(const ICONINFO* info);
HBITMAP LoadNamedImage(const char* name, bool magentaTransparent);
// The bitmap's image (an ak::Image*), or null.
void* GetNSImageFromHICON(HGDIOBJ object);
void DrawImageInRect(HDC hdc, HGDIOBJ bitmap, const RECT* rect);

HIMAGELIST ImageList_CreateEx();
int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask);
int ImageList_ReplaceIcon(HIMAGELIST list, int index, HICON icon);
BOOL ImageList_Remove(HIMAGELIST list, int index);
void ImageList_Destroy(HIMAGELIST list);
// The image in a slot (null when empty or out of range).
HBITMAP WISP_ImageList_GetImage(HIMAGELIST list, int index);
int ImageList_GetImageCount(HIMAGELIST list);

// Drawing.
BOOL MoveToEx(HDC hdc, int x, int y, POINT* old);
BOOL LineTo(HDC hdc, int x, int y);
BOOL PolyBezierTo(HDC hdc, const POINT* points, int count);
BOOL PolyPolyline(HDC hdc, const POINT* points, const DWORD* counts, int polylines);
BOOL WISP_Polygon(HDC hdc, const POINT* points, int count);
BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int width, int height);
BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom);
BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom);
void WISP_FillRect(HDC hdc, const RECT* rect, HBRUSH brush);
void SetPixel(HDC hdc, int x, int y, int color);
void BitBlt(HDC destination, int x, int y, int width, int height, HDC source, int sx, int sy,
            DWORD mode);
void StretchBlt(HDC destination, int x, int y, int width, int height, HDC source, int sx, int sy,
                int sw, int sh, DWORD mode);
void WISP_FillDialogBackground(HDC hdc, const RECT* rect);

int GetSysColor(int index);
bool WISP_osx_is_dark_mode(int mode);

namespace winlayer {

// Static text on a dark appearance: white text on the window background; the
// brush (made once) or null when the appearance is light or hdc invalid.
HBRUSH DarkStaticColors(HDC hdc);

} // namespace winlayer
