#pragma once

#include "platform/ak/Control.h"
#include "platform/ak/Menu.h"

#include <cstdint>
#include <string>

namespace ak {

// A button that pops a menu of its items and shows the chosen one's title.
// Every choice the user makes fires the action, the same choice again too.
class PopUpButton : public Control {
public:
    explicit PopUpButton(Rect frame);

    void AddItem(const std::string& title, int64_t data = 0);
    // index clamped to [0, Count()]; the selection keeps pointing at its item.
    void InsertItem(int index, const std::string& title, int64_t data = 0);
    void RemoveItemAt(int index);
    void SetDataAt(int index, int64_t data);
    void RemoveAllItems();
    int Count() const { return m_menu->Count(); }
    std::string TitleAt(int index) const;
    int64_t DataAt(int index) const;
    // -1: no item and no title.
    int SelectedIndex() const { return m_selected; }
    void SelectIndex(int index);
    Menu& GetMenu() const { return *m_menu; }

private:
    static void OnClicked(void*, PopUpButton* self);
    void Choose(MenuItem& item);

    Ref<Menu> m_menu;
    GtkWidget* m_label;
    int m_selected = -1;
};

} // namespace ak
