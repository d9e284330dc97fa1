#include "platform/ak/Menu.h"

#include "platform/ak/Backing.h"
#include "platform/ak/Control.h"
#include "platform/ak/ControlStyle.h"
#include "platform/ak/Event.h"
#include "platform/ak/MenuText.h"
#include "platform/ak/RunLoop.h"
#include "platform/ak/View.h"
#include "platform/sys/Utf8.h"

#include <gtk/gtk.h>

#include <algorithm>

namespace ak {

namespace {

// The pop-up running now: its items' activations are its answer.
struct PopUpSession {
    Ref<MenuItem> chosen;
    RunLoop loop;
};
PopUpSession* g_popUp = nullptr;

GdkModifierType GdkModifiers(uint32_t flags) {
    int mods = 0;
    if (flags & ModifierFlag::Command)
        mods |= GDK_CONTROL_MASK;
    if (flags & ModifierFlag::Control)
        mods |= GDK_SUPER_MASK;
    if (flags & ModifierFlag::Option)
        mods |= GDK_MOD1_MASK;
    if (flags & ModifierFlag::Shift)
        mods |= GDK_SHIFT_MASK;
    return static_cast<GdkModifierType>(mods);
}

unsigned KeyvalOf(const std::string& key) {
    if (key.empty())
        return 0;
    char32_t c = 0;
    if (sys::DecodeUtf8(key, 0, c) == key.size())
        return gdk_keyval_to_lower(gdk_unicode_to_keyval(c));
    const unsigned keyval = gdk_keyval_from_name(key.c_str());
    return keyval == GDK_KEY_VoidSymbol ? 0 : keyval;
}

} // namespace

MenuItem::MenuItem(const std::string& title, int64_t tag) : MenuItem(title, tag, false) {}

MenuItem::MenuItem(const std::string& title, int64_t tag, bool separator)
    : m_separator(separator), m_tag(tag),
      m_widget(GTK_WIDGET(g_object_ref_sink(separator ? gtk_separator_menu_item_new()
                                                      : gtk_check_menu_item_new()))) {
    InstallControlStyle();
    gtk_widget_show(m_widget);
    if (separator)
        return;
    m_activateHandler =
        g_signal_connect(m_widget, "activate", G_CALLBACK(&MenuItem::OnActivate), this);
    RebuildChild();
    SetTitle(title);
}

Ref<MenuItem> MenuItem::Separator() {
    return Ref<MenuItem>::Adopt(new MenuItem({}, 0, true));
}

MenuItem::~MenuItem() {
    if (m_activateHandler)
        g_signal_handler_disconnect(m_widget, m_activateHandler);
    if (m_submenu) {
        gtk_menu_item_set_submenu(GTK_MENU_ITEM(m_widget), nullptr);
        m_submenu->m_owner = nullptr;
    }
    BindAccelerators(nullptr);
    gtk_widget_destroy(m_widget);
    g_object_unref(m_widget);
}

Ref<MenuItem> MenuItem::Copy() const {
    if (m_separator)
        return Separator();
    auto copy = MakeRef<MenuItem>(m_title, m_tag);
    copy->m_data = m_data;
    copy->m_mnemonic = m_mnemonic;
    copy->SetTitle(m_title);
    copy->SetKeyEquivalent(m_key, m_modifiers);
    copy->SetEnabled(m_enabled);
    copy->SetChecked(m_checked);
    copy->SetIndent(m_indent);
    copy->SetImage(m_image.Get());
    if (m_submenu)
        copy->SetSubmenu(m_submenu->Copy().Get());
    copy->onActivate = onActivate;
    return copy;
}

void MenuItem::OnActivate(void*, MenuItem* self) {
    Ref<MenuItem> hold(self);
    // A check item turns itself over when chosen; its state is the caller's.
    g_signal_handler_block(self->m_widget, self->m_activateHandler);
    gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(self->m_widget), self->m_checked);
    g_signal_handler_unblock(self->m_widget, self->m_activateHandler);
    if (self->m_submenu)
        return;
    if (g_popUp)
        g_popUp->chosen = hold;
    if (self->onActivate) {
        const auto activate = self->onActivate;
        activate(*self);
    }
}

void MenuItem::RebuildChild() {
    if (GtkWidget* child = gtk_bin_get_child(GTK_BIN(m_widget)))
        gtk_container_remove(GTK_CONTAINER(m_widget), child);
    m_label = gtk_accel_label_new("");
    gtk_label_set_xalign(GTK_LABEL(m_label), 0);
    gtk_accel_label_set_accel_widget(GTK_ACCEL_LABEL(m_label), m_widget);
    GtkWidget* child = m_label;
    if (m_image) {
        child = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 6);
        gtk_container_add(GTK_CONTAINER(child), gtk_image_new_from_surface(m_image->Surface()));
        gtk_box_pack_start(GTK_BOX(child), m_label, TRUE, TRUE, 0);
    }
    gtk_widget_show_all(child);
    gtk_container_add(GTK_CONTAINER(m_widget), child);
}

