#include "platform/ak/Screen.h"

#include <gdk/gdk.h>

namespace ak {

namespace {

Rect FromGdk(const GdkRectangle& r) {
    return {{double(r.x), double(r.y)}, {double(r.width), double(r.height)}};
}

std::function<void()>& ChangeCallback() {
    static std::function<void()> callback;
    return callback;
}

void OnMonitorsChanged() {
    if (auto callback = ChangeCallback())
        callback();
}

} // namespace

std::vector<Screen> Screen::All() {
    std::vector<Screen> screens;
    GdkDisplay* display = gdk_display_get_default();
    if (!display)
        return screens;
    GdkMonitor* primary = gdk_display_get_primary_monitor(display);
    const int count = gdk_display_get_n_monitors(display);
    for (int i = 0; i < count; ++i) {
        GdkMonitor* monitor = gdk_display_get_monitor(display, i);
        GdkRectangle geometry;
        GdkRectangle workarea;
        gdk_monitor_get_geometry(monitor, &geometry);
        gdk_monitor_get_workarea(monitor, &workarea);
        Screen screen;
        screen.m_frame = FromGdk(geometry);
        screen.m_visibleFrame = FromGdk(workarea);
        screen.m_scale = gdk_monitor_get_scale_factor(monitor);
        if (monitor == primary)
            screens.insert(screens.begin(), screen);
        else
            screens.push_back(screen);
    }
    return screens;
}

Screen Screen::Main() {
    auto screens = All();
    return screens.empty() ? Screen{} : screens.front();
}

void Screen::SetChangeCallback(std::function<void()> callback) {
    const bool first = !ChangeCallback();
    ChangeCallback() = std::move(callback);
    GdkDisplay* display = gdk_display_get_default();
    if (!first || !display)
        return;
    auto changed = G_CALLBACK(+[](GdkDisplay*, GdkMonitor*, gpointer) { OnMonitorsChanged(); });
    g_signal_connect(display, "monitor-added", changed, nullptr);
    g_signal_connect(display, "monitor-removed", changed, nullptr);
}

} // namespace ak
