// The default drawing primitives: each resets the path, builds it and strokes
// or fills it once with a solid pattern made on the stack.
#include "toolkit/ICanvas.h"

namespace vx::ui {

void ICanvas::StrokeSolid(const IColor& color, float thickness, const IBlendSetting* blend,
                          const IStrokeStyle& style) {
    PathStrokeCurrent(IFillPattern(color), thickness, style, blend);
}

void ICanvas::FillSolid(const IColor& color, const IBlendSetting* blend, const IFillStyle& style) {
    PathFillCurrent(IFillPattern(color), style, blend);
}

void ICanvas::DrawPoint(const IColor& color, float x, float y, const IBlendSetting* blend) {
    FillRect(color, {x, y, x + 1.f, y + 1.f}, blend);
}

void ICanvas::DrawLine(const IColor& color, float x1, float y1, float x2, float y2,
                       const IBlendSetting* blend, float thickness) {
    PathReset();
    PathAddMove(x1, y1);
    PathAddLine(x2, y2);
    StrokeSolid(color, thickness, blend);
}

void ICanvas::DrawDashedLine(const IColor& color, float x1, float y1, float x2, float y2,
                             const IBlendSetting* blend, float thickness, float dashLen) {
    PathReset();
    PathAddMove(x1, y1);
    PathAddLine(x2, y2);
    IStrokeStyle style;
    style.dashCount = 1;
    style.dashArray[0] = dashLen;
    StrokeSolid(color, thickness, blend, style);
}

void ICanvas::DrawTriangle(const IColor& color, float x1, float y1, float x2, float y2, float x3,
                           float y3, const IBlendSetting* blend, float thickness) {
    PathReset();
    PathAddTriangle(x1, y1, x2, y2, x3, y3);
    StrokeSolid(color, thickness, blend);
}

void ICanvas::DrawRect(const IColor& color, const IRECT& bounds, const IBlendSetting* blend,
                       float thickness) {
    PathReset();
    PathAddRect(bounds);
    StrokeSolid(color, thickness, blend);
}

void ICanvas::DrawRoundRect(const IColor& color, const IRECT& bounds, float radius,
                            const IBlendSetting* blend, float thickness) {
    DrawRoundRectCorners(color, bounds, radius, radius, radius, radius, blend, thickness);
}

void ICanvas::DrawRoundRectCorners(const IColor& color, const IRECT& bounds, float tl, float tr,
                                   float bl, float br, const IBlendSetting* blend,
                                   float thickness) {
    PathReset();
    PathAddRoundRectCorners(bounds, tl, tr, bl, br);
    StrokeSolid(color, thickness, blend);
}

void ICanvas::DrawArc(const IColor& color, float cx, float cy, float r, float a1, float a2,
                      const IBlendSetting* blend, float thickness) {
    PathReset();
    PathAddArc(cx, cy, r, a1, a2, 0);
    StrokeSolid(color, thickness, blend);
}

void ICanvas::DrawCircle(const IColor& color, float cx, float cy, float r,
                         const IBlendSetting* blend, float thickness) {
    PathReset();
    PathAddCircle(cx, cy, r);
    StrokeSolid(color, thickness, blend);
}

void ICanvas::DrawEllipse(const IColor& color, const IRECT& bounds, const IBlendSetting* blend,
                          float thickness) {
    PathReset();
    PathAddEllipseInRect(bounds);
    StrokeSolid(color, thickness, blend);
}

void ICanvas::DrawRotatedEllipse(const IColor& color, float cx, float cy, float r1, float r2,
                                 float angle, const IBlendSetting* blend, float thickness) {
    PathReset();
    PathAddEllipse(cx, cy, r1, r2, angle);
    StrokeSolid(color, thickness, blend);
}

void ICanvas::DrawConvexPolygon(const IColor& color, const float* x, const float* y, int n,
                                const IBlendSetting* blend, float thickness) {
    if (n <= 0)
        return;
    PathReset();
    PathAddConvexPolygon(x, y, n);
    StrokeSolid(color, thickness, blend);
}

void ICanvas::DrawDashedRect(const IColor& color, const IRECT& bounds, const IBlendSetting* blend,
                             float thickness, float dashLen) {
    PathReset();
    PathAddRect(bounds);
    IStrokeStyle style;
    style.dashCount = 1;
    style.dashArray[0] = dashLen;
    StrokeSolid(color, thickness, blend, style);
}

void ICanvas::FillTriangle(const IColor& color, float x1, float y1, float x2, float y2, float x3,
                           float y3, const IBlendSetting* blend) {
    PathReset();
    PathAddTriangle(x1, y1, x2, y2, x3, y3);
    FillSolid(color, blend);
}

void ICanvas::FillRect(const IColor& color, const IRECT& bounds, const IBlendSetting* blend) {
    PathReset();
    PathAddRect(bounds);
    FillSolid(color, blend);
}

void ICanvas::FillRoundRect(const IColor& color, const IRECT& bounds, float radius,
                            const IBlendSetting* blend) {
    FillRoundRectCorners(color, bounds, radius, radius, radius, radius, blend);
}

void ICanvas::FillRoundRectCorners(const IColor& color, const IRECT& bounds, float tl, float tr,
                                   float bl, float br, const IBlendSetting* blend) {
    PathReset();
    PathAddRoundRectCorners(bounds, tl, tr, bl, br);
    FillSolid(color, blend);
}

void ICanvas::FillCircle(const IColor& color, float cx, float cy, float r,
                         const IBlendSetting* blend) {
    PathReset();
    PathAddCircle(cx, cy, r);
    FillSolid(color, blend);
}

void ICanvas::FillEllipse(const IColor& color, const IRECT& bounds, const IBlendSetting* blend) {
    PathReset();
    PathAddEllipseInRect(bounds);
    FillSolid(color, blend);
}

void ICanvas::FillRotatedEllipse(const IColor& color, float cx, float cy, float r1, float r2,
                                 float angle, const IBlendSetting* blend) {
    PathReset();
    PathAddEllipse(cx, cy, r1, r2, angle);
    FillSolid(color, blend);
}

void ICanvas::FillArc(const IColor& color, float cx, float cy, float r, float a1, float a2,
                      const IBlendSetting* blend) {
    PathReset();
    PathAddMove(cx, cy);
    PathAddArc(cx, cy, r, a1, a2, 0);
    PathAddClose();
    FillSolid(color, blend);
}

void ICanvas::FillConvexPolygon(const IColor& color, const float* x, const float* y, int n,
                                const IBlendSetting* blend) {
    if (n <= 0)
        return;
    PathReset();
    PathAddConvexPolygon(x, y, n);
    FillSolid(color, blend);
}

void ICanvas::DrawGrid(const IColor& color, const IRECT& b, float gridW, float gridH,
                       const IBlendSetting* blend, float thickness) {
    PathReset();
    if (gridW > 1.f) {
        for (float x = b.L + gridW; x < b.R; x += gridW) {
            PathAddMove(x, b.T);
            PathAddLine(x, b.B);
        }
    }
    if (gridH > 1.f) {
        for (float y = b.T + gridH; y < b.B; y += gridH) {
            PathAddMove(b.L, y);
            PathAddLine(b.R, y);
        }
    }
    StrokeSolid(color, thickness, blend);
}

void ICanvas::DrawData(const IColor& color, const IRECT& b, const float* y, int n, const float* x,
                       const IBlendSetting* blend, float thickness, const IColor* fill) {
    if (n <= 0)
        return;
    PathReset();
    PathAddMove(b.L, b.B - b.H() * y[0]);
    for (int i = 1; i < n; ++i) {
        const float px = x ? b.L + b.W() * x[i] : b.L + float(i) * (b.W() / float(n - 1));
        PathAddLine(px, b.B - b.H() * y[i]);
    }
    if (fill)
        FillSolid(*fill, blend, {IFillStyle::Winding, true});
    StrokeSolid(color, thickness, blend);
}

void ICanvas::DrawFittedBitmap(const IBitmapHandle& bitmap, const IRECT& bounds,
                               const IBlendSetting* blend) {
    const float w = float(bitmap.FrameWidth()), h = float(bitmap.FrameHeight());
    if (w <= 0.f || h <= 0.f)
        return;
    PathMatrixPush();
    PathMatrixTranslate(bounds.L, bounds.T);
    PathMatrixScale(bounds.W() / w, bounds.H() / h);
    DrawBitmapRegion(bitmap, {0.f, 0.f, w, h}, 0, 0, blend);
    PathMatrixPop();
}

void ICanvas::DrawRotatedBitmap(const IBitmapHandle& bitmap, float cx, float cy, double angle,
                                const IBlendSetting* blend) {
    const float ds =
        bitmap.bitmap && bitmap.bitmap->drawScale > 0.f ? bitmap.bitmap->drawScale : 1.f;
    const float w = float(bitmap.W) / ds, h = float(bitmap.H) / ds;
    PathMatrixPush();
    PathMatrixTranslate(cx, cy);
    PathMatrixRotate(static_cast<float>(angle));
    DrawBitmapRegion(bitmap, {-w / 2.f, -h / 2.f, w / 2.f, h / 2.f}, 0, 0, blend);
    PathMatrixPop();
}

void ICanvas::DrawWrappedText(const IText& text, const char*, const IRECT& bounds,
                              const IBlendSetting* blend) {
    DrawTextString(text, "Unsupported", bounds, blend);
}

int ICanvas::SetCursorShape(int kind) {
    const int previous = cursorShape;
    cursorShape = kind;
    return previous;
}

} // namespace vx::ui
