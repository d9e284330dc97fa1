// Drawing into a view outside its draw signal: one frame of its GdkWindow.
#include "platform/ak/Backing.h"
#include "platform/ak/View.h"

#include <gtk/gtk.h>

namespace ak {

cairo_t* View::LockFocus() {
    Backing& backing = GetBacking();
    GtkWidget* widget = backing.widget;
    GdkWindow* window = widget ? gtk_widget_get_window(widget) : nullptr;
    if (backing.focus || !window || !gtk_widget_get_mapped(widget) ||
        !gdk_window_is_viewable(window))
        return nullptr;
    cairo_region_t* region = gdk_window_get_visible_region(window);
    GdkDrawingContext* context = gdk_window_begin_draw_frame(window, region);
    cairo_region_destroy(region);
    if (!context)
        return nullptr;
    backing.focus = context;
    return gdk_drawing_context_get_cairo_context(context);
}

void View::UnlockFocus() {
    Backing& backing = GetBacking();
    auto* context = static_cast<GdkDrawingContext*>(backing.focus);
    if (!context)
        return;
    backing.focus = nullptr;
    gdk_window_end_draw_frame(gdk_drawing_context_get_window(context), context);
}

} // namespace ak
