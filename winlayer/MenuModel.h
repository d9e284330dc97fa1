#pragma once

// Shared steps of the menu calls over ak's menus.

#include "winlayer/MenuText.h"
#include "winlayer/Menus.h"

#include "platform/ak/Menu.h"

namespace winlayer {

struct FoundItem {
    ak::Menu* menu = nullptr;
    int index = -1;
    ak::MenuItem* item = nullptr;
    explicit operator bool() const { return item != nullptr; }
};

// By position in this menu, or by command id: this menu first, then its
// submenus depth-first in item order.
FoundItem FindItem(HMENU menu, UINT item, bool byPosition);

// Title (mnemonics kept for ak) and key equivalent from an item text.
void ApplyItemText(ak::MenuItem& item, const std::string& text, bool readAccelerator,
                   bool clearMissingKey);
void SetItemKey(ak::MenuItem& item, const MenuKey& key);
// The title as it reads, without mnemonic markers.
std::string ItemLabel(const ak::MenuItem& item);

// Gives a new item the routing the menu's other items have.
void CopyRouting(ak::Menu& menu, ak::MenuItem& item);

} // namespace winlayer
