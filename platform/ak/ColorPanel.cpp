#include "platform/ak/ColorPanel.h"

#include "platform/ak/RunLoop.h"

#include <gtk/gtk.h>

#include <cmath>

namespace ak {

namespace {

GtkWidget* g_colorDialog = nullptr;
GtkWidget* g_fontDialog = nullptr;
std::function<void(Color)> g_onChange;
std::optional<Color> g_lastReported;

GdkRGBA ToRgba(Color c) {
    return {c.red, c.green, c.blue, c.alpha};
}

Color FromRgba(const GdkRGBA& c) {
    return {c.red, c.green, c.blue, c.alpha};
}

GtkWidget* NewColorDialog(Color color, bool showsAlpha) {
    GtkWidget* dialog = gtk_color_chooser_dialog_new("Colors", nullptr);
    g_object_ref_sink(dialog);
    gtk_color_chooser_set_use_alpha(GTK_COLOR_CHOOSER(dialog), showsAlpha);
    const GdkRGBA rgba = ToRgba(color);
    gtk_color_chooser_set_rgba(GTK_COLOR_CHOOSER(dialog), &rgba);
    return dialog;
}

void Destroy(GtkWidget*& dialog) {
    if (GtkWidget* d = std::exchange(dialog, nullptr)) {
        g_signal_handlers_disconnect_matched(d, G_SIGNAL_MATCH_DATA, 0, 0, nullptr, nullptr,
                                             &g_onChange);
        gtk_widget_destroy(d);
        g_object_unref(d);
    }
}

void OnColorNotify(GtkColorChooser* chooser, GParamSpec*, void*) {
    GdkRGBA rgba;
    gtk_color_chooser_get_rgba(chooser, &rgba);
    // The dialog passes its inner chooser's notices on: one change, two notices.
    if (g_lastReported == FromRgba(rgba))
        return;
    g_lastReported = FromRgba(rgba);
    if (g_onChange) {
        const auto onChange = g_onChange;
        onChange(FromRgba(rgba));
    }
}

void OnShownResponse(GtkDialog*, int, void*) {
    // Closing after the current signal: the dialog is still emitting.
    g_idle_add(
        [](gpointer) {
            ColorPanel::Close();
            return G_SOURCE_REMOVE;
        },
        nullptr);
}

// Runs a dialog in a nested loop; answers its response.
int RunDialog(GtkWidget* dialog) {
    struct Run {
        RunLoop loop;
        int response = GTK_RESPONSE_NONE;
    } run;
    const gulong id =
        g_signal_connect(dialog, "response", G_CALLBACK(+[](GtkDialog*, int r, Run* run) {
                             run->response = r;
                             run->loop.Quit();
                         }),
                         &run);
    gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
    gtk_widget_show(dialog);
    run.loop.Run();
    g_signal_handler_disconnect(dialog, id);
    return run.response;
}

} // namespace

namespace ColorPanel {

void Show(Color color, bool showsAlpha, std::function<void(Color)> onChange) {
    Close();
    g_colorDialog = NewColorDialog(color, showsAlpha);
    g_onChange = std::move(onChange);
    g_lastReported = color;
    // Every change, not just the accepted one.
    g_signal_connect(g_colorDialog, "notify::rgba", G_CALLBACK(OnColorNotify), &g_onChange);
    g_signal_connect(g_colorDialog, "response", G_CALLBACK(OnShownResponse), &g_onChange);
    gtk_widget_show(g_colorDialog);
}

void Close() {
    Destroy(g_colorDialog);
    g_onChange = nullptr;
}

bool IsShown() {
    return g_colorDialog != nullptr;
}

std::optional<Color> RunModal(Color color, bool showsAlpha) {
    Close();
    g_colorDialog = NewColorDialog(color, showsAlpha);
    GtkWidget* dialog = g_colorDialog;
    std::optional<Color> result;
    if (RunDialog(dialog) == GTK_RESPONSE_OK) {
        GdkRGBA rgba;
        gtk_color_chooser_get_rgba(GTK_COLOR_CHOOSER(dialog), &rgba);
        result = FromRgba(rgba);
    }
    Destroy(g_colorDialog);
    return result;
}

void* Dialog() {
    return g_colorDialog;
}

} // namespace ColorPanel

namespace FontPanel {

std::optional<Font> RunModal(const Font& font) {
    Destroy(g_fontDialog);
    g_fontDialog = gtk_font_chooser_dialog_new("Fonts", nullptr);
    g_object_ref_sink(g_fontDialog);
    gtk_font_chooser_set_font(GTK_FONT_CHOOSER(g_fontDialog), font.Description().c_str());
    std::optional<Font> result;
    if (RunDialog(g_fontDialog) == GTK_RESPONSE_OK) {
        PangoFontDescription* d = gtk_font_chooser_get_font_desc(GTK_FONT_CHOOSER(g_fontDialog));
        if (d) {
            const char* family = pango_font_description_get_family(d);
            const int size = pango_font_description_get_size(d);
            result = Font::Named(family ? family : "", size > 0 ? double(size) / PANGO_SCALE : 13,
                                 pango_font_description_get_weight(d) >= PANGO_WEIGHT_BOLD,
                                 pango_font_description_get_style(d) != PANGO_STYLE_NORMAL);
            pango_font_description_free(d);
        }
    }
    Destroy(g_fontDialog);
    return result;
}

void* Dialog() {
    return g_fontDialog;
}

} // namespace FontPanel

} // namespace ak
