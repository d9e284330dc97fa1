#include "winlayer/dialogs/PanelMenus.h"

#include "winlayer/draw/Menus.h"
#include "winlayer/window/MenuSlots.h"
#include "winlayer/window/WindowCalls.h"

namespace winlayer {

PanelMenus::PanelMenus() {
    if (HMENU modal = DefaultModalWindowMenu()) {
        copy_ = WISP_DuplicateMenu(modal);
        if (copy_)
            SetCurrentMenu(copy_);
    }
}

PanelMenus::~PanelMenus() {
    if (!copy_)
        return;
    HMENU after = GetMenu(GetFocus());
    SetCurrentMenu(after ? after : DefaultWindowMenu());
    DestroyMenu(copy_);
}

} // namespace winlayer
