#include "platform/ak/Cursor.h"

#include "platform/ak/Application.h"

#include <gtk/gtk.h>

#include <algorithm>

namespace ak {

namespace {

Ref<Cursor> g_current;
bool g_hidden = false;

// Every top-level window of ours, shown or not.
void ApplyToWindows(GdkCursor* cursor) {
    GList* toplevels = gtk_window_list_toplevels();
    for (GList* item = toplevels; item; item = item->next) {
        auto* widget = static_cast<GtkWidget*>(item->data);
        if (!g_object_get_data(G_OBJECT(widget), "ak-window"))
            continue;
        if (GdkWindow* window = gtk_widget_get_window(widget))
            gdk_window_set_cursor(window, cursor);
    }
    g_list_free(toplevels);
}

GdkCursor* Shown() {
    if (g_hidden)
        return gdk_cursor_new_from_name(gdk_display_get_default(), "none");
    return g_current ? GDK_CURSOR(g_object_ref(g_current->NativeCursor())) : nullptr;
}

void Refresh() {
    GdkCursor* cursor = Shown();
    ApplyToWindows(cursor);
    if (cursor)
        g_object_unref(cursor);
}

} // namespace

void ApplyCurrentCursor(GtkWidget* toplevel) {
    GdkWindow* window = gtk_widget_get_window(toplevel);
    if (GdkCursor* cursor = window ? Shown() : nullptr) {
        gdk_window_set_cursor(window, cursor);
        g_object_unref(cursor);
    }
}

const char* Cursor::ShapeName(CursorShape shape) {
    static constexpr const char* kNames[] = {
        "default",     "text",        "progress",  "crosshair", "n-resize",
        "nwse-resize", "nesw-resize", "ew-resize", "ns-resize", "move",
        "not-allowed", "pointer",     "help",      "grab",      "grabbing",
    };
    const auto index = static_cast<size_t>(shape);
    return index < std::size(kNames) ? kNames[index] : "default";
}

Ref<Cursor> Cursor::WithShape(CursorShape shape) {
    GdkDisplay* display = gdk_display_get_default();
    GdkCursor* cursor = gdk_cursor_new_from_name(display, ShapeName(shape));
    // A theme without the shape: the arrow.
    if (!cursor)
        cursor = gdk_cursor_new_from_name(display, "default");
    if (!cursor)
        cursor = gdk_cursor_new_for_display(display, GDK_LEFT_PTR);
    return Ref<Cursor>::Adopt(new Cursor(cursor));
}

Ref<Cursor> Cursor::FromImage(Image* image, Point hotSpot) {
    if (!image)
        return WithShape(CursorShape::Arrow);
    const Size size = image->PointSize();
    const double x = std::clamp(hotSpot.x, 0.0, std::max(0.0, size.width - 1));
    const double y = std::clamp(hotSpot.y, 0.0, std::max(0.0, size.height - 1));
    GdkCursor* cursor =
        gdk_cursor_new_from_surface(gdk_display_get_default(), image->Surface(), x, y);
    return Ref<Cursor>::Adopt(new Cursor(cursor));
}

Cursor::~Cursor() {
    if (m_cursor)
        g_object_unref(m_cursor);
}

void Cursor::Set() {
    g_current = this;
    Refresh();
}

Cursor* Cursor::Current() {
    return g_current.Get();
}

void Cursor::Hide() {
    g_hidden = true;
    Refresh();
}

void Cursor::Unhide() {
    g_hidden = false;
    Refresh();
}

bool Cursor::IsHidden() {
    return g_hidden;
}

void Cursor::Warp(Point onScreen) {
    if (Application* app = Application::Shared())
        app->WarpPointer(onScreen);
}

Point Cursor::MouseLocation() {
    GdkDisplay* display = gdk_display_get_default();
    if (!display)
        return {};
    GdkDevice* pointer = gdk_seat_get_pointer(gdk_display_get_default_seat(display));
    double x = 0;
    double y = 0;
    gdk_device_get_position_double(pointer, nullptr, &x, &y);
    return {x, y};
}

} // namespace ak
