#pragma once

#include "winlayer/WindowApi.h"

// The window geometry calls, reachable without the window core: the
// framework's host resizes its main window through them. They reach the
// window layer once it has made a window; before that no handle names a
// window, and they answer FALSE.

namespace winlayer {

class WindowGeometry {
public:
    virtual ~WindowGeometry() = default;
    virtual BOOL clientRect(HWND window, RECT* rect) = 0;
    virtual BOOL windowRect(HWND window, RECT* rect) = 0;
    virtual BOOL setWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height,
                              UINT flags) = 0;
};

// Main thread only, like the calls.
void SetWindowGeometry(WindowGeometry* geometry);

} // namespace winlayer
