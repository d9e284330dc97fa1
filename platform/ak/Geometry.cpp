#include "platform/ak/Geometry.h"

#include <algorithm>

namespace ak {

Rect Intersection(const Rect& a, const Rect& b) {
    const double left = std::max(a.MinX(), b.MinX());
    const double top = std::max(a.MinY(), b.MinY());
    const double right = std::min(a.MaxX(), b.MaxX());
    const double bottom = std::min(a.MaxY(), b.MaxY());
    if (right <= left || bottom <= top)
        return {};
    return {{left, top}, {right - left, bottom - top}};
}

} // namespace ak
