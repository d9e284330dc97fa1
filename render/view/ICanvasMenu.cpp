#include "render/view/ICanvasMenu.h"

#include "render/view/NativeEntryRules.h"

namespace vx::ui {

ICanvasMenu::ICanvasMenu(IPopupMenu& menu) : root(Build(menu)) {}

ak::Ref<ak::Menu> ICanvasMenu::Build(IPopupMenu& menu) {
    auto native = ak::MakeRef<ak::Menu>();
    for (int i = 0; i < menu.NItems(); ++i) {
        IPopupMenu::Item& item = *menu.GetItem(i);
        if (item.flags & IPopupMenu::kSeparator) {
            // A separator still takes its place in the numbering.
            native->AddItem(ak::MenuItem::Separator().Get());
            continue;
        }
        auto entry =
            ak::MakeRef<ak::MenuItem>(NativeMenuItemTitle(item.text.Get(), menu.GetPrefix(), i));
        entry->SetUsesMnemonic(false);
        if (item.submenu)
            entry->SetSubmenu(Build(*item.submenu).Get());
        else
            origins[entry.Get()] = {&menu, i};
        entry->SetIndent(item.flags & IPopupMenu::kTitle ? 1 : 0);
        entry->SetEnabled(!(item.flags & IPopupMenu::kDisabled));
        entry->SetChecked(item.flags & IPopupMenu::kChecked);
        native->AddItem(entry.Get());
    }
    return native;
}

IPopupMenu* ICanvasMenu::ChoiceOf(const ak::MenuItem* item) const {
    const auto found = origins.find(item);
    if (found == origins.end())
        return nullptr;
    auto [menu, index] = found->second;
    menu->SetChosenItemIdx(index);
    return menu;
}

} // namespace vx::ui
