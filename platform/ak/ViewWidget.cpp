// The GTK container behind every view: its own GdkWindow, children placed at
// their views' frames, drawing handed to View::DrawRect.
#include "platform/ak/Backing.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <cmath>

namespace {

struct AkViewWidget {
    GtkContainer parent;
    ak::View* view;
    GList* children;
};

struct AkViewWidgetClass {
    GtkContainerClass parentClass;
};

GType ak_view_widget_get_type();
G_DEFINE_TYPE(AkViewWidget, ak_view_widget, GTK_TYPE_CONTAINER)

AkViewWidget* AsViewWidget(GtkWidget* widget) {
    return reinterpret_cast<AkViewWidget*>(widget);
}

bool IsViewWidget(GtkWidget* widget) {
    return G_TYPE_CHECK_INSTANCE_TYPE(widget, ak_view_widget_get_type());
}

constexpr int kEventMask = GDK_EXPOSURE_MASK | GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                           GDK_POINTER_MOTION_MASK | GDK_SCROLL_MASK | GDK_SMOOTH_SCROLL_MASK |
                           GDK_ENTER_NOTIFY_MASK | GDK_LEAVE_NOTIFY_MASK | GDK_KEY_PRESS_MASK |
                           GDK_KEY_RELEASE_MASK | GDK_TOUCHPAD_GESTURE_MASK;

void Realize(GtkWidget* widget) {
    GtkAllocation allocation;
    gtk_widget_get_allocation(widget, &allocation);
    GdkWindowAttr attributes{};
    attributes.window_type = GDK_WINDOW_CHILD;
    attributes.x = allocation.x;
    attributes.y = allocation.y;
    attributes.width = allocation.width;
    attributes.height = allocation.height;
    attributes.wclass = GDK_INPUT_OUTPUT;
    attributes.visual = gtk_widget_get_visual(widget);
    attributes.event_mask = gtk_widget_get_events(widget) | kEventMask;
    GdkWindow* window = gdk_window_new(gtk_widget_get_parent_window(widget), &attributes,
                                       GDK_WA_X | GDK_WA_Y | GDK_WA_VISUAL);
    gtk_widget_register_window(widget, window);
    gtk_widget_set_window(widget, window);
    gtk_widget_set_realized(widget, TRUE);
}

// Edges land on floor(v + 0.5); a non-flipped parent counts y from its bottom.
GtkAllocation ChildAllocation(const ak::View& parent, const ak::View& child) {
    const ak::Rect frame = child.Frame();
    const double top =
        parent.IsFlipped() ? frame.MinY() : parent.Frame().size.height - frame.MaxY();
    const int x = ak::PixelEdge(frame.MinX());
    const int y = ak::PixelEdge(top);
    return {x, y, std::max(1, ak::PixelEdge(frame.MinX() + frame.size.width) - x),
            std::max(1, ak::PixelEdge(top + frame.size.height) - y)};
}

void SizeAllocate(GtkWidget* widget, GtkAllocation* allocation) {
    gtk_widget_set_allocation(widget, allocation);
    if (gtk_widget_get_realized(widget))
        gdk_window_move_resize(gtk_widget_get_window(widget), allocation->x, allocation->y,
                               allocation->width, allocation->height);
    auto* self = AsViewWidget(widget);
    for (GList* item = self->children; item; item = item->next) {
        auto* child = static_cast<GtkWidget*>(item->data);
        const ak::View* childView = ak::ViewOfWidget(child);
        GtkRequisition minimum;
        gtk_widget_get_preferred_size(child, &minimum, nullptr);
        GtkAllocation childAllocation{};
        if (childView && self->view)
            childAllocation = ChildAllocation(*self->view, *childView);
        else
            childAllocation = {0, 0, std::max(1, allocation->width),
                               std::max(1, allocation->height)};
        gtk_widget_size_allocate(child, &childAllocation);
    }
}

void PreferredNothing(GtkWidget*, int* minimum, int* natural) {
    *minimum = 0;
    *natural = 0;
}

gboolean Draw(GtkWidget* widget, cairo_t* cr) {
    auto* self = AsViewWidget(widget);
    if (ak::View* view = self->view) {
        ak::Ref<ak::View> hold(view);
        GdkRectangle clip;
        if (gdk_cairo_get_clip_rectangle(cr, &clip)) {
            const double height = gtk_widget_get_allocated_height(widget);
            ak::Rect dirty{{double(clip.x), double(clip.y)},
                           {double(clip.width), double(clip.height)}};
            cairo_save(cr);
            if (!view->IsFlipped()) {
                cairo_translate(cr, 0, height);
                cairo_scale(cr, 1, -1);
                dirty.origin.y = height - dirty.MaxY();
            }
            view->DrawRect(cr, dirty);
            cairo_restore(cr);
        }
    }
    return GTK_WIDGET_CLASS(ak_view_widget_parent_class)->draw(widget, cr);
}

void Add(GtkContainer* container, GtkWidget* child) {
    auto* self = AsViewWidget(GTK_WIDGET(container));
    self->children = g_list_append(self->children, child);
    gtk_widget_set_parent(child, GTK_WIDGET(container));
}

void Remove(GtkContainer* container, GtkWidget* child) {
    auto* self = AsViewWidget(GTK_WIDGET(container));
    GList* item = g_list_find(self->children, child);
    if (!item)
        return;
    const bool wasVisible = gtk_widget_get_visible(child);
    gtk_widget_unparent(child);
    self->children = g_list_delete_link(self->children, item);
    if (wasVisible)
        gtk_widget_queue_resize(GTK_WIDGET(container));
}

void Forall(GtkContainer* container, gboolean, GtkCallback callback, gpointer data) {
    auto* self = AsViewWidget(GTK_WIDGET(container));
    // The callback may remove the child it is given.
    GList* item = self->children;
    while (item) {
        GList* next = item->next;
        callback(static_cast<GtkWidget*>(item->data), data);
        item = next;
    }
}

void Dispose(GObject* object) {
    AsViewWidget(GTK_WIDGET(object))->view = nullptr;
    G_OBJECT_CLASS(ak_view_widget_parent_class)->dispose(object);
}

void ak_view_widget_class_init(AkViewWidgetClass* klass) {
    auto* widgetClass = GTK_WIDGET_CLASS(klass);
    widgetClass->realize = Realize;
    widgetClass->size_allocate = SizeAllocate;
    widgetClass->get_preferred_width = PreferredNothing;
    widgetClass->get_preferred_height = PreferredNothing;
    widgetClass->draw = Draw;
    auto* containerClass = GTK_CONTAINER_CLASS(klass);
    containerClass->add = Add;
    containerClass->remove = Remove;
    containerClass->forall = Forall;
    G_OBJECT_CLASS(klass)->dispose = Dispose;
}

void ak_view_widget_init(AkViewWidget* self) {
    gtk_widget_set_has_window(GTK_WIDGET(self), TRUE);
    gtk_widget_set_can_focus(GTK_WIDGET(self), TRUE);
    self->view = nullptr;
    self->children = nullptr;
}

} // namespace

namespace ak {

GtkWidget* NewViewWidget(View* view) {
    auto* widget = static_cast<GtkWidget*>(g_object_new(ak_view_widget_get_type(), nullptr));
    AsViewWidget(widget)->view = view;
    g_object_ref_sink(widget);
    return widget;
}

void StackChildAtBack(GtkWidget* container, GtkWidget* child) {
    if (!IsViewWidget(container))
        return;
    auto* self = AsViewWidget(container);
    GList* item = g_list_find(self->children, child);
    if (!item)
        return;
    self->children = g_list_remove_link(self->children, item);
    self->children = g_list_concat(item, self->children);
    if (GdkWindow* window =
            gtk_widget_get_has_window(child) ? gtk_widget_get_window(child) : nullptr)
        gdk_window_lower(window);
    gtk_widget_queue_draw(container);
}

View* ViewOfWidget(GtkWidget* widget) {
    return widget && IsViewWidget(widget) ? AsViewWidget(widget)->view : nullptr;
}

} // namespace ak
