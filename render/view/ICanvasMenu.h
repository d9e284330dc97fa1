#pragma once

// A native menu built from a toolkit menu model, submenus included, that
// tells which model menu and index a chosen native item stands for.

#include "platform/ak/Menu.h"
#include "toolkit/IPopupMenu.h"

#include <map>
#include <utility>

namespace vx::ui {

class ICanvasMenu {
public:
    explicit ICanvasMenu(IPopupMenu& menu);

    ak::Menu* Menu() const { return root.Get(); }
    // The model menu (the submenu for a submenu's item) holding the chosen
    // item, with its chosen index set; null for no item or one not ours.
    IPopupMenu* ChoiceOf(const ak::MenuItem* item) const;

private:
    ak::Ref<ak::Menu> Build(IPopupMenu& menu);

    std::map<const ak::MenuItem*, std::pair<IPopupMenu*, int>> origins;
    ak::Ref<ak::Menu> root;
};

} // namespace vx::ui
