#include "platform/ak/Box.h"

#include <gtk/gtk.h>

namespace ak {

namespace {

GtkWidget* NewWidget(BoxKind kind) {
    switch (kind) {
    case BoxKind::HorizontalLine:
        return gtk_separator_new(GTK_ORIENTATION_HORIZONTAL);
    case BoxKind::VerticalLine:
        return gtk_separator_new(GTK_ORIENTATION_VERTICAL);
    default: {
        GtkWidget* frame = gtk_frame_new(nullptr);
        gtk_frame_set_shadow_type(GTK_FRAME(frame), GTK_SHADOW_ETCHED_IN);
        return frame;
    }
    }
}

} // namespace

Box::Box(Rect frame, BoxKind kind) : Control(frame, NewWidget(kind)), m_kind(kind) {
    // Lines lie along the box's top or left edge.
    if (kind == BoxKind::HorizontalLine)
        gtk_widget_set_valign(Widget(), GTK_ALIGN_START);
    if (kind == BoxKind::VerticalLine)
        gtk_widget_set_halign(Widget(), GTK_ALIGN_START);
}

void Box::SetTitle(const std::string& title) {
    m_title = ValidUtf8(title);
    if (m_kind == BoxKind::Titled)
        gtk_frame_set_label(GTK_FRAME(Widget()), m_title.empty() ? nullptr : m_title.c_str());
}

void Box::SetTitleCentered(bool centered) {
    if (m_kind == BoxKind::Titled)
        gtk_frame_set_label_align(GTK_FRAME(Widget()), centered ? 0.5f : 0.0f, 0.5f);
}

} // namespace ak
