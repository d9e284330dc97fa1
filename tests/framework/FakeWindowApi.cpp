// The windowing layer's window calls as a recording fake: a window handle is a FakeWindow.
#include "tests/framework/PluginFixtures.h"
#include "winlayer/WindowApi.h"

#include <string>

using vx::test::FakeWindow;

BOOL GetClientRect(HWND window, RECT* rect) {
    if (!window || !rect)
        return FALSE;
    const auto* fake = reinterpret_cast<FakeWindow*>(window);
    *rect = {0, 0, fake->clientWidth, fake->clientHeight};
    return TRUE;
}

BOOL GetWindowRect(HWND window, RECT* rect) {
    if (!window || !rect)
        return FALSE;
    *rect = reinterpret_cast<FakeWindow*>(window)->frame;
    return TRUE;
}

BOOL SetWindowPos(HWND window, HWND, int x, int y, int width, int height, UINT) {
    if (!window)
        return FALSE;
    auto* fake = reinterpret_cast<FakeWindow*>(window);
    fake->calls.push_back("SetWindowPos " + std::to_string(x) + " " + std::to_string(y) + " " +
                          std::to_string(width) + " " + std::to_string(height));
    const int borderWidth = (fake->frame.right - fake->frame.left) - fake->clientWidth;
    const int borderHeight = (fake->frame.bottom - fake->frame.top) - fake->clientHeight;
    fake->frame = {x, y, x + width, y + height};
    fake->clientWidth = width - borderWidth;
    fake->clientHeight = height - borderHeight;
    return TRUE;
}
