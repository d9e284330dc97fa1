#include "winlayer/draw/GdiRecords.h"

#include <algorithm>
#include <cstdlib>

using namespace winlayer;

namespace {

double StrokeWidth(HGDIOBJ pen) {
    return pen->width > 0 ? pen->width : 1;
}

void Stroke(cairo_t* cr, HGDIOBJ pen) {
    cairo_set_line_width(cr, StrokeWidth(pen));
    pen->color.SetSource(cr);
    cairo_stroke(cr);
}

// Fills with the selected brush and strokes with the selected pen the path
// `trace` makes; false when neither can draw.
template <class Trace>
bool FillAndStroke(HDC hdc, Trace trace) {
    cairo_t* cr = DrawingContext(hdc);
    if (!cr)
        return false;
    const bool fill = IsFillableBrush(hdc->brush);
    const bool stroke = IsDrawablePen(hdc->pen);
    if (!fill && !stroke)
        return false;
    cairo_save(cr);
    if (fill) {
        trace(cr, 0.0);
        cairo_close_path(cr);
        hdc->brush->color.SetSource(cr);
        cairo_fill(cr);
    }
    if (stroke) {
        trace(cr, StrokeWidth(hdc->pen));
        Stroke(cr, hdc->pen);
    }
    cairo_restore(cr);
    return true;
}

// A filled run on a Metal target, the rectangle given by two corners it covers.
void MetalRun(PixelUploadTarget* metal, int x0, int y0, int x1, int y1, int thickness,
              const GdiColor& color) {
    MetalFill(metal, std::min(x0, x1), std::min(y0, y1), std::abs(x1 - x0) + thickness,
              std::abs(y1 - y0) + thickness, FramePixel(color));
}

} // namespace

BOOL MoveToEx(HDC hdc, int x, int y, POINT* old) {
    if (!IsValidContext(hdc))
        return FALSE;
    if (old)
        *old = {static_cast<int>(hdc->currentX), static_cast<int>(hdc->currentY)};
    hdc->currentX = static_cast<float>(x);
    hdc->currentY = static_cast<float>(y);
    return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y) {
    if (PixelUploadTarget* metal = MetalTarget(hdc)) {
        if (!IsDrawablePen(hdc->pen))
            return FALSE;
        // Only axis-parallel lines, as one-pixel runs covering both ends.
        const int x0 = static_cast<int>(hdc->currentX), y0 = static_cast<int>(hdc->currentY);
        if (x0 == x || y0 == y)
            MetalRun(metal, x0, y0, x, y, 1, hdc->pen->color);
        hdc->currentX = static_cast<float>(x);
        hdc->currentY = static_cast<float>(y);
        return TRUE;
    }
    cairo_t* cr = DrawingContext(hdc);
    if (!cr || !IsDrawablePen(hdc->pen))
        return FALSE;
    // Centred on the pixels the Win32 line covers.
    const double half = StrokeWidth(hdc->pen) / 2;
    cairo_save(cr);
    cairo_move_to(cr, hdc->currentX + half, hdc->currentY + half);
    cairo_line_to(cr, x + half, y + half);
    Stroke(cr, hdc->pen);
    cairo_restore(cr);
    hdc->currentX = static_cast<float>(x);
    hdc->currentY = static_cast<float>(y);
    return TRUE;
}

BOOL PolyBezierTo(HDC hdc, const POINT* points, int count) {
    cairo_t* cr = DrawingContext(hdc);
    if (!cr || !points || count < 3 || !IsDrawablePen(hdc->pen))
        return FALSE;
    cairo_save(cr);
    cairo_move_to(cr, hdc->currentX, hdc->currentY);
    int i = 0;
    for (; i + 2 < count; i += 3)
        cairo_curve_to(cr, points[i].x, points[i].y, points[i + 1].x, points[i + 1].y,
                       points[i + 2].x, points[i + 2].y);
    Stroke(cr, hdc->pen);
    cairo_restore(cr);
    hdc->currentX = static_cast<float>(points[i - 1].x);
    hdc->currentY = static_cast<float>(points[i - 1].y);
    return TRUE;
}

