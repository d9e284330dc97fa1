#include "platform/ak/TextField.h"

#include "platform/sys/Utf8.h"

#include <algorithm>
#include <cstring>

#include <gtk/gtk.h>

namespace ak {

namespace {

GtkWidget* NewWidget(TextFieldKind kind, bool wrapsLines) {
    if (kind == TextFieldKind::Label)
        return gtk_label_new(nullptr);
    if (kind == TextFieldKind::Editable && wrapsLines) {
        // Scrolls to its cursor, shows no scroller.
        GtkWidget* scroller = gtk_scrolled_window_new(nullptr, nullptr);
        gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroller), GTK_POLICY_NEVER,
                                       GTK_POLICY_EXTERNAL);
        GtkWidget* text = gtk_text_view_new();
        gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(text), GTK_WRAP_WORD_CHAR);
        gtk_text_view_set_accepts_tab(GTK_TEXT_VIEW(text), FALSE);
        gtk_container_add(GTK_CONTAINER(scroller), text);
        gtk_widget_show(text);
        return scroller;
    }
    GtkWidget* entry = gtk_entry_new();
    if (kind == TextFieldKind::Secure)
        gtk_entry_set_visibility(GTK_ENTRY(entry), FALSE);
    return entry;
}

GtkTextBuffer* BufferOf(GtkWidget* text) {
    return gtk_text_view_get_buffer(GTK_TEXT_VIEW(text));
}

int CharacterCount(GtkWidget* text) {
    return gtk_text_buffer_get_char_count(BufferOf(text));
}

std::string CssColor(const char* property, Color c) {
    char text[128];
    g_snprintf(text, sizeof text, "%s: rgba(%d,%d,%d,%.3f);", property, int(c.red * 255 + 0.5),
               int(c.green * 255 + 0.5), int(c.blue * 255 + 0.5), c.alpha);
    return text;
}

} // namespace

TextField::TextField(Rect frame, TextFieldKind kind, bool wrapsLines)
    : Control(frame, NewWidget(kind, wrapsLines)), m_kind(kind) {
    GtkWidget* widget = Widget();
    if (kind == TextFieldKind::Label) {
        gtk_label_set_xalign(GTK_LABEL(widget), 0);
        gtk_label_set_yalign(GTK_LABEL(widget), 0);
        return;
    }
    if (GTK_IS_SCROLLED_WINDOW(widget)) {
        m_text = gtk_bin_get_child(GTK_BIN(widget));
        GtkTextBuffer* buffer = BufferOf(m_text);
        Connect(buffer, "changed", reinterpret_cast<Callback>(&TextField::OnChanged));
        Connect(buffer, "insert-text", reinterpret_cast<Callback>(&TextField::OnInsertBufferText));
        Connect(m_text, "key-press-event", reinterpret_cast<Callback>(&TextField::OnKeyPress));
        ConnectEditing(m_text);
        return;
    }
    Connect(widget, "changed", reinterpret_cast<Callback>(&TextField::OnChanged));
    Connect(widget, "insert-text", reinterpret_cast<Callback>(&TextField::OnInsertText));
    Connect(widget, "activate", reinterpret_cast<Callback>(&TextField::OnActivate));
    ConnectEditing(widget);
}

void TextField::ConnectEditing(void* editor) {
    Connect(editor, "focus-out-event", reinterpret_cast<Callback>(&TextField::OnFocusOut));
    Connect(editor, "grab-focus", reinterpret_cast<Callback>(&TextField::OnGrabFocus));
    // While the menu is off, neither a right click nor the menu key opens it.
    Connect(editor, "button-press-event",
            reinterpret_cast<Callback>(&TextField::SwallowRightPress));
    Connect(editor, "popup-menu", reinterpret_cast<Callback>(&TextField::SwallowMenuKey));
}

void TextField::OnChanged(void*, TextField* self) {
    Ref<Control> hold(self);
    if (self->onTextChanged)
        self->onTextChanged(*self);
    self->FireAction();
}

// Accepted characters only; in a wrapping entry line breaks become spaces
// and the length limit holds (an entry keeps its own).
std::string TextField::Admitted(std::string_view input) const {
    std::u32string kept;
    for (char32_t c : sys::Utf8ToUtf32(input)) {
        if (m_text && (c == U'\n' || c == U'\r'))
            c = U' ';
        if (m_accepted.empty() || m_accepted.find(c) != std::u32string::npos)
            kept += c;
    }
    if (m_text && m_maxLength > 0)
        kept.resize(
            std::min<std::size_t>(kept.size(), std::max(0, m_maxLength - CharacterCount(m_text))));
    return sys::Utf32ToUtf8(kept);
}

