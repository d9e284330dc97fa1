#include "platform/ak/TextView.h"

#include <gtk/gtk.h>

#include <algorithm>

namespace ak {

namespace {

GtkWidget* NewScroller() {
    GtkWidget* scroller = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroller), GTK_POLICY_AUTOMATIC,
                                   GTK_POLICY_AUTOMATIC);
    gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(scroller), GTK_SHADOW_NONE);
    return scroller;
}

std::string Owned(gchar* text) {
    std::string result = text ? text : "";
    g_free(text);
    return result;
}

} // namespace

TextView::TextView(Rect frame) : Control(frame, NewScroller()), m_text(gtk_text_view_new()) {
    gtk_container_add(GTK_CONTAINER(Widget()), m_text);
    gtk_widget_show(m_text);
    Connect(gtk_text_view_get_buffer(GTK_TEXT_VIEW(m_text)), "changed",
            reinterpret_cast<Callback>(&TextView::OnChanged));
    Connect(m_text, "focus-out-event", reinterpret_cast<Callback>(&TextView::OnFocusOut));
    Connect(m_text, "grab-focus", reinterpret_cast<Callback>(&TextView::OnGrabFocus));
    Connect(m_text, "button-press-event", reinterpret_cast<Callback>(&TextView::OnButtonPress));
    Connect(m_text, "popup-menu", reinterpret_cast<Callback>(&TextView::OnPopupMenu));
}

void TextView::OnChanged(void*, TextView* self) {
    Ref<Control> hold(self);
    if (self->onTextChanged)
        self->onTextChanged(*self);
}

int TextView::OnFocusOut(void*, void*, TextView* self) {
    Ref<Control> hold(self);
    if (self->onEditingEnded)
        self->onEditingEnded(*self);
    return FALSE;
}

void TextView::OnGrabFocus(void*, TextView* self) {
    Ref<Control> hold(self);
    if (self->onFocusTaken)
        self->onFocusTaken(*self);
}

int TextView::OnButtonPress(void*, void* event, TextView* self) {
    return !self->m_menuEnabled && IsContextMenuPress(event);
}

int TextView::OnPopupMenu(void*, TextView* self) {
    return !self->m_menuEnabled;
}

std::string TextView::Text() const {
    GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(m_text));
    GtkTextIter start;
    GtkTextIter end;
    gtk_text_buffer_get_bounds(buffer, &start, &end);
    return Owned(gtk_text_buffer_get_text(buffer, &start, &end, FALSE));
}

void TextView::SetText(const std::string& text) {
    Silence silence(*this);
    const std::string valid = ValidUtf8(text);
    gtk_text_buffer_set_text(gtk_text_view_get_buffer(GTK_TEXT_VIEW(m_text)), valid.c_str(),
                             int(valid.size()));
}

void TextView::SetWraps(bool wraps) {
    gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(m_text), wraps ? GTK_WRAP_WORD_CHAR : GTK_WRAP_NONE);
}

void TextView::SetEditable(bool editable) {
    gtk_text_view_set_editable(GTK_TEXT_VIEW(m_text), editable);
    gtk_text_view_set_cursor_visible(GTK_TEXT_VIEW(m_text), editable);
}

bool TextView::IsEditable() const {
    return gtk_text_view_get_editable(GTK_TEXT_VIEW(m_text));
}

std::pair<int, int> TextView::Selection() const {
    GtkTextIter start;
    GtkTextIter end;
    gtk_text_buffer_get_selection_bounds(gtk_text_view_get_buffer(GTK_TEXT_VIEW(m_text)), &start,
                                         &end);
    return {gtk_text_iter_get_offset(&start),
            gtk_text_iter_get_offset(&end) - gtk_text_iter_get_offset(&start)};
}

void TextView::SetSelection(int start, int length) {
    GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(m_text));
    GtkTextIter from;
    GtkTextIter to;
    gtk_text_buffer_get_iter_at_offset(buffer, &from, std::max(0, start));
    gtk_text_buffer_get_iter_at_offset(buffer, &to, std::max(0, start + std::max(0, length)));
    gtk_text_buffer_select_range(buffer, &from, &to);
}

void TextView::ReplaceSelection(const std::string& text) {
    Silence silence(*this);
    GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(m_text));
    gtk_text_buffer_delete_selection(buffer, FALSE, TRUE);
    const std::string valid = ValidUtf8(text);
    gtk_text_buffer_insert_at_cursor(buffer, valid.c_str(), int(valid.size()));
}

void TextView::ScrollToStart() {
    GtkTextIter start;
    gtk_text_buffer_get_start_iter(gtk_text_view_get_buffer(GTK_TEXT_VIEW(m_text)), &start);
    gtk_text_view_scroll_to_iter(GTK_TEXT_VIEW(m_text), &start, 0, FALSE, 0, 0);
}

void TextView::ScrollToEnd() {
    GtkTextIter end;
    gtk_text_buffer_get_end_iter(gtk_text_view_get_buffer(GTK_TEXT_VIEW(m_text)), &end);
    gtk_text_view_scroll_to_iter(GTK_TEXT_VIEW(m_text), &end, 0, FALSE, 0, 0);
}

} // namespace ak
