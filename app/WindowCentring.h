#pragma once

namespace shell {

struct Placement {
    int x;
    int y;
    int width;
    int height;
};

// Where the main window goes so that an editor of editorWidth x editorHeight
// is centred on a y-down screen: the window's extra width and height (its
// frame minus its client area: the menu bar) are added, and the extra height
// lies above the centred editor. Halves are truncated.
Placement CentredPlacement(int editorWidth, int editorHeight, int screenWidth, int screenHeight,
                           int clientWidth, int clientHeight, int frameWidth, int frameHeight);

} // namespace shell
