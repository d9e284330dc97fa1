#include "winlayer/GdiRecords.h"
#include "winlayer/GdiText.h"
#include "winlayer/WinBasics.h"

#include "platform/ak/Appearance.h"
#include "platform/ak/Application.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <mutex>

namespace {

constexpr DWORD kDarkRereadMs = 1000;

// The theme's dark flag, asked of the desktop at most once a second; light
// while no application runs the desktop connection.
bool ThemeIsDark() {
    static std::mutex mutex;
    static bool cached = false;
    static bool known = false;
    static DWORD readAt = 0;
    std::lock_guard lock(mutex);
    const DWORD now = GetTickCount();
    if (!known || now - readAt >= kDarkRereadMs) {
        cached = ak::Application::Shared() && ak::Appearance::IsDark();
        known = true;
        readAt = now;
    }
    return cached;
}

} // namespace

bool WISP_osx_is_dark_mode(int mode) {
    // The system version (0x1400) always lets dark mode apply.
    if (mode == 1)
        return true;
    return ThemeIsDark();
}

int GetSysColor(int index) {
    switch (index) {
    case 0:
        return 0x606060;
    case 1:
        return 0xE0E0E0;
    case 2:
    case 4:
    case 7:
        return WISP_osx_is_dark_mode(0) ? 0x252525 : 0xE8E8E8;
    case 3:
        return WISP_osx_is_dark_mode(0) ? 0xFFFFFF : 0x000000;
    case 5:
        return 0x202020;
    case 6:
        return 0x303030;
    case 8:
        return 0xFFF0C8;
    default:
        return 0;
    }
}

void WISP_FillDialogBackground(HDC hdc, const RECT* rect) {
    cairo_t* cr = winlayer::DrawingContext(hdc);
    if (!cr || !rect)
        return;
    const double grey = (WISP_osx_is_dark_mode(0) ? 37 : 232) / 255.0;
    cairo_save(cr);
    cairo_rectangle(cr, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top);
    cairo_set_source_rgb(cr, grey, grey, grey);
    cairo_fill(cr);
    cairo_restore(cr);
}

namespace winlayer {

HBRUSH DarkStaticColors(HDC hdc) {
    if (!IsValidContext(hdc) || !WISP_osx_is_dark_mode(0))
        return nullptr;
    static HBRUSH brush = [] {
        const ak::Color c = ak::Appearance::WindowBackground();
        auto channel = [](double v) { return int(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
        return CreateSolidBrush((channel(c.red) << 16) | (channel(c.green) << 8) | channel(c.blue));
    }();
    SetTextColor(hdc, 0xFFFFFF);
    return brush;
}

} // namespace winlayer
