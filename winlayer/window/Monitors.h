#pragma once

#include "winlayer/WinTypes.h"
#include "winlayer/draw/Gdi.h"

// Monitors are the platform's screens, in its order.

struct HMONITOR__;
using HMONITOR = HMONITOR__*;
using MONITORENUMPROC = BOOL (*)(HMONITOR monitor, HDC dc, RECT* rect, LPARAM lParam);

struct MONITORINFO {
    DWORD cbSize;
    RECT rcMonitor;
    RECT rcWork;
    DWORD dwFlags;
};

struct MONITORINFOEX : MONITORINFO {
    char szDevice[32];
};

// Each screen (with a clip: each it meets, as the part inside) to the
// callback, until it answers FALSE. Always TRUE.
BOOL EnumDisplayMonitors(HDC dc, const RECT* clip, MONITORENUMPROC callback, LPARAM lParam);
// The screen's frame and visible frame; a record larger than MONITORINFO
// also gets the device name "DisplayID <n>".
BOOL GetMonitorInfo(HMONITOR monitor, MONITORINFO* info);