void TextField::OnInsertText(void* editable, const char* text, int length, int* position,
                             TextField* self) {
    if (self->m_accepted.empty())
        return;
    const std::string_view input(text, length < 0 ? std::strlen(text) : size_t(length));
    const std::string filtered = self->Admitted(input);
    if (filtered == input)
        return;
    g_signal_stop_emission_by_name(editable, "insert-text");
    if (filtered.empty())
        return;
    g_signal_handlers_block_by_func(editable, reinterpret_cast<gpointer>(&TextField::OnInsertText),
                                    self);
    gtk_editable_insert_text(GTK_EDITABLE(editable), filtered.c_str(), int(filtered.size()),
                             position);
    g_signal_handlers_unblock_by_func(editable,
                                      reinterpret_cast<gpointer>(&TextField::OnInsertText), self);
}

void TextField::OnInsertBufferText(void* buffer, void* location, const char* text, int length,
                                   TextField* self) {
    const std::string_view input(text, length < 0 ? std::strlen(text) : size_t(length));
    const std::string filtered = self->Admitted(input);
    if (filtered == input)
        return;
    g_signal_stop_emission_by_name(buffer, "insert-text");
    if (filtered.empty())
        return;
    const auto handler = reinterpret_cast<gpointer>(&TextField::OnInsertBufferText);
    g_signal_handlers_block_by_func(buffer, handler, self);
    gtk_text_buffer_insert(GTK_TEXT_BUFFER(buffer), static_cast<GtkTextIter*>(location),
                           filtered.c_str(), int(filtered.size()));
    g_signal_handlers_unblock_by_func(buffer, handler, self);
}

