#pragma once

#include <optional>

namespace winlayer {

struct BlitRect {
    int x, y, width, height;
    bool operator==(const BlitRect&) const = default;
};

struct BlitPlan {
    BlitRect destination;
    BlitRect source;
    bool operator==(const BlitPlan&) const = default;
};

// Where a stretched copy lands once a source origin above or left of the
// bitmap is moved in (the destination shrinking by what it skips) and the
// source is cut to the bitmap; nothing when no pixel remains or the source
// size is not positive.
std::optional<BlitPlan> PlanStretchBlt(BlitRect destination, BlitRect source, int bitmapWidth,
                                       int bitmapHeight);

} // namespace winlayer
