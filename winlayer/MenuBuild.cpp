#include "winlayer/MenuModel.h"

#include <cstring>

using namespace winlayer;

namespace {

constexpr const char kSubmenuStart[] = "/.BO^O:";
constexpr const char kSubmenuEnd[] = "EN%%%^:";

HMENU NewMenu(const std::string& title) {
    return HandleOf(new ak::Menu(title));
}

void AppendInfo(HMENU menu, const MENUITEMINFO& info) {
    InsertMenuItem(menu, UINT(-1), TRUE, &info);
}

} // namespace

HMENU CreatePopupMenu() {
    return NewMenu({});
}

HMENU CreatePopupMenuEx(const char* title) {
    return NewMenu(title ? ParseMenuText(title, false).label : std::string());
}

void DestroyMenu(HMENU menu) {
    if (!menu)
        return;
    RouteMenu(menu, nullptr);
    AkMenu(menu)->Release();
}

HMENU WISP_DuplicateMenu(HMENU menu) {
    if (!menu)
        return nullptr;
    ak::Ref<ak::Menu> copy = AkMenu(menu)->Copy();
    copy->Retain(); // the caller's reference
    return HandleOf(copy.Get());
}

int AddMenuItem(HMENU menu, int position, const char* text, int id) {
    if (!menu)
        return -1;
    auto item = ak::MakeRef<ak::MenuItem>(std::string());
    item->SetUsesMnemonic(false);
    item->SetTitle(text ? text : "");
    item->SetTag(id);
    AkMenu(menu)->InsertItem(item.Get(), position);
    return 0;
}

void WISP_Menu_AddMenuItem(HMENU menu, const char* text, int id, int grayed) {
    MENUITEMINFO info{};
    info.cbSize = sizeof info;
    if (!text) {
        info.fMask = MIIM_TYPE;
        info.fType = MFT_SEPARATOR;
    } else {
        info.fMask = MIIM_ID | MIIM_STATE | MIIM_TYPE;
        info.wID = static_cast<UINT>(id);
        info.fState = grayed ? MFS_GRAYED : 0;
        info.dwTypeData = const_cast<char*>(text);
    }
    AppendInfo(menu, info);
}

HMENU WISP_LoadMenu(MenuResourceRecord* resources, int resourceId) {
    for (MenuResourceRecord* record = resources; record; record = record->next) {
        if (record->resourceId != resourceId)
            continue;
        HMENU menu = NewMenu({});
        if (record->creator)
            record->creator(menu);
        return menu;
    }
    return nullptr;
}

int WISP_GenerateMenuFromList(HMENU menu, const MenuListEntry* list, int count) {
    if (!menu || !list)
        return 0;
    for (int i = 0; i < count; ++i) {
        const MenuListEntry& entry = list[i];
        MENUITEMINFO info{};
        info.cbSize = sizeof info;
        if (!entry.text) {
            // As WISP_InsertMenu makes one: the id is not taken.
            info.fMask = MIIM_TYPE;
            info.fType = MFT_SEPARATOR;
            info.wID = UINT(-1);
            AppendInfo(menu, info);
            continue;
        }
        if (std::strcmp(entry.text, kSubmenuEnd) == 0)
            return i + 1;
        if (std::strncmp(entry.text, kSubmenuStart, sizeof kSubmenuStart - 1) == 0) {
            const char* title = entry.text + sizeof kSubmenuStart - 1;
            HMENU submenu = NewMenu(ParseMenuText(title, false).label);
            i += WISP_GenerateMenuFromList(submenu, list + i + 1, count - i - 1);
            info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_TYPE;
            info.wID = entry.id;
            info.hSubMenu = submenu;
            info.dwTypeData = const_cast<char*>(title);
            AppendInfo(menu, info);
            continue;
        }
        info.fMask = MIIM_ID | MIIM_STATE | MIIM_TYPE;
        info.wID = entry.id;
        info.fState = entry.flags ? MFS_GRAYED : 0;
        info.dwTypeData = const_cast<char*>(entry.text);
        AppendInfo(menu, info);
    }
    return count + 1;
}

void DrawMenuBar(HWND) {}
