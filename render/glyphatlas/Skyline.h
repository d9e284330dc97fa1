#pragma once

#include <vector>

// Bottom-left skyline packer for the atlas texture: the nodes cover the atlas
// width from left to right, each holding the lowest free row above its span.
struct SkylineNode {
    short x, y, width;
};

struct GlyphAtlasSkyline {
    int width = 0;
    int height = 0;
    std::vector<SkylineNode> nodes;
};

// One node spanning the whole width; false when memory runs out.
bool skyline_reset(GlyphAtlasSkyline& sky, int width, int height);
// Adds a free node (x, 0, width) at the right end, for a widened atlas.
bool skyline_append_node(GlyphAtlasSkyline& sky, int x, int width);
// Places a w x h rectangle; false when it fits nowhere.
bool skyline_add_rect(GlyphAtlasSkyline& sky, int w, int h, int* x, int* y);
// Highest node y, the bottom of everything placed so far.
int skyline_max_y(const GlyphAtlasSkyline& sky);
