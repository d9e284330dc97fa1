// Path builders and the current transform.
#include "toolkit/ICanvas.h"

namespace vx::ui {

void ICanvas::PathAddRect(const IRECT& r) {
    PathAddMove(r.L, r.T);
    PathAddLine(r.R, r.T);
    PathAddLine(r.R, r.B);
    PathAddLine(r.L, r.B);
    PathAddClose();
}

void ICanvas::PathAddTriangle(float x1, float y1, float x2, float y2, float x3, float y3) {
    PathAddMove(x1, y1);
    PathAddLine(x2, y2);
    PathAddLine(x3, y3);
    PathAddClose();
}

void ICanvas::PathAddRoundRect(const IRECT& r, float radius) {
    PathAddRoundRectCorners(r, radius, radius, radius, radius);
}

void ICanvas::PathAddRoundRectCorners(const IRECT& r, float tl, float tr, float bl, float br) {
    if (!(tl > 0.f) && !(tr > 0.f) && !(bl > 0.f) && !(br > 0.f)) {
        PathAddMove(r.L, r.T);
        PathAddLine(r.R, r.T);
        PathAddLine(r.R, r.B);
        PathAddLine(r.L, r.B);
    } else {
        PathAddMove(r.L, r.T + tl);
        PathAddArc(r.L + tl, r.T + tl, tl, 270.f, 360.f, 0);
        PathAddArc(r.R - tr, r.T + tr, tr, 0.f, 90.f, 0);
        PathAddArc(r.R - br, r.B - br, br, 90.f, 180.f, 0);
        PathAddArc(r.L + bl, r.B - bl, bl, 180.f, 270.f, 0);
    }
    PathAddClose();
}

void ICanvas::PathAddConvexPolygon(const float* x, const float* y, int n) {
    if (n <= 0)
        return;
    PathAddMove(x[0], y[0]);
    for (int i = 1; i < n; ++i)
        PathAddLine(x[i], y[i]);
    PathAddClose();
}

void ICanvas::PathAddCircle(float cx, float cy, float r) {
    PathAddMove(cx, cy - r);
    PathAddArc(cx, cy, r, 0.f, 360.f, 0);
    PathAddClose();
}

void ICanvas::PathAddEllipse(float cx, float cy, float r1, float r2, float angle) {
    if (r1 <= 0.f || r2 <= 0.f)
        return;
    PathMatrixPush();
    PathMatrixTranslate(cx, cy);
    PathMatrixRotate(angle);
    PathMatrixScale(r1, r2);
    PathAddMove(0.f, -1.f);
    PathAddArc(0.f, 0.f, 1.f, 0.f, 360.f, 0);
    PathAddClose();
    PathMatrixPop();
}

void ICanvas::PathAddEllipseInRect(const IRECT& r) {
    PathAddEllipse(r.MW(), r.MH(), r.W() * 0.5f, r.H() * 0.5f, 0.f);
}

void ICanvas::PathMatrixPush() {
    transformStack.push_back(transform);
}

void ICanvas::PathMatrixPop() {
    if (transformStack.empty())
        return;
    transform = transformStack.back();
    transformStack.pop_back();
    PathSetTransform(transform);
}

void ICanvas::PathMatrixReset(bool clearStack) {
    if (clearStack)
        transformStack.clear();
    transform = IAffineMatrix();
    PathSetTransform(transform);
}

void ICanvas::PathMatrixTranslate(float x, float y) {
    transform.Translate(x, y);
    PathSetTransform(transform);
}

void ICanvas::PathMatrixRotate(float degrees) {
    transform.Rotate(degrees);
    PathSetTransform(transform);
}

void ICanvas::PathMatrixScale(float x, float y) {
    transform.Scale(x, y);
    PathSetTransform(transform);
}

void ICanvas::PathMatrixSkew(float xDegrees, float yDegrees) {
    transform.Skew(xDegrees, yDegrees);
    PathSetTransform(transform);
}

void ICanvas::PathMatrixMultiply(const IAffineMatrix& m) {
    transform.Multiply(m);
    PathSetTransform(transform);
}

void ICanvas::PathClipToRect(const IRECT& r) {
    const IRECT area = layerStack.empty() ? clipRect : layerStack.back()->bounds;
    IRECT clip;
    if (r.Empty())
        clip = area;
    else if (!area.Empty() && r.L < area.R && r.R >= area.L && r.T < area.B && r.B >= area.T)
        clip = r.Intersect(area);
    PathSetTransform(IAffineMatrix());
    SetClipRect(clip);
    PathSetTransform(transform);
}

} // namespace vx::ui
