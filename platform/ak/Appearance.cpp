#include "platform/ak/Appearance.h"

#include <gtk/gtk.h>

namespace ak {

namespace {

// Style contexts of a window and a text view that are never shown: they
// follow the theme like any other widget.
struct ThemeProbe {
    GtkWidget* window = nullptr;
    GtkWidget* text = nullptr;
    Color windowBackground;
    Color textBackground;
    bool dark = false;
    std::function<void()> changed;
};

Color BackgroundOf(GtkWidget* widget) {
    GtkStyleContext* style = gtk_widget_get_style_context(widget);
    GdkRGBA* rgba = nullptr;
    gtk_style_context_get(style, gtk_style_context_get_state(style), "background-color", &rgba,
                          nullptr);
    Color color;
    if (rgba) {
        color = {rgba->red, rgba->green, rgba->blue, rgba->alpha};
        gdk_rgba_free(rgba);
    }
    return color;
}

double Luminance(const Color& c) {
    return 0.2126 * c.red + 0.7152 * c.green + 0.0722 * c.blue;
}

void Recompute(ThemeProbe& probe) {
    probe.windowBackground = BackgroundOf(probe.window);
    probe.textBackground = BackgroundOf(probe.text);
    probe.dark = Luminance(probe.windowBackground) < 0.5;
}

void OnThemeChanged(ThemeProbe& probe) {
    Recompute(probe);
    if (auto callback = probe.changed)
        callback();
}

void OnStyleChanged(GtkStyleContext*, gpointer data) noexcept {
    OnThemeChanged(*static_cast<ThemeProbe*>(data));
}

void OnSettingChanged(GObject*, GParamSpec*, gpointer data) noexcept {
    OnThemeChanged(*static_cast<ThemeProbe*>(data));
}

ThemeProbe& Probe() {
    static ThemeProbe probe = [] {
        ThemeProbe made;
        made.window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
        made.text = gtk_text_view_new();
        gtk_container_add(GTK_CONTAINER(made.window), made.text);
        return made;
    }();
    static const bool connected = [] {
        Recompute(probe);
        // A theme change restyles every widget; the window's context tells us.
        g_signal_connect(gtk_widget_get_style_context(probe.window), "changed",
                         G_CALLBACK(OnStyleChanged), &probe);
        GtkSettings* settings = gtk_settings_get_default();
        for (const char* setting :
             {"notify::gtk-theme-name", "notify::gtk-application-prefer-dark-theme"})
            g_signal_connect(settings, setting, G_CALLBACK(OnSettingChanged), &probe);
        return true;
    }();
    (void)connected;
    return probe;
}

} // namespace

bool Appearance::IsDark() {
    return Probe().dark;
}

Color Appearance::WindowBackground() {
    return Probe().windowBackground;
}

Color Appearance::TextBackground() {
    return Probe().textBackground;
}

void Appearance::SetChangeCallback(std::function<void()> callback) {
    Probe().changed = std::move(callback);
}

} // namespace ak
