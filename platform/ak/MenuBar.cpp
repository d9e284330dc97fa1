// A window's own menu bar: the menu's items moved into a GtkMenuBar in the
// window's menu slot, their key equivalents bound in the window's group.
#include "platform/ak/Backing.h"
#include "platform/ak/Menu.h"
#include "platform/ak/View.h"

#include <gtk/gtk.h>

namespace ak {

Menu* Window::MenuBar() const {
    return static_cast<Menu*>(m_menuBar.Get());
}

void Window::SetMenuBar(Menu* menu) {
    Backing& backing = *m_backing;
    if (!backing.accelGroup) {
        backing.accelGroup = gtk_accel_group_new();
        gtk_window_add_accel_group(GTK_WINDOW(backing.window), backing.accelGroup);
        // The window keeps the group alive from here on.
        g_object_unref(backing.accelGroup);
    }
    if (Menu* old = MenuBar()) {
        for (const auto& item : old->Items())
            item->BindAccelerators(nullptr);
        gtk_container_remove(GTK_CONTAINER(backing.menuSlot), old->Shell());
        old->BecomeMenuBar(false);
    }
    m_menuBar = Ref<Object>(menu);
    if (menu) {
        // A menu shows in one window; another window's bar gives it up.
        for (const auto& window : Window::OrderedWindows())
            if (window.Get() != this && window->MenuBar() == menu)
                window->SetMenuBar(nullptr);
        GtkWidget* bar = menu->BecomeMenuBar(true);
        if (GtkWidget* parent = gtk_widget_get_parent(bar))
            gtk_container_remove(GTK_CONTAINER(parent), bar);
        gtk_box_pack_start(GTK_BOX(backing.menuSlot), bar, FALSE, FALSE, 0);
        gtk_widget_show_all(bar);
        for (const auto& item : menu->Items())
            item->BindAccelerators(backing.accelGroup);
    }
    gtk_widget_set_visible(backing.menuSlot, menu != nullptr);
    if (m_contentView)
        m_contentView->SetFrame(ContentRect());
}

} // namespace ak
