#include "render/glyphatlas/Skyline.h"

#include "render/util/TryAlloc.h"

#include <algorithm>

bool skyline_reset(GlyphAtlasSkyline& sky, int width, int height) {
    sky.width = width;
    sky.height = height;
    sky.nodes.clear();
    return try_push_back(sky.nodes, SkylineNode{0, 0, static_cast<short>(width)});
}

bool skyline_append_node(GlyphAtlasSkyline& sky, int x, int width) {
    return try_push_back(sky.nodes,
                         SkylineNode{static_cast<short>(x), 0, static_cast<short>(width)});
}

int skyline_max_y(const GlyphAtlasSkyline& sky) {
    int y = 0;
    for (const SkylineNode& n : sky.nodes)
        y = std::max(y, static_cast<int>(n.y));
    return y;
}

namespace {

// The row at which a w x h rectangle starting at node i would sit, or -1.
int rect_fits(const GlyphAtlasSkyline& sky, int i, int w, int h) {
    const int n = static_cast<int>(sky.nodes.size());
    if (sky.nodes[i].x + w > sky.width)
        return -1;
    int y = sky.nodes[i].y;
    int spaceLeft = w;
    while (spaceLeft > 0) {
        if (i == n)
            return -1;
        y = std::max(y, static_cast<int>(sky.nodes[i].y));
        if (y + h > sky.height)
            return -1;
        spaceLeft -= sky.nodes[i].width;
        ++i;
    }
    return y;
}

void shrink_covered_nodes(GlyphAtlasSkyline& sky, int from) {
    auto& nodes = sky.nodes;
    for (int i = from; i < static_cast<int>(nodes.size()); ++i) {
        const int prevEnd = nodes[i - 1].x + nodes[i - 1].width;
        if (nodes[i].x >= prevEnd)
            break;
        const int shrink = prevEnd - nodes[i].x;
        nodes[i].x = static_cast<short>(nodes[i].x + shrink);
        nodes[i].width = static_cast<short>(nodes[i].width - shrink);
        if (nodes[i].width > 0)
            break;
        nodes.erase(nodes.begin() + i);
        --i;
    }
}

void merge_equal_rows(GlyphAtlasSkyline& sky) {
    auto& nodes = sky.nodes;
    for (int i = 0; i + 1 < static_cast<int>(nodes.size()); ++i) {
        if (nodes[i].y != nodes[i + 1].y)
            continue;
        nodes[i].width = static_cast<short>(nodes[i].width + nodes[i + 1].width);
        nodes.erase(nodes.begin() + i + 1);
        --i;
    }
}

} // namespace

bool skyline_add_rect(GlyphAtlasSkyline& sky, int w, int h, int* x, int* y) {
    int bestHeight = sky.height;
    int bestWidth = sky.width;
    int bestIndex = -1, bestX = -1, bestY = -1;
    for (int i = 0; i < static_cast<int>(sky.nodes.size()); ++i) {
        const int fitY = rect_fits(sky, i, w, h);
        if (fitY == -1)
            continue;
        const int nodeWidth = sky.nodes[i].width;
        if (fitY + h < bestHeight || (fitY + h == bestHeight && nodeWidth < bestWidth)) {
            bestIndex = i;
            bestWidth = nodeWidth;
            bestHeight = fitY + h;
            bestX = sky.nodes[i].x;
            bestY = fitY;
        }
    }
    if (bestIndex == -1)
        return false;
    try {
        sky.nodes.insert(sky.nodes.begin() + bestIndex,
                         SkylineNode{static_cast<short>(bestX), static_cast<short>(bestY + h),
                                     static_cast<short>(w)});
    } catch (const std::bad_alloc&) {
        return false;
    }
    shrink_covered_nodes(sky, bestIndex + 1);
    merge_equal_rows(sky);
    *x = bestX;
    *y = bestY;
    return true;
}
