#include "platform/ak/Control.h"

#include "platform/ak/Backing.h"
#include "platform/ak/ControlStyle.h"
#include "platform/sys/Utf8.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <cmath>

namespace ak {

std::string ValidUtf8(const std::string& text) {
    return sys::IsValidUtf8(text) ? text : sys::Utf32ToUtf8(sys::Utf8ToUtf32(text));
}

Control::Control(Rect frame, GtkWidget* widget) : NativeView(frame), m_widget(widget) {
    InstallControlStyle();
    g_object_ref_sink(m_widget);
    HostWidget(*this, m_widget);
}

Control::~Control() {
    // A late signal (the widget's destruction included) must not reach a
    // control that is going away.
    for (const Handler& handler : m_handlers) {
        if (g_signal_handler_is_connected(handler.instance, handler.id))
            g_signal_handler_disconnect(handler.instance, handler.id);
        g_object_unref(handler.instance);
    }
    if (m_fontProvider)
        g_object_unref(m_fontProvider);
    if (m_colorProvider)
        g_object_unref(m_colorProvider);
    g_object_unref(m_widget);
}

void Control::Connect(void* instance, const char* signal, Callback callback) {
    // Inner widgets go with their parent's destruction; a reference keeps
    // them until their handlers are gone.
    g_object_ref(instance);
    const gulong id = g_signal_connect(instance, signal, G_CALLBACK(callback), this);
    m_handlers.push_back({instance, id});
}

void Control::ConnectAfter(void* instance, const char* signal, Callback callback) {
    g_object_ref(instance);
    const gulong id = g_signal_connect_after(instance, signal, G_CALLBACK(callback), this);
    m_handlers.push_back({instance, id});
}

bool Control::IsContextMenuPress(const void* buttonEvent) {
    const auto* button = static_cast<const GdkEventButton*>(buttonEvent);
    return button->type == GDK_BUTTON_PRESS && button->button == GDK_BUTTON_SECONDARY;
}

void Control::FireAction() {
    Ref<Control> hold(this);
    if (m_action) {
        const Action action = m_action; // the action may replace itself
        action(*this);
    }
}

Control::Silence::Silence(Control& control) : m_control(control) {
    for (const Handler& handler : m_control.m_handlers)
        g_signal_handler_block(handler.instance, handler.id);
}

Control::Silence::~Silence() {
    for (const Handler& handler : m_control.m_handlers)
        g_signal_handler_unblock(handler.instance, handler.id);
}

void Control::SetEnabled(bool enabled) {
    Silence silence(*this);
    m_enabled = enabled;
    gtk_widget_set_sensitive(m_widget, enabled);
}

void Control::SetFont(const Font& font) {
    m_font = font;
    if (!m_fontProvider) {
        m_fontProvider = gtk_css_provider_new();
        gtk_style_context_add_provider(gtk_widget_get_style_context(m_widget),
                                       GTK_STYLE_PROVIDER(m_fontProvider),
                                       GTK_STYLE_PROVIDER_PRIORITY_APPLICATION + 1);
    }
    // Font properties inherit, so the widget's labels follow. A family name
    // must not end the quoted string it sits in.
    std::string family = font.Family();
    std::erase_if(family, [](char c) { return c == '"' || c == '\\' || c == '\n'; });
    gchar* css =
        g_strdup_printf("* { font-family: \"%s\"; font-size: %gpx; font-weight: %s; "
                        "font-style: %s; }",
                        family.c_str(), font.PointSize(), font.IsBold() ? "bold" : "normal",
                        font.IsItalic() ? "italic" : "normal");
    gtk_css_provider_load_from_data(GTK_CSS_PROVIDER(m_fontProvider), css, -1, nullptr);
    g_free(css);
}

void Control::SetForegroundColor(Color color) {
    m_foreground = color;
    if (!m_colorProvider) {
        m_colorProvider = gtk_css_provider_new();
        gtk_style_context_add_provider(gtk_widget_get_style_context(m_widget),
                                       GTK_STYLE_PROVIDER(m_colorProvider),
                                       GTK_STYLE_PROVIDER_PRIORITY_APPLICATION + 1);
    }
    auto byte = [](double c) { return int(std::lround(std::clamp(c, 0.0, 1.0) * 255)); };
    // CSS wants a '.' whatever the locale says.
    char alpha[G_ASCII_DTOSTR_BUF_SIZE];
    g_ascii_formatd(alpha, sizeof alpha, "%.3f", std::clamp(color.alpha, 0.0, 1.0));
    gchar* css = g_strdup_printf("* { color: rgba(%d, %d, %d, %s); }", byte(color.red),
                                 byte(color.green), byte(color.blue), alpha);
    gtk_css_provider_load_from_data(GTK_CSS_PROVIDER(m_colorProvider), css, -1, nullptr);
    g_free(css);
}

void Control::SizeToFit() {
    GtkRequisition natural;
    gtk_widget_get_preferred_size(m_widget, nullptr, &natural);
    SetFrameSize({double(natural.width), double(natural.height)});
}

} // namespace ak
