#include "toolkit/IPopupMenu.h"

namespace vx::ui {

IPopupMenu::Item& IPopupMenu::AddItem(const char* text, int flags, int tag) {
    Item& item = m_items.emplace_back();
    item.text.SetBounded(text);
    item.flags = flags;
    item.tag = tag;
    return item;
}

IPopupMenu::Item& IPopupMenu::AddSubmenu(const char* text, std::unique_ptr<IPopupMenu> submenu) {
    Item& item = AddItem(text);
    item.submenu = std::move(submenu);
    return item;
}

void IPopupMenu::Clear() {
    m_items.clear();
    m_chosen = -1;
}

const IPopupMenu::Item* IPopupMenu::GetItem(int index) const {
    return index >= 0 && index < NItems() ? &m_items[static_cast<size_t>(index)] : nullptr;
}

IPopupMenu::Item* IPopupMenu::GetItem(int index) {
    return index >= 0 && index < NItems() ? &m_items[static_cast<size_t>(index)] : nullptr;
}

} // namespace vx::ui
