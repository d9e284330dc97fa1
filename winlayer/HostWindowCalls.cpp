#include "winlayer/HostWindowCalls.h"

namespace {

winlayer::WindowGeometry* g_geometry = nullptr;

} // namespace

namespace winlayer {

void SetWindowGeometry(WindowGeometry* geometry) {
    g_geometry = geometry;
}

} // namespace winlayer

BOOL GetClientRect(HWND window, RECT* rect) {
    if (!rect)
        return FALSE;
    *rect = {};
    return g_geometry ? g_geometry->clientRect(window, rect) : FALSE;
}

BOOL GetWindowRect(HWND window, RECT* rect) {
    if (!rect)
        return FALSE;
    *rect = {};
    return g_geometry ? g_geometry->windowRect(window, rect) : FALSE;
}

BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
    return g_geometry ? g_geometry->setWindowPos(window, insertAfter, x, y, width, height, flags)
                      : FALSE;
}