void MenuItem::SetTitle(const std::string& title) {
    m_title = title;
    if (m_label && m_mnemonic)
        gtk_label_set_text_with_mnemonic(GTK_LABEL(m_label), GtkMnemonicLabel(title).c_str());
    else if (m_label)
        gtk_label_set_text(GTK_LABEL(m_label), ValidUtf8(title).c_str());
}

void MenuItem::SetKeyEquivalent(const std::string& key, uint32_t modifiers) {
    BindAccelerators(nullptr);
    void* group = m_accelGroup;
    m_key = key;
    m_modifiers = modifiers;
    if (m_label)
        gtk_accel_label_set_accel(GTK_ACCEL_LABEL(m_label), KeyvalOf(key), GdkModifiers(modifiers));
    m_accelGroup = nullptr;
    if (group)
        BindAccelerators(group);
}

void MenuItem::BindAccelerators(void* accelGroup) {
    if (m_submenu)
        for (const auto& item : m_submenu->Items())
            item->BindAccelerators(accelGroup);
    if (m_accelGroup && m_accelGroup != accelGroup) {
        gtk_widget_remove_accelerator(m_widget, GTK_ACCEL_GROUP(m_accelGroup), KeyvalOf(m_key),
                                      GdkModifiers(m_modifiers));
        g_object_unref(m_accelGroup);
        m_accelGroup = nullptr;
    }
    const unsigned keyval = KeyvalOf(m_key);
    if (!accelGroup || m_accelGroup == accelGroup || m_separator || !keyval)
        return;
    m_accelGroup = g_object_ref(accelGroup);
    gtk_widget_add_accelerator(m_widget, "activate", GTK_ACCEL_GROUP(accelGroup), keyval,
                               GdkModifiers(m_modifiers), GTK_ACCEL_VISIBLE);
}

void MenuItem::SetEnabled(bool enabled) {
    m_enabled = enabled;
    gtk_widget_set_sensitive(m_widget, enabled);
}

void MenuItem::SetChecked(bool checked) {
    m_checked = checked;
    if (m_separator)
        return;
    // Setting the state emits "activate": not the user's choice.
    g_signal_handler_block(m_widget, m_activateHandler);
    gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(m_widget), checked);
    g_signal_handler_unblock(m_widget, m_activateHandler);
}

void MenuItem::SetIndent(int level) {
    m_indent = std::clamp(level, 0, 15);
    gtk_widget_set_margin_start(m_widget, 12 * m_indent);
}

void MenuItem::SetImage(Image* image) {
    m_image = image;
    if (m_separator)
        return;
    RebuildChild();
    SetTitle(m_title);
    SetKeyEquivalent(m_key, m_modifiers);
}

void MenuItem::SetSubmenu(Menu* submenu) {
    if (submenu == m_submenu.Get() || m_separator)
        return;
    if (m_submenu) {
        gtk_menu_item_set_submenu(GTK_MENU_ITEM(m_widget), nullptr);
        m_submenu->m_owner = nullptr;
    }
    // A menu opens under one item only.
    if (submenu && submenu->m_owner)
        submenu->m_owner->SetSubmenu(nullptr);
    m_submenu = submenu;
    if (submenu) {
        gtk_menu_item_set_submenu(GTK_MENU_ITEM(m_widget), submenu->m_menu);
        submenu->m_owner = this;
        if (m_accelGroup)
            for (const auto& item : submenu->Items())
                item->BindAccelerators(m_accelGroup);
    }
}

Menu::Menu(const std::string& title)
    : m_title(title), m_menu(GTK_WIDGET(g_object_ref_sink(gtk_menu_new()))), m_shell(m_menu) {
    g_signal_connect(m_menu, "show", G_CALLBACK(&Menu::OnShow), this);
}

Menu::~Menu() {
    // Items outliving the menu keep their widgets.
    RemoveAllItems();
    g_signal_handlers_disconnect_by_data(m_menu, this);
    if (m_shell != m_menu) {
        gtk_widget_destroy(m_shell);
        g_object_unref(m_shell);
    }
    gtk_widget_destroy(m_menu);
    g_object_unref(m_menu);
}

void Menu::OnShow(void*, Menu* self) {
    Ref<Menu> hold(self);
    if (self->onWillShow) {
        const auto willShow = self->onWillShow;
        willShow(*self);
    }
}

Ref<Menu> Menu::Copy() const {
    auto copy = MakeRef<Menu>(m_title);
    for (const auto& item : m_items)
        copy->AddItem(item->Copy().Get());
    copy->onWillShow = onWillShow;
    return copy;
}

MenuItem* Menu::ItemAt(int index) const {
    return index >= 0 && index < Count() ? m_items[size_t(index)].Get() : nullptr;
}

int Menu::IndexOf(const MenuItem* item) const {
    for (int i = 0; i < Count(); ++i)
        if (m_items[size_t(i)].Get() == item)
            return i;
    return -1;
}

void Menu::InsertItem(MenuItem* item, int index) {
    if (!item)
        return;
    Ref<MenuItem> hold(item);
    if (Menu* from = item->m_menu)
        from->RemoveItemAt(from->IndexOf(item));
    if (index < 0 || index > Count())
        index = Count();
    m_items.insert(m_items.begin() + index, hold);
    item->m_menu = this;
    gtk_menu_shell_insert(GTK_MENU_SHELL(m_shell), item->Widget(), index);
}