// Return is the wrapping entry's action, as an entry's activation.
int TextField::OnKeyPress(void*, void* event, TextField* self) {
    const unsigned key = static_cast<GdkEventKey*>(event)->keyval;
    if (key != GDK_KEY_Return && key != GDK_KEY_KP_Enter && key != GDK_KEY_ISO_Enter)
        return FALSE;
    OnActivate(nullptr, self);
    return TRUE;
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

int TextField::SwallowRightPress(void*, void* event, TextField* self) {
    return !self->m_menuEnabled && IsContextMenuPress(event);
}

int TextField::SwallowMenuKey(void*, TextField* self) {
    return !self->m_menuEnabled;
}

std::string TextField::Text() const {
    if (m_kind == TextFieldKind::Label)
        return gtk_label_get_text(GTK_LABEL(Widget()));
    if (m_text) {
        GtkTextIter start;
        GtkTextIter end;
        gtk_text_buffer_get_bounds(BufferOf(m_text), &start, &end);
        gchar* text = gtk_text_buffer_get_text(BufferOf(m_text), &start, &end, FALSE);
        std::string result = text ? text : "";
        g_free(text);
        return result;
    }
    return gtk_entry_get_text(GTK_ENTRY(Widget()));
}

void TextField::SetText(const std::string& text) {
    Silence silence(*this);
    const std::string valid = ValidUtf8(text);
    if (m_kind == TextFieldKind::Label)
        gtk_label_set_text(GTK_LABEL(Widget()), valid.c_str());
    else if (m_text)
        gtk_text_buffer_set_text(BufferOf(m_text), valid.c_str(), int(valid.size()));
    else
        gtk_entry_set_text(GTK_ENTRY(Widget()), valid.c_str());
}

void TextField::SetAlignment(TextAlignment alignment) {
    static constexpr float kAlign[] = {0, 0.5f, 1};
    const float align = kAlign[static_cast<int>(alignment)];
    static constexpr GtkJustification kJustify[] = {GTK_JUSTIFY_LEFT, GTK_JUSTIFY_CENTER,
                                                    GTK_JUSTIFY_RIGHT};
    if (m_kind == TextFieldKind::Label) {
        gtk_label_set_xalign(GTK_LABEL(Widget()), align);
        gtk_label_set_justify(GTK_LABEL(Widget()), kJustify[static_cast<int>(alignment)]);
    } else if (m_text) {
        gtk_text_view_set_justification(GTK_TEXT_VIEW(m_text),
                                        kJustify[static_cast<int>(alignment)]);
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
        // A wrapping entry's colours are its text view's.
        GtkWidget* styled = m_text ? m_text : Widget();
        m_cssProvider = gtk_css_provider_new();
        gtk_style_context_add_provider(gtk_widget_get_style_context(styled),
                                       GTK_STYLE_PROVIDER(m_cssProvider),
                                       GTK_STYLE_PROVIDER_PRIORITY_APPLICATION + 2);
        g_object_weak_ref(
            G_OBJECT(styled), [](gpointer p, GObject*) { g_object_unref(p); }, m_cssProvider);
    }
    const std::string css = "* { " + m_css[0] + " " + m_css[1] + " }";
    gtk_css_provider_load_from_data(GTK_CSS_PROVIDER(m_cssProvider), css.c_str(), -1, nullptr);
}

void TextField::SetEditable(bool editable) {
    if (m_text) {
        gtk_text_view_set_editable(GTK_TEXT_VIEW(m_text), editable);
        gtk_text_view_set_cursor_visible(GTK_TEXT_VIEW(m_text), editable);
    } else if (m_kind != TextFieldKind::Label) {
        gtk_editable_set_editable(GTK_EDITABLE(Widget()), editable);
    }
}

bool TextField::IsEditable() const {
    if (m_text)
        return gtk_text_view_get_editable(GTK_TEXT_VIEW(m_text));
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
    m_maxLength = std::max(0, characters);
    if (m_kind != TextFieldKind::Label && !m_text)
        gtk_entry_set_max_length(GTK_ENTRY(Widget()), characters > 0 ? characters : 0);
}

std::pair<int, int> TextField::Selection() const {
    int start = 0;
    int end = 0;
    if (m_kind == TextFieldKind::Label) {
        gtk_label_get_selection_bounds(GTK_LABEL(Widget()), &start, &end);
    } else if (m_text) {
        GtkTextIter from;
        GtkTextIter to;
        gtk_text_buffer_get_selection_bounds(BufferOf(m_text), &from, &to);
        start = gtk_text_iter_get_offset(&from);
        end = gtk_text_iter_get_offset(&to);
    } else if (!gtk_editable_get_selection_bounds(GTK_EDITABLE(Widget()), &start, &end))
        start = end = gtk_editable_get_position(GTK_EDITABLE(Widget()));
    return {start, end - start};
}

void TextField::SetSelection(int start, int length) {
    Silence silence(*this);
    if (m_kind == TextFieldKind::Label) {
        gtk_label_select_region(GTK_LABEL(Widget()), start, start + length);
    } else if (m_text) {
        GtkTextIter from;
        GtkTextIter to;
        gtk_text_buffer_get_iter_at_offset(BufferOf(m_text), &from, std::max(0, start));
        gtk_text_buffer_get_iter_at_offset(BufferOf(m_text), &to,
                                           std::max(0, start + std::max(0, length)));
        gtk_text_buffer_select_range(BufferOf(m_text), &from, &to);
    } else {
        gtk_editable_select_region(GTK_EDITABLE(Widget()), start, start + length);
    }
}

void TextField::Copy() {
    if (m_text)
        gtk_text_buffer_copy_clipboard(BufferOf(m_text),
                                       gtk_widget_get_clipboard(m_text, GDK_SELECTION_CLIPBOARD));
    else if (m_kind != TextFieldKind::Label)
        gtk_editable_copy_clipboard(GTK_EDITABLE(Widget()));
}

void TextField::Cut() {
    if (m_text)
        gtk_text_buffer_cut_clipboard(BufferOf(m_text),
                                      gtk_widget_get_clipboard(m_text, GDK_SELECTION_CLIPBOARD),
                                      IsEditable());
    else if (m_kind != TextFieldKind::Label)
        gtk_editable_cut_clipboard(GTK_EDITABLE(Widget()));
}

void TextField::Paste() {
    if (m_text)
        gtk_text_buffer_paste_clipboard(BufferOf(m_text),
                                        gtk_widget_get_clipboard(m_text, GDK_SELECTION_CLIPBOARD),
                                        nullptr, IsEditable());
    else if (m_kind != TextFieldKind::Label)
        gtk_editable_paste_clipboard(GTK_EDITABLE(Widget()));
}

} // namespace ak
