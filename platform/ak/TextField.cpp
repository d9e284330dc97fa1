#include "platform/ak/TextField.h"

#include "platform/sys/Utf8.h"

#include <cstring>

#include <gtk/gtk.h>

namespace ak {

namespace {

GtkWidget* NewWidget(TextFieldKind kind) {
    if (kind == TextFieldKind::Label)
        return gtk_label_new(nullptr);
    GtkWidget* entry = gtk_entry_new();
    if (kind == TextFieldKind::Secure)
        gtk_entry_set_visibility(GTK_ENTRY(entry), FALSE);
    return entry;
}

std::string CssColor(const char* property, Color c) {
    char text[128];
    g_snprintf(text, sizeof text, "%s: rgba(%d,%d,%d,%.3f);", property, int(c.red * 255 + 0.5),
               int(c.green * 255 + 0.5), int(c.blue * 255 + 0.5), c.alpha);
    return text;
}

} // namespace

TextField::TextField(Rect frame, TextFieldKind kind)
    : Control(frame, NewWidget(kind)), m_kind(kind) {
    GtkWidget* widget = Widget();
    if (kind == TextFieldKind::Label) {
        gtk_label_set_xalign(GTK_LABEL(widget), 0);
        gtk_label_set_yalign(GTK_LABEL(widget), 0);
        return;
    }
    Connect(widget, "changed", reinterpret_cast<Callback>(&TextField::OnChanged));
    Connect(widget, "insert-text", reinterpret_cast<Callback>(&TextField::OnInsertText));
    Connect(widget, "focus-out-event", reinterpret_cast<Callback>(&TextField::OnFocusOut));
    Connect(widget, "grab-focus", reinterpret_cast<Callback>(&TextField::OnGrabFocus));
    Connect(widget, "activate", reinterpret_cast<Callback>(&TextField::OnActivate));
    // No context menu: neither a right click nor the menu key opens one.
    Connect(widget, "button-press-event",
            reinterpret_cast<Callback>(&TextField::SwallowRightPress));
    Connect(widget, "popup-menu", reinterpret_cast<Callback>(&TextField::SwallowMenuKey));
}

void TextField::OnChanged(void*, TextField* self) {
    Ref<Control> hold(self);
    if (self->onTextChanged)
        self->onTextChanged(*self);
    self->FireAction();
}

void TextField::OnInsertText(void* editable, const char* text, int length, int* position,
                             TextField* self) {
    if (self->m_accepted.empty())
        return;
    const std::string_view input(text, length < 0 ? std::strlen(text) : size_t(length));
    std::u32string kept;
    for (char32_t c : sys::Utf8ToUtf32(input))
        if (self->m_accepted.find(c) != std::u32string::npos)
            kept += c;
    if (kept.size() == sys::Utf8ToUtf32(input).size())
        return;
    g_signal_stop_emission_by_name(editable, "insert-text");
    if (kept.empty())
        return;
    const std::string filtered = sys::Utf32ToUtf8(kept);
    g_signal_handlers_block_by_func(editable, reinterpret_cast<gpointer>(&TextField::OnInsertText),
                                    self);
    gtk_editable_insert_text(GTK_EDITABLE(editable), filtered.c_str(), int(filtered.size()),
                             position);
    g_signal_handlers_unblock_by_func(editable,
                                      reinterpret_cast<gpointer>(&TextField::OnInsertText), self);
}

int TextField::OnFocusOut(void*, void*, TextField* self) {
    Ref<Control> hold(self);
    if (self->onEditingEnded)
        self->onEditingEnded(*self);
    return FALSE;
}

void TextField::OnGrabFocus(void*, TextField* self) {
    Ref<Control> hold(self);
    if (self->onFocusTaken)
        self->onFocusTaken(*self);
}

void TextField::OnActivate(void*, TextField* self) {
    Ref<Control> hold(self);
    if (self->onReturn)
        self->onReturn(*self);
}

int TextField::SwallowRightPress(void*, void* event, TextField*) {
    auto* button = static_cast<GdkEventButton*>(event);
    return button->type == GDK_BUTTON_PRESS && button->button == GDK_BUTTON_SECONDARY;
}

int TextField::SwallowMenuKey(void*, TextField*) {
    return TRUE;
}

std::string TextField::Text() const {
    if (m_kind == TextFieldKind::Label)
        return gtk_label_get_text(GTK_LABEL(Widget()));
    return gtk_entry_get_text(GTK_ENTRY(Widget()));
}

void TextField::SetText(const std::string& text) {
    Silence silence(*this);
    const std::string valid = ValidUtf8(text);
    if (m_kind == TextFieldKind::Label)
        gtk_label_set_text(GTK_LABEL(Widget()), valid.c_str());
    else
        gtk_entry_set_text(GTK_ENTRY(Widget()), valid.c_str());
}

void TextField::SetAlignment(TextAlignment alignment) {
    static constexpr float kAlign[] = {0, 0.5f, 1};
    const float align = kAlign[static_cast<int>(alignment)];
    if (m_kind == TextFieldKind::Label) {
        gtk_label_set_xalign(GTK_LABEL(Widget()), align);
        static constexpr GtkJustification kJustify[] = {GTK_JUSTIFY_LEFT, GTK_JUSTIFY_CENTER,
                                                        GTK_JUSTIFY_RIGHT};
        gtk_label_set_justify(GTK_LABEL(Widget()), kJustify[static_cast<int>(alignment)]);
    } else {
        gtk_entry_set_alignment(GTK_ENTRY(Widget()), align);
    }
}

void TextField::SetTextColor(Color color) {
    m_css[0] = CssColor("color", color);
    UpdateCss();
}

void TextField::SetBackgroundColor(Color color) {
    m_css[1] = CssColor("background-color", color) + " background-image: none;";
    UpdateCss();
}

void TextField::UpdateCss() {
    if (!m_cssProvider) {
        m_cssProvider = gtk_css_provider_new();
        gtk_style_context_add_provider(gtk_widget_get_style_context(Widget()),
                                       GTK_STYLE_PROVIDER(m_cssProvider),
                                       GTK_STYLE_PROVIDER_PRIORITY_APPLICATION + 2);
        g_object_weak_ref(
            G_OBJECT(Widget()), [](gpointer p, GObject*) { g_object_unref(p); }, m_cssProvider);
    }
    const std::string css = "* { " + m_css[0] + " " + m_css[1] + " }";
    gtk_css_provider_load_from_data(GTK_CSS_PROVIDER(m_cssProvider), css.c_str(), -1, nullptr);
}

void TextField::SetEditable(bool editable) {
    if (m_kind != TextFieldKind::Label)
        gtk_editable_set_editable(GTK_EDITABLE(Widget()), editable);
}

bool TextField::IsEditable() const {
    return m_kind != TextFieldKind::Label && gtk_editable_get_editable(GTK_EDITABLE(Widget()));
}

void TextField::SetSelectable(bool selectable) {
    if (m_kind == TextFieldKind::Label)
        gtk_label_set_selectable(GTK_LABEL(Widget()), selectable);
}

void TextField::SetWraps(bool wraps) {
    if (m_kind == TextFieldKind::Label) {
        gtk_label_set_line_wrap(GTK_LABEL(Widget()), wraps);
        gtk_label_set_line_wrap_mode(GTK_LABEL(Widget()), PANGO_WRAP_WORD_CHAR);
    }
}

void TextField::SetMaxLength(int characters) {
    if (m_kind != TextFieldKind::Label)
        gtk_entry_set_max_length(GTK_ENTRY(Widget()), characters > 0 ? characters : 0);
}

std::pair<int, int> TextField::Selection() const {
    int start = 0;
    int end = 0;
    if (m_kind == TextFieldKind::Label)
        gtk_label_get_selection_bounds(GTK_LABEL(Widget()), &start, &end);
    else if (!gtk_editable_get_selection_bounds(GTK_EDITABLE(Widget()), &start, &end))
        start = end = gtk_editable_get_position(GTK_EDITABLE(Widget()));
    return {start, end - start};
}

void TextField::SetSelection(int start, int length) {
    Silence silence(*this);
    if (m_kind == TextFieldKind::Label)
        gtk_label_select_region(GTK_LABEL(Widget()), start, start + length);
    else
        gtk_editable_select_region(GTK_EDITABLE(Widget()), start, start + length);
}

void TextField::Copy() {
    if (m_kind != TextFieldKind::Label)
        gtk_editable_copy_clipboard(GTK_EDITABLE(Widget()));
}

void TextField::Cut() {
    if (m_kind != TextFieldKind::Label)
        gtk_editable_cut_clipboard(GTK_EDITABLE(Widget()));
}

void TextField::Paste() {
    if (m_kind != TextFieldKind::Label)
        gtk_editable_paste_clipboard(GTK_EDITABLE(Widget()));
}

} // namespace ak
