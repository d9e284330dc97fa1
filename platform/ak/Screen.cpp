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

void OnMonitorChanged(GdkMonitor*, GParamSpec*, gpointer) noexcept {
    OnMonitorsChanged();
}

// Geometry, work area and scale of each monitor.
void WatchMonitor(GdkMonitor* monitor) {
    for (const char* property : {"notify::geometry", "notify::workarea", "notify::scale-factor"})
        g_signal_connect(monitor, property, G_CALLBACK(OnMonitorChanged), nullptr);
}

void OnMonitorAdded(GdkDisplay*, GdkMonitor* monitor, gpointer) noexcept {
    WatchMonitor(monitor);
    OnMonitorsChanged();
}

void OnMonitorRemoved(GdkDisplay*, GdkMonitor*, gpointer) noexcept {
    OnMonitorsChanged();
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
    ChangeCallback() = std::move(callback);
    static bool watching = false;
    GdkDisplay* display = gdk_display_get_default();
    if (watching || !display)
        return;
    watching = true;
    g_signal_connect(display, "monitor-added", G_CALLBACK(OnMonitorAdded), nullptr);
    g_signal_connect(display, "monitor-removed", G_CALLBACK(OnMonitorRemoved), nullptr);
    for (int i = 0; i < gdk_display_get_n_monitors(display); ++i)
        WatchMonitor(gdk_display_get_monitor(display, i));
}

} // namespace ak
