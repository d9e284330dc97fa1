#include "winlayer/BlitGeometry.h"

#include <algorithm>

namespace winlayer {

namespace {

struct Span {
    int at, length, sourceAt, sourceLength;
};

// One axis: a negative source origin moves the destination by the scaled
// skip and shortens both; then the source is cut to the bitmap and the
// destination follows the cut.
std::optional<Span> PlanAxis(Span s, int bitmapLength) {
    if (s.sourceAt < 0) {
        const int skip = -s.sourceAt;
        const long long moved = static_cast<long long>(s.length) * skip / s.sourceLength;
        s.at += static_cast<int>(moved);
        s.length -= static_cast<int>(moved);
        s.sourceLength -= skip;
        s.sourceAt = 0;
    }
    const int cut = std::min(s.sourceAt + s.sourceLength, bitmapLength) - s.sourceAt;
    if (s.sourceLength <= 0 || cut <= 0 || s.sourceAt >= bitmapLength)
        return std::nullopt;
    s.length = s.length != s.sourceLength
                   ? static_cast<int>(static_cast<long long>(s.length) * cut / s.sourceLength)
                   : cut;
    s.sourceLength = cut;
    if (s.length <= 0)
        return std::nullopt;
    return s;
}

} // namespace

std::optional<BlitPlan> PlanStretchBlt(BlitRect destination, BlitRect source, int bitmapWidth,
                                       int bitmapHeight) {
    if (source.width <= 0 || source.height <= 0)
        return std::nullopt;
    const auto h =
        PlanAxis({destination.x, destination.width, source.x, source.width}, bitmapWidth);
    const auto v =
        PlanAxis({destination.y, destination.height, source.y, source.height}, bitmapHeight);
    if (!h || !v)
        return std::nullopt;
    return BlitPlan{{h->at, v->at, h->length, v->length},
                    {h->sourceAt, v->sourceAt, h->sourceLength, v->sourceLength}};
}

} // namespace winlayer
