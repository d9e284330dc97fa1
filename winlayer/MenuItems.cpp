#include "winlayer/MenuModel.h"
#include "winlayer/WinBasics.h"

#include "winlayer/GdiRecords.h"

using namespace winlayer;

namespace {

constexpr UINT kNoCommand = 0;

ak::Menu* Menu(HMENU menu) {
    return AkMenu(menu);
}

FoundItem FindByTag(ak::Menu* menu, int64_t tag) {
    for (int i = 0; i < menu->Count(); ++i)
        if (menu->ItemAt(i)->Tag() == tag)
            return {menu, i, menu->ItemAt(i)};
    for (int i = 0; i < menu->Count(); ++i)
        if (ak::Menu* sub = menu->ItemAt(i)->Submenu())
            if (FoundItem found = FindByTag(sub, tag))
                return found;
    return {};
}

// Detaches a submenu, taking its routing away first.
void DropSubmenu(ak::MenuItem& item) {
    if (ak::Menu* sub = item.Submenu()) {
        RouteMenu(HandleOf(sub), nullptr);
        item.SetSubmenu(nullptr);
    }
}

void AttachSubmenu(ak::MenuItem& item, HMENU submenu) {
    ak::Menu* sub = AkMenu(submenu);
    sub->SetTitle(ItemLabel(item));
    item.SetSubmenu(sub);
    sub->Release(); // the caller's reference is taken over
}

} // namespace

namespace winlayer {

FoundItem FindItem(HMENU menu, UINT item, bool byPosition) {
    ak::Menu* m = Menu(menu);
    if (!m)
        return {};
    if (byPosition) {
        const int index = static_cast<int>(item);
        if (index < 0 || index >= m->Count())
            return {};
        return {m, index, m->ItemAt(index)};
    }
    return FindByTag(m, static_cast<int>(item));
}

void SetItemKey(ak::MenuItem& item, const MenuKey& key) {
    const AkKeyBinding binding = AkBindingOf(key);
    item.SetKeyEquivalent(binding.key, binding.modifiers);
}

void ApplyItemText(ak::MenuItem& item, const std::string& text, bool readAccelerator,
                   bool clearMissingKey) {
    const MenuText parsed = ParseMenuText(text, readAccelerator);
    item.SetTitle(parsed.title);
    if (ak::Menu* sub = item.Submenu())
        sub->SetTitle(parsed.label);
    if (parsed.hasAccelerator)
        SetItemKey(item, parsed.key);
    else if (clearMissingKey)
        item.SetKeyEquivalent({}, 0);
}

std::string ItemLabel(const ak::MenuItem& item) {
    return item.UsesMnemonic() ? LabelOf(item.Title()) : item.Title();
}

} // namespace winlayer

int GetMenuItemCount(HMENU menu) {
    return Menu(menu) ? Menu(menu)->Count() : 0;
}

UINT GetMenuItemID(HMENU menu, int position) {
    const FoundItem found = FindItem(menu, UINT(position), true);
    if (!found)
        return kNoCommand;
    if (found.item->Submenu())
        return UINT(-1);
    return static_cast<UINT>(found.item->Tag());
}

HMENU GetSubMenu(HMENU menu, int position) {
    const FoundItem found = FindItem(menu, UINT(position), true);
    return found ? HandleOf(found.item->Submenu()) : nullptr;
}

BOOL InsertMenuItem(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFO* info) {
    ak::Menu* m = Menu(menu);
    if (!m || !info)
        return FALSE;
    int index = static_cast<int>(item);
    if (!byPosition) {
        index = -1;
        for (int i = 0; i < m->Count(); ++i)
            if (m->ItemAt(i)->Tag() == static_cast<int>(item)) {
                index = i;
                break;
            }
    }
    if (index < 0 || index > m->Count())
        index = m->Count();
    ak::Ref<ak::MenuItem> added;
    const UINT type = info->fType & ~MFT_RADIOCHECK;
    if (type == MFT_BITMAP) {
        added = ak::MakeRef<ak::MenuItem>("(no image)");
        if (auto* image = static_cast<ak::Image*>(
                GetNSImageFromHICON(reinterpret_cast<HGDIOBJ>(info->dwTypeData)))) {
            added->SetImage(image);
            added->SetTitle({});
        }
    } else if (type != 0) {
        added = ak::MenuItem::Separator();
    } else {
        added = ak::MakeRef<ak::MenuItem>(std::string());
        ApplyItemText(*added, info->dwTypeData ? info->dwTypeData : "(null)",
                      !(info->fMask & MIIM_NOACCELERATOR), false);
    }
    if ((info->fMask & MIIM_SUBMENU) && info->hSubMenu)
        AttachSubmenu(*added, info->hSubMenu);
    added->SetEnabled(!((info->fMask & MIIM_STATE) && (info->fState & 0x3)));
    added->SetChecked((info->fMask & MIIM_STATE) && (info->fState & MFS_CHECKED));
    if (info->fMask & MIIM_DATA)
        added->SetData(static_cast<int64_t>(info->dwItemData));
    if (info->fMask & MIIM_ID)
        added->SetTag(static_cast<int>(info->wID));
    m->InsertItem(added.Get(), index);
    CopyRouting(*m, *added);
    return TRUE;
}

