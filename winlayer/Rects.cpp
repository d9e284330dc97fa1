#include "winlayer/WinBasics.h"

#include <algorithm>

namespace {

bool IsEmpty(const RECT& r) {
    return r.left >= r.right || r.top >= r.bottom;
}
bool IsPoint(const RECT& r) {
    return r.left == r.right && r.top == r.bottom;
}

} // namespace

BOOL WISP_PtInRect(const RECT* rect, POINT point) {
    if (!rect)
        return FALSE;
    return point.x >= rect->left && point.x < rect->right &&
           point.y >= std::min(rect->top, rect->bottom) &&
           point.y < std::max(rect->top, rect->bottom);
}

BOOL WinOffsetRect(RECT* rect, int dx, int dy) {
    if (!rect)
        return FALSE;
    rect->left += dx;
    rect->right += dx;
    rect->top += dy;
    rect->bottom += dy;
    return TRUE;
}

BOOL WinSetRect(RECT* rect, int left, int top, int right, int bottom) {
    if (!rect)
        return FALSE;
    *rect = {left, top, right, bottom};
    return TRUE;
}

BOOL WinIntersectRect(RECT* destination, const RECT* a, const RECT* b) {
    if (!destination)
        return FALSE;
    *destination = {0, 0, 0, 0};
    if (!a || !b || IsEmpty(*a) || IsEmpty(*b))
        return FALSE;
    const RECT overlap = {std::max(a->left, b->left), std::max(a->top, b->top),
                          std::min(a->right, b->right), std::min(a->bottom, b->bottom)};
    if (IsEmpty(overlap))
        return FALSE;
    *destination = overlap;
    return TRUE;
}

BOOL WinUnionRect(RECT* destination, const RECT* a, const RECT* b) {
    if (!destination || !a || !b)
        return FALSE;
    if (IsPoint(*a)) {
        *destination = *b;
    } else if (IsPoint(*b)) {
        *destination = *a;
    } else {
        *destination = {std::min(a->left, b->left), std::min(a->top, b->top),
                        std::max(a->right, b->right), std::max(a->bottom, b->bottom)};
    }
    return TRUE;
}
