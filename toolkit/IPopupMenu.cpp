#include "toolkit/IPopupMenu.h"

#include <algorithm>
#include <strings.h>

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

IPopupMenu::Item& IPopupMenu::AddItem(Item item, int index) {
    const int count = NItems();
    int at = count;
    if (index == -2) {
        int low = 0;
        int high = count;
        while (low < high) {
            const int middle = (low + high) / 2;
            const int order = strcasecmp(item.text.Get(), m_items[size_t(middle)].text.Get());
            if (order > 0) {
                low = middle + 1;
            } else if (order < 0) {
                high = middle;
            } else {
                low = middle;
                break;
            }
        }
        at = low;
    } else if (index != -1) {
        at = std::clamp(index, 0, count);
    }
    return *m_items.insert(m_items.begin() + at, std::move(item));
}

IPopupMenu::Item& IPopupMenu::AddItem(const char* text, int index,
                                      std::unique_ptr<IPopupMenu> submenu) {
    if (submenu && m_completion)
        submenu->SetCompletion(m_completion);
    Item item;
    item.text.SetBounded(text);
    item.submenu = std::move(submenu);
    return AddItem(std::move(item), index);
}

void IPopupMenu::RemoveEmptySubmenus() {
    std::erase_if(m_items,
                  [](const Item& item) { return item.submenu && item.submenu->NItems() == 0; });
}

void IPopupMenu::CheckItem(const Item* target) {
    for (Item& item : m_items) {
        item.flags &= ~kChecked;
        if (item.submenu)
            item.submenu->CheckItem(target);
        else if (&item == target)
            item.flags |= kChecked;
    }
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