BOOL WISP_InsertMenu(HMENU menu, int item, int flags, UINT_PTR idOrSubmenu, const char* text) {
    MENUITEMINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_STATE | MIIM_TYPE;
    info.fState = UINT(flags) & ~MF_BYPOSITION;
    info.wID = static_cast<UINT>(idOrSubmenu);
    info.dwTypeData = const_cast<char*>(text);
    if (flags & MF_POPUP) {
        info.hSubMenu = reinterpret_cast<HMENU>(idOrSubmenu);
        info.wID = 0;
        info.fMask |= MIIM_SUBMENU;
        info.fState &= ~MF_POPUP;
    }
    if (flags & MF_SEPARATOR) {
        info.fMask = MIIM_TYPE;
        info.fType = MFT_SEPARATOR;
    } else if (flags & MF_BITMAP) {
        info.fType = MFT_BITMAP;
        info.fState &= ~MF_BITMAP;
    }
    return InsertMenuItem(menu, UINT(item), (flags & MF_BYPOSITION) != 0, &info);
}

BOOL DeleteMenu(HMENU menu, UINT item, UINT flags) {
    const FoundItem found = FindItem(menu, item, (flags & MF_BYPOSITION) != 0);
    if (!found)
        return FALSE;
    DropSubmenu(*found.item);
    found.menu->RemoveItemAt(found.index);
    return TRUE;
}

BOOL GetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFO* info) {
    const FoundItem found = FindItem(menu, item, byPosition != FALSE);
    if (!found || !info)
        return FALSE;
    ak::MenuItem& it = *found.item;
    if (info->fMask & MIIM_TYPE) {
        info->fType = it.IsSeparator() ? MFT_SEPARATOR : 0;
        if (info->dwTypeData && info->cch) {
            const std::string label = ItemLabel(it);
            WISP_CFStringToCString(&label, info->dwTypeData, static_cast<int>(info->cch));
        }
    }
    if (info->fMask & MIIM_DATA)
        info->dwItemData = static_cast<UINT_PTR>(it.Data());
    if (info->fMask & MIIM_STATE)
        info->fState = (it.IsChecked() ? MFS_CHECKED : 0) | (it.IsEnabled() ? 0 : MFS_GRAYED);
    if (info->fMask & MIIM_ID)
        info->wID = static_cast<UINT>(it.Tag());
    if (info->fMask & MIIM_SUBMENU)
        info->hSubMenu = HandleOf(it.Submenu());
    return TRUE;
}

BOOL SetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFO* info) {
    const FoundItem found = FindItem(menu, item, byPosition != FALSE);
    if (!found || !info)
        return FALSE;
    ak::MenuItem& it = *found.item;
    if ((info->fMask & MIIM_TYPE) && (info->fType & ~MFT_RADIOCHECK) == 0 && info->dwTypeData)
        ApplyItemText(it, info->dwTypeData, !(info->fMask & MIIM_NOACCELERATOR), true);
    if (info->fMask & MIIM_SUBMENU) {
        if (!info->hSubMenu) {
            DropSubmenu(it);
        } else if (AkMenu(info->hSubMenu) != it.Submenu()) {
            if (it.Submenu())
                RouteMenu(HandleOf(it.Submenu()), nullptr);
            AttachSubmenu(it, info->hSubMenu);
        }
    }
    if (info->fMask & MIIM_STATE) {
        it.SetChecked(info->fState & MFS_CHECKED);
        it.SetEnabled(!(info->fState & 0x3));
    }
    if (info->fMask & MIIM_ID)
        it.SetTag(static_cast<int>(info->wID));
    if (info->fMask & MIIM_DATA)
        it.SetData(static_cast<int64_t>(info->dwItemData));
    return TRUE;
}

BOOL SetMenuItemText(HMENU menu, int item, int flags, const char* text) {
    const FoundItem found = FindItem(menu, UINT(item), (flags & MF_BYPOSITION) != 0);
    if (!found || !text)
        return FALSE;
    ApplyItemText(*found.item, text, true, !(UINT(flags) & MIIM_NOACCELERATOR));
    return TRUE;
}

BOOL EnableMenuItem(HMENU menu, int item, int flags) {
    const FoundItem found = FindItem(menu, UINT(item), (flags & MF_BYPOSITION) != 0);
    if (!found)
        return FALSE;
    found.item->SetEnabled(!(flags & MF_GRAYED));
    return TRUE;
}

BOOL CheckMenuItem(HMENU menu, int item, int flags) {
    const FoundItem found = FindItem(menu, UINT(item), (flags & MF_BYPOSITION) != 0);
    if (!found)
        return FALSE;
    found.item->SetChecked(flags & MF_CHECKED);
    return TRUE;
}

BOOL SetMenuItemModifier(HMENU menu, int item, int flags, int key, int acceleratorFlags) {
    const FoundItem found = FindItem(menu, UINT(item), (flags & MF_BYPOSITION) != 0);
    if (!found)
        return FALSE;
    SetItemKey(*found.item, KeyFromAccelerator(key, acceleratorFlags));
    return TRUE;
}
