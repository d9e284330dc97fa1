#pragma once

#include "winlayer/WindowApi.h"

namespace winlayer {

// While a file panel runs, a copy of the default modal-window menu is the
// current menu; afterwards the focused window's menu, else the default
// window menu. Nothing is shown: each window shows its own bar.
class PanelMenus {
public:
    PanelMenus();
    ~PanelMenus();
    PanelMenus(const PanelMenus&) = delete;
    PanelMenus& operator=(const PanelMenus&) = delete;

private:
    HMENU copy_ = nullptr;
};

} // namespace winlayer
