#include "platform/ak/PopUpButton.h"

#include <gtk/gtk.h>

#include <algorithm>

namespace ak {

namespace {

GtkWidget* NewButton(GtkWidget*& label) {
    GtkWidget* button = gtk_button_new();
    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 2);
    label = gtk_label_new(nullptr);
    gtk_label_set_xalign(GTK_LABEL(label), 0);
    gtk_label_set_ellipsize(GTK_LABEL(label), PANGO_ELLIPSIZE_END);
    gtk_box_pack_start(GTK_BOX(box), label, TRUE, TRUE, 0);
    gtk_box_pack_end(GTK_BOX(box),
                     gtk_image_new_from_icon_name("pan-down-symbolic", GTK_ICON_SIZE_MENU), FALSE,
                     FALSE, 0);
    gtk_widget_show_all(box);
    gtk_container_add(GTK_CONTAINER(button), box);
    return button;
}

} // namespace

PopUpButton::PopUpButton(Rect frame) : Control(frame, NewButton(m_label)), m_menu(MakeRef<Menu>()) {
    Connect(Widget(), "clicked", reinterpret_cast<Callback>(&PopUpButton::OnClicked));
}

void PopUpButton::OnClicked(void*, PopUpButton* self) {
    if (!self->Count())
        return;
    GtkMenu* menu = GTK_MENU(self->m_menu->Shell());
    if (!gtk_menu_get_attach_widget(menu))
        gtk_menu_attach_to_widget(menu, self->Widget(), nullptr);
    gtk_menu_popup_at_widget(menu, self->Widget(), GDK_GRAVITY_SOUTH_WEST, GDK_GRAVITY_NORTH_WEST,
                             gtk_get_current_event());
}

void PopUpButton::AddItem(const std::string& title, int64_t data) {
    InsertItem(Count(), title, data);
}

void PopUpButton::InsertItem(int index, const std::string& title, int64_t data) {
    index = std::clamp(index, 0, Count());
    // Titles are shown as they are: no mnemonics here.
    auto item = MakeRef<MenuItem>(std::string{}, Count());
    item->SetUsesMnemonic(false);
    item->SetTitle(title);
    item->SetData(data);
    // The item calls back only while the menu, and with it this button, lives.
    item->onActivate = [this](MenuItem& chosen) { Choose(chosen); };
    m_menu->InsertItem(item.Get(), index);
    if (m_selected >= index)
        ++m_selected;
}

void PopUpButton::RemoveItemAt(int index) {
    if (index < 0 || index >= Count())
        return;
    m_menu->RemoveItemAt(index);
    SelectIndex(m_selected == index ? -1 : m_selected > index ? m_selected - 1 : m_selected);
}

void PopUpButton::SetDataAt(int index, int64_t data) {
    if (MenuItem* item = m_menu->ItemAt(index))
        item->SetData(data);
}

void PopUpButton::RemoveAllItems() {
    m_menu->RemoveAllItems();
    SelectIndex(-1);
}

std::string PopUpButton::TitleAt(int index) const {
    MenuItem* item = m_menu->ItemAt(index);
    return item ? item->Title() : std::string{};
}

int64_t PopUpButton::DataAt(int index) const {
    MenuItem* item = m_menu->ItemAt(index);
    return item ? item->Data() : 0;
}

void PopUpButton::SelectIndex(int index) {
    Silence silence(*this);
    m_selected = m_menu->ItemAt(index) ? index : -1;
    for (int i = 0; i < Count(); ++i)
        m_menu->ItemAt(i)->SetChecked(i == m_selected);
    gtk_label_set_text(GTK_LABEL(m_label), TitleAt(m_selected).c_str());
}

void PopUpButton::Choose(MenuItem& item) {
    Ref<Control> hold(this);
    SelectIndex(m_menu->IndexOf(&item));
    FireAction();
}

} // namespace ak
