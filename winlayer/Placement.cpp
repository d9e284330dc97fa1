#include "winlayer/Placement.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace winlayer {

std::size_t ChooseScreen(const std::vector<ak::Rect>& screenFrames, const RECT& source) {
    const ak::Rect wanted{
        {double(std::min(source.left, source.right)), double(std::min(source.top, source.bottom))},
        {double(std::abs(double(source.right) - source.left)),
         double(std::abs(double(source.bottom) - source.top))}};
    std::size_t best = 0;
    double bestOverlap = 0;
    double bestGap = -std::numeric_limits<double>::infinity();
    std::size_t nearest = 0;
    for (std::size_t i = 0; i < screenFrames.size(); ++i) {
        const ak::Rect& frame = screenFrames[i];
        const ak::Rect overlap = ak::Intersection(frame, wanted);
        const double area = overlap.IsEmpty() ? 0 : overlap.size.width * overlap.size.height;
        if (area > bestOverlap) {
            bestOverlap = area;
            best = i;
        }
        const double dx =
            std::max({0.0, frame.MinX() - wanted.MaxX(), wanted.MinX() - frame.MaxX()});
        const double dy =
            std::max({0.0, frame.MinY() - wanted.MaxY(), wanted.MinY() - frame.MaxY()});
        if (-(dx * dx + dy * dy) > bestGap) {
            bestGap = -(dx * dx + dy * dy);
            nearest = i;
        }
    }
    return bestOverlap > 0 ? best : nearest;
}

ak::Point NewWindowOrigin(const RECT& reference) {
    return {reference.left + 50.0, reference.top + 100.0};
}

RECT RoundedRect(const ak::Rect& rect) {
    return {ak::PixelEdge(rect.MinX()), ak::PixelEdge(rect.MinY()), ak::PixelEdge(rect.MaxX()),
            ak::PixelEdge(rect.MaxY())};
}

} // namespace winlayer
