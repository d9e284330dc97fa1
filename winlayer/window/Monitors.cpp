#include "winlayer/window/Monitors.h"

#include "platform/ak/Screen.h"
#include "winlayer/Placement.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr DWORD kInfoSize = sizeof(MONITORINFO);

// Handles count from 1, so no screen is the null monitor.
HMONITOR MonitorOf(std::size_t index) {
    return reinterpret_cast<HMONITOR>(index + 1);
}

} // namespace

BOOL EnumDisplayMonitors(HDC dc, const RECT* clip, MONITORENUMPROC callback, LPARAM lParam) {
    if (!callback)
        return TRUE;
    const std::vector<ak::Screen> screens = ak::Screen::All();
    for (std::size_t i = 0; i < screens.size(); ++i) {
        RECT rect = winlayer::RoundedRect(screens[i].Frame());
        if (clip) {
            rect = {std::max(rect.left, clip->left), std::max(rect.top, clip->top),
                    std::min(rect.right, clip->right), std::min(rect.bottom, clip->bottom)};
            if (rect.left >= rect.right || rect.top >= rect.bottom)
                continue;
        }
        if (!callback(MonitorOf(i), dc, &rect, lParam))
            break;
    }
    return TRUE;
}

BOOL GetMonitorInfo(HMONITOR monitor, MONITORINFO* info) {
    if (!monitor || !info || info->cbSize < kInfoSize)
        return FALSE;
    const std::vector<ak::Screen> screens = ak::Screen::All();
    const auto index = reinterpret_cast<std::uintptr_t>(monitor) - 1;
    // A handle from before a screen went names nothing now.
    if (index >= screens.size())
        return FALSE;
    info->rcMonitor = winlayer::RoundedRect(screens[index].Frame());
    info->rcWork = winlayer::RoundedRect(screens[index].VisibleFrame());
    info->dwFlags = 0;
    // No display-information service here: the name stays the screen's number.
    if (info->cbSize > kInfoSize)
        std::snprintf(reinterpret_cast<char*>(info) + kInfoSize, info->cbSize - kInfoSize,
                      "DisplayID %d", static_cast<int>(index));
    return TRUE;
}