BOOL PolyPolyline(HDC hdc, const POINT* points, const DWORD* counts, int polylines) {
    cairo_t* cr = DrawingContext(hdc);
    if (!cr || !points || !counts || polylines <= 0 || !IsDrawablePen(hdc->pen))
        return FALSE;
    const double half = StrokeWidth(hdc->pen) / 2;
    cairo_save(cr);
    cairo_new_path(cr);
    const POINT* p = points;
    for (int line = 0; line < polylines; p += counts[line], ++line) {
        if (counts[line] < 2)
            continue;
        cairo_move_to(cr, p[0].x + half, p[0].y + half);
        for (DWORD i = 1; i < counts[line]; ++i)
            cairo_line_to(cr, p[i].x + half, p[i].y + half);
    }
    Stroke(cr, hdc->pen);
    cairo_restore(cr);
    return TRUE;
}

BOOL WISP_Polygon(HDC hdc, const POINT* points, int count) {
    if (!points || count < 2)
        return FALSE;
    return FillAndStroke(hdc, [&](cairo_t* cr, double) {
        cairo_new_path(cr);
        cairo_move_to(cr, points[0].x, points[0].y);
        for (int i = 1; i < count; ++i)
            cairo_line_to(cr, points[i].x, points[i].y);
    });
}

BOOL RoundRect(HDC hdc, int l, int t, int r, int b, int width, int height) {
    const int cx = width / 3;
    const int cy = height / 3;
    const POINT corners[] = {{l, t + cy}, {l + cx, t}, {r - cx, t}, {r, t + cy}, {r, b - cy},
                             {r - cx, b}, {l + cx, b}, {l, b - cy}, {l, t + cy}, {l + cx, t}};
    return WISP_Polygon(hdc, corners, 10);
}

BOOL Rectangle(HDC hdc, int l, int t, int r, int b) {
    if (PixelUploadTarget* metal = MetalTarget(hdc)) {
        const bool fill = IsFillableBrush(hdc->brush);
        const bool stroke = IsDrawablePen(hdc->pen);
        if (fill)
            MetalFill(metal, l, t, r - l, b - t, FramePixel(hdc->brush->color));
        if (stroke) {
            const int w = std::max(1, hdc->pen->width);
            const GdiColor& c = hdc->pen->color;
            MetalFill(metal, l, t, r - l, w, FramePixel(c));
            MetalFill(metal, l, b - w, r - l, w, FramePixel(c));
            MetalFill(metal, l, t, w, b - t, FramePixel(c));
            MetalFill(metal, r - w, t, w, b - t, FramePixel(c));
        }
        return fill || stroke ? TRUE : FALSE;
    }
    return FillAndStroke(hdc, [&](cairo_t* cr, double lineWidth) {
        // The outline lies inside the rectangle, as Win32 draws it.
        const double inset = lineWidth / 2;
        cairo_new_path(cr);
        cairo_rectangle(cr, l + inset, t + inset, r - l - lineWidth, b - t - lineWidth);
    });
}

BOOL Ellipse(HDC hdc, int l, int t, int r, int b) {
    return FillAndStroke(hdc, [&](cairo_t* cr, double lineWidth) {
        const double w = r - l - lineWidth;
        const double h = b - t - lineWidth;
        cairo_new_path(cr);
        if (w <= 0 || h <= 0)
            return;
        cairo_save(cr);
        cairo_translate(cr, (l + r) / 2.0, (t + b) / 2.0);
        cairo_scale(cr, w / 2, h / 2);
        cairo_arc(cr, 0, 0, 1, 0, 2 * 3.14159265358979323846);
        cairo_restore(cr);
    });
}

void WISP_FillRect(HDC hdc, const RECT* rect, HBRUSH brush) {
    if (PixelUploadTarget* metal = MetalTarget(hdc)) {
        if (rect && IsFillableBrush(brush))
            MetalFill(metal, rect->left, rect->top, rect->right - rect->left,
                      rect->bottom - rect->top, FramePixel(brush->color));
        return;
    }
    cairo_t* cr = DrawingContext(hdc);
    if (!cr || !rect || !IsFillableBrush(brush))
        return;
    cairo_save(cr);
    cairo_rectangle(cr, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top);
    brush->color.SetSource(cr);
    cairo_fill(cr);
    cairo_restore(cr);
}

void SetPixel(HDC hdc, int x, int y, int color) {
    if (PixelUploadTarget* metal = MetalTarget(hdc)) {
        MetalFill(metal, x, y, 1, 1, FramePixel(GdiColor::FromValue(color)));
        return;
    }
    cairo_t* cr = DrawingContext(hdc);
    if (!cr)
        return;
    // The one pixel at (x, y), not a blur across its four neighbours.
    cairo_save(cr);
    cairo_rectangle(cr, x, y, 1, 1);
    GdiColor::FromValue(color).SetSource(cr);
    cairo_fill(cr);
    cairo_restore(cr);
}