void Menu::RemoveItemAt(int index) {
    MenuItem* item = ItemAt(index);
    if (!item)
        return;
    Ref<MenuItem> hold(item);
    item->BindAccelerators(nullptr);
    gtk_container_remove(GTK_CONTAINER(m_shell), item->Widget());
    m_items.erase(m_items.begin() + index);
    item->m_menu = nullptr;
}

void Menu::RemoveAllItems() {
    while (Count())
        RemoveItemAt(Count() - 1);
}

MenuItem* Menu::ItemWithTag(int64_t tag) const {
    for (const auto& item : m_items)
        if (!item->IsSeparator() && item->Tag() == tag)
            return item.Get();
    for (const auto& item : m_items)
        if (item->Submenu())
            if (MenuItem* found = item->Submenu()->ItemWithTag(tag))
                return found;
    return nullptr;
}

GtkWidget* Menu::BecomeMenuBar(bool bar) {
    GtkWidget* target = bar ? GTK_WIDGET(g_object_ref_sink(gtk_menu_bar_new())) : m_menu;
    for (const auto& item : m_items) {
        gtk_container_remove(GTK_CONTAINER(m_shell), item->Widget());
        gtk_menu_shell_append(GTK_MENU_SHELL(target), item->Widget());
    }
    if (m_shell != m_menu) {
        gtk_widget_destroy(m_shell);
        g_object_unref(m_shell);
    }
    m_shell = target;
    return target;
}

Ref<MenuItem> Menu::PopUp(View* view, Point inView, MenuItem* positioned) {
    if (!view || g_popUp || m_owner || m_shell != m_menu)
        return nullptr;
    Ref<Menu> hold(this);
    Ref<View> holdView(view);
    GtkWidget* anchor = view->GetBacking().widget;
    GdkWindow* window = gtk_widget_get_window(anchor);
    if (!window)
        return nullptr;
    const double y = view->IsFlipped() ? inView.y : view->Frame().size.height - inView.y;
    GdkRectangle rect{PixelEdge(inView.x), PixelEdge(y), 1, 1};
    if (positioned) {
        // The item the caller names opens under the point: shift up by the
        // menu's own top edge and the rows above it.
        GtkStyleContext* style = gtk_widget_get_style_context(m_menu);
        GtkBorder border{};
        GtkBorder padding{};
        gtk_style_context_get_border(style, gtk_style_context_get_state(style), &border);
        gtk_style_context_get_padding(style, gtk_style_context_get_state(style), &padding);
        int above = border.top + padding.top;
        for (int i = 0; i < IndexOf(positioned); ++i) {
            int height = 0;
            gtk_widget_get_preferred_height(m_items[size_t(i)]->Widget(), nullptr, &height);
            above += height;
        }
        rect.y -= above;
    }
    PopUpSession session;
    g_popUp = &session;
    // The chosen item's "activate" follows "deactivate" within the same
    // dispatch, and the loop ends only after that dispatch returns.
    const gulong closed = g_signal_connect_swapped(
        m_menu, "deactivate", G_CALLBACK(+[](RunLoop* loop) { loop->Quit(); }), &session.loop);
    // GTK takes its grab for the event that opens the menu; opened from a
    // timer or a queued task there is none, so a press now stands in.
    GdkEvent* trigger = CurrentGdkEvent() ? gdk_event_copy(CurrentGdkEvent()) : nullptr;
    if (!trigger) {
        trigger = gdk_event_new(GDK_BUTTON_PRESS);
        trigger->button.window = GDK_WINDOW(g_object_ref(window));
        trigger->button.time = GDK_CURRENT_TIME;
        trigger->button.button = GDK_BUTTON_PRIMARY;
        gdk_event_set_device(trigger, gdk_seat_get_pointer(gdk_display_get_default_seat(
                                          gdk_window_get_display(window))));
    }
    gtk_menu_popup_at_rect(GTK_MENU(m_menu), window, &rect, GDK_GRAVITY_NORTH_WEST,
                           GDK_GRAVITY_NORTH_WEST, trigger);
    gdk_event_free(trigger);
    if (gtk_widget_get_visible(m_menu))
        session.loop.Run();
    g_signal_handler_disconnect(m_menu, closed);
    if (gtk_widget_get_visible(m_menu))
        gtk_menu_popdown(GTK_MENU(m_menu));
    g_popUp = nullptr;
    return session.chosen;
}

double MenuBarHeight() {
    GtkWidget* bar = GTK_WIDGET(g_object_ref_sink(gtk_menu_bar_new()));
    GtkWidget* item = gtk_menu_item_new_with_label("File");
    gtk_menu_shell_append(GTK_MENU_SHELL(bar), item);
    gtk_widget_show_all(bar);
    int natural = 0;
    gtk_widget_get_preferred_height(bar, nullptr, &natural);
    gtk_widget_destroy(bar);
    g_object_unref(bar);
    return natural;
}

} // namespace ak
