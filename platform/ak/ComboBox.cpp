#include "platform/ak/ComboBox.h"

#include <gtk/gtk.h>

#include <algorithm>

namespace ak {

namespace {

GtkEntry* EntryOf(GtkWidget* combo) {
    return GTK_ENTRY(gtk_bin_get_child(GTK_BIN(combo)));
}

} // namespace

ComboBox::ComboBox(Rect frame) : Control(frame, gtk_combo_box_text_new_with_entry()) {
    Connect(Widget(), "changed", reinterpret_cast<Callback>(&ComboBox::OnChanged));
    Connect(Widget(), "notify::popup-shown", reinterpret_cast<Callback>(&ComboBox::OnPopupShown));
    GtkEntry* entry = EntryOf(Widget());
    Connect(entry, "changed", reinterpret_cast<Callback>(&ComboBox::OnEntryChanged));
    Connect(entry, "focus-out-event", reinterpret_cast<Callback>(&ComboBox::OnFocusOut));
    Connect(entry, "grab-focus", reinterpret_cast<Callback>(&ComboBox::OnGrabFocus));
    Connect(entry, "button-press-event", reinterpret_cast<Callback>(&ComboBox::OnButtonPress));
    Connect(entry, "popup-menu", reinterpret_cast<Callback>(&ComboBox::OnPopupMenu));
}

void ComboBox::Notify(const std::function<void(ComboBox&)>& callback) {
    Ref<Control> hold(this);
    if (callback) {
        const auto call = callback;
        call(*this);
    }
}

void ComboBox::OnChanged(void*, ComboBox* self) {
    if (self->SelectedIndex() < 0)
        return; // typing: the entry's own signal tells
    self->Notify(self->onSelectionChanged);
    self->FireAction();
}

void ComboBox::OnPopupShown(void*, void*, ComboBox* self) {
    gboolean shown = FALSE;
    g_object_get(self->Widget(), "popup-shown", &shown, nullptr);
    self->Notify(shown ? self->onPopUp : self->onClose);
}

void ComboBox::OnEntryChanged(void*, ComboBox* self) {
    self->Notify(self->onTextChanged);
}

int ComboBox::OnFocusOut(void*, void*, ComboBox* self) {
    self->Notify(self->onEditingEnded);
    return FALSE;
}

void ComboBox::OnGrabFocus(void*, ComboBox* self) {
    self->Notify(self->onFocusTaken);
}

int ComboBox::OnButtonPress(void*, void* event, ComboBox* self) {
    return !self->m_menuEnabled && IsContextMenuPress(event);
}

int ComboBox::OnPopupMenu(void*, ComboBox* self) {
    return !self->m_menuEnabled;
}

void ComboBox::AddItem(const std::string& title) {
    Silence silence(*this);
    gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(Widget()), ValidUtf8(title).c_str());
    ++m_count;
}

void ComboBox::InsertItem(int index, const std::string& title) {
    Silence silence(*this);
    gtk_combo_box_text_insert_text(GTK_COMBO_BOX_TEXT(Widget()), std::clamp(index, 0, m_count),
                                   ValidUtf8(title).c_str());
    ++m_count;
}

void ComboBox::RemoveItemAt(int index) {
    if (index < 0 || index >= m_count)
        return;
    Silence silence(*this);
    gtk_combo_box_text_remove(GTK_COMBO_BOX_TEXT(Widget()), index);
    --m_count;
}

std::string ComboBox::TitleAt(int index) const {
    if (index < 0 || index >= m_count)
        return {};
    GtkTreeModel* model = gtk_combo_box_get_model(GTK_COMBO_BOX(Widget()));
    GtkTreeIter iter;
    if (!gtk_tree_model_iter_nth_child(model, &iter, nullptr, index))
        return {};
    gchar* text = nullptr;
    gtk_tree_model_get(model, &iter, gtk_combo_box_get_entry_text_column(GTK_COMBO_BOX(Widget())),
                       &text, -1);
    std::string result = text ? text : "";
    g_free(text);
    return result;
}

void ComboBox::RemoveAllItems() {
    Silence silence(*this);
    gtk_combo_box_text_remove_all(GTK_COMBO_BOX_TEXT(Widget()));
    m_count = 0;
}

int ComboBox::SelectedIndex() const {
    return gtk_combo_box_get_active(GTK_COMBO_BOX(Widget()));
}

void ComboBox::SelectIndex(int index) {
    Silence silence(*this);
    gtk_combo_box_set_active(GTK_COMBO_BOX(Widget()), index >= 0 && index < m_count ? index : -1);
}

std::string ComboBox::Text() const {
    return gtk_entry_get_text(EntryOf(Widget()));
}

void ComboBox::SetText(const std::string& text) {
    Silence silence(*this);
    gtk_entry_set_text(EntryOf(Widget()), ValidUtf8(text).c_str());
}

TabView::TabView(Rect frame) : Control(frame, gtk_notebook_new()) {
    gtk_notebook_set_scrollable(GTK_NOTEBOOK(Widget()), TRUE);
    Connect(Widget(), "switch-page", reinterpret_cast<Callback>(&TabView::OnSwitchPage));
}

void TabView::OnSwitchPage(void*, void*, unsigned page, TabView* self) {
    if (self->m_changingTabs || !self->onSelectionChanged)
        return;
    Ref<Control> hold(self);
    const auto call = self->onSelectionChanged;
    call(*self, int(page));
}

void TabView::InsertTab(int index, const std::string& label) {
    m_changingTabs = true;
    GtkWidget* page = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_widget_show(page);
    gtk_notebook_insert_page(GTK_NOTEBOOK(Widget()), page, gtk_label_new(ValidUtf8(label).c_str()),
                             index);
    m_changingTabs = false;
}

void TabView::RemoveTab(int index) {
    if (index < 0 || index >= Count())
        return;
    m_changingTabs = true;
    gtk_notebook_remove_page(GTK_NOTEBOOK(Widget()), index);
    m_changingTabs = false;
}

int TabView::Count() const {
    return gtk_notebook_get_n_pages(GTK_NOTEBOOK(Widget()));
}

std::string TabView::LabelAt(int index) const {
    GtkWidget* page = gtk_notebook_get_nth_page(GTK_NOTEBOOK(Widget()), index);
    const char* text =
        page ? gtk_notebook_get_tab_label_text(GTK_NOTEBOOK(Widget()), page) : nullptr;
    return text ? text : "";
}

int TabView::SelectedIndex() const {
    return gtk_notebook_get_current_page(GTK_NOTEBOOK(Widget()));
}

void TabView::SelectIndex(int index) {
    if (index >= 0 && index < Count())
        gtk_notebook_set_current_page(GTK_NOTEBOOK(Widget()), index);
}

} // namespace ak
