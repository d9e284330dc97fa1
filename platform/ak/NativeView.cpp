#include "platform/ak/NativeView.h"

#include "platform/ak/Backing.h"

#include <gtk/gtk.h>

namespace ak {

namespace {

GtkWidget* HostedWidget(const View& view) {
    GList* children = gtk_container_get_children(GTK_CONTAINER(view.GetBacking().widget));
    GtkWidget* hosted = nullptr;
    for (GList* item = children; item && !hosted; item = item->next)
        if (!ViewOfWidget(static_cast<GtkWidget*>(item->data)))
            hosted = static_cast<GtkWidget*>(item->data);
    g_list_free(children);
    return hosted;
}

} // namespace

void HostWidget(NativeView& view, GtkWidget* widget) {
    if (GtkWidget* old = HostedWidget(view))
        gtk_container_remove(GTK_CONTAINER(view.GetBacking().widget), old);
    gtk_container_add(GTK_CONTAINER(view.GetBacking().widget), widget);
    gtk_widget_show(widget);
}

namespace {

// The widget that takes the keys: a scrolled one (a text view) takes them in
// the widget it scrolls, not in its scroller.
GtkWidget* FocusWidget(const NativeView& view) {
    GtkWidget* widget = HostedWidget(view);
    if (widget && GTK_IS_SCROLLED_WINDOW(widget))
        if (GtkWidget* scrolled = gtk_bin_get_child(GTK_BIN(widget));
            scrolled && gtk_widget_get_can_focus(scrolled))
            return scrolled;
    return widget;
}

} // namespace

bool NativeView::BecomeFirstResponder() {
    if (GtkWidget* widget = FocusWidget(*this))
        if (gtk_widget_get_can_focus(widget) && !gtk_widget_has_focus(widget))
            gtk_widget_grab_focus(widget);
    return true;
}

bool NativeView::HasNativeFocus() const {
    GtkWidget* widget = FocusWidget(*this);
    return widget && gtk_widget_has_focus(widget);
}

} // namespace ak
