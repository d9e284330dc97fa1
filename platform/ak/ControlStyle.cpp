#include "platform/ak/ControlStyle.h"

#include <gtk/gtk.h>

namespace ak {

namespace {

constexpr const char* kStyle = R"(
button, entry, combobox, combobox button, spinbutton, scale, progressbar, progressbar trough,
progressbar progress, notebook tab, checkbutton, radiobutton, menubar > menuitem {
    min-height: 0;
    min-width: 0;
}
button, entry, combobox button, notebook tab, menubar > menuitem {
    padding: 2px;
}
scale { padding: 2px; }
checkbutton, radiobutton { padding: 0; }
menubar > menuitem > check {
    min-height: 0;
    min-width: 0;
    margin: 0;
    padding: 0;
    border: none;
}
menubar > menuitem > check, menu > menuitem > check:not(:checked) {
    background: none;
    box-shadow: none;
    -gtk-icon-source: none;
    -gtk-icon-shadow: none;
}
menu > menuitem > check { border-color: transparent; }
)";

} // namespace

void InstallControlStyle() {
    static bool installed = false;
    GdkScreen* screen = gdk_screen_get_default();
    if (installed || !screen)
        return;
    installed = true;
    GtkCssProvider* provider = gtk_css_provider_new();
    gtk_css_provider_load_from_data(provider, kStyle, -1, nullptr);
    gtk_style_context_add_provider_for_screen(screen, GTK_STYLE_PROVIDER(provider),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(provider);
}

} // namespace ak
