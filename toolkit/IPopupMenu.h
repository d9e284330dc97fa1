#pragma once

#include "framework/VxString.h"

#include <functional>
#include <memory>
#include <vector>

namespace vx::ui {

// A menu model: items with text and flags, a title, and the chosen item.
class IPopupMenu {
public:
    enum ItemFlags : int { kDisabled = 1, kTitle = 2, kChecked = 4, kSeparator = 8 };

    struct Item {
        VxString text;
        std::unique_ptr<IPopupMenu> submenu;
        int flags = 0;
        int tag = -1;
    };

    using CompletionFunc = std::function<void(IPopupMenu*)>;

    explicit IPopupMenu(const char* title = "") : m_title(title) {}

    Item& AddItem(const char* text, int flags = 0, int tag = -1);
    Item& AddSubmenu(const char* text, std::unique_ptr<IPopupMenu> submenu);
    void AddSeparator() { AddItem("", kSeparator); }

    // Index -1 appends; -2 inserts in place by case-insensitive text, before an
    // equal text; any other index is clamped into the list. The reference
    // holds until the next change of this menu.
    Item& AddItem(Item item, int index);
    // A new item {text, submenu, no flags, tag -1}; the submenu takes a copy of
    // this menu's completion, so a choice anywhere reaches the same function.
    Item& AddItem(const char* text, int index, std::unique_ptr<IPopupMenu> submenu);
    Item& AddItem(const char* text, std::unique_ptr<IPopupMenu> submenu, int index) {
        return AddItem(text, index, std::move(submenu));
    }
    // Drops the items whose submenu holds nothing; plain items stay.
    void RemoveEmptySubmenus();
    // Checks target, wherever in the tree it is, and unchecks every other item.
    void CheckItem(const Item* target);

    // No items and no chosen item; the title and completion stay.
    void Clear();

    int NItems() const { return static_cast<int>(m_items.size()); }
    const Item* GetItem(int index) const;
    Item* GetItem(int index);

    int GetChosenItemIdx() const { return m_chosen; }
    void SetChosenItemIdx(int index) { m_chosen = index; }

    const char* GetTitle() const { return m_title.Get(); }
    void SetTitle(const char* title) { m_title.SetBounded(title); }

    // Numbers shown before the item texts: 0 none, 1 "1: ", 2 "01: ", 3 "001: ".
    int GetPrefix() const { return m_prefix; }
    void SetPrefix(int kind) { m_prefix = kind; }

    void SetCompletion(CompletionFunc func) { m_completion = std::move(func); }
    const CompletionFunc& GetCompletion() const { return m_completion; }

private:
    std::vector<Item> m_items;
    int m_chosen = -1;
    int m_prefix = 0;
    VxString m_title;
    CompletionFunc m_completion;
};

} // namespace vx::ui
