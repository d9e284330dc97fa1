#include "winlayer/listviews/ListView.h"
#include "winlayer/listviews/TreeView.h"

#include "winlayer/ApiNames.h"

#include <mutex>

namespace winlayer {
namespace {

#define API_ENTRY(function)                                                                        \
    ApiFunction {                                                                                  \
#function, reinterpret_cast < void*>(&function)                                            \
    }

const ApiFunction kListFunctions[] = {
    API_ENTRY(ListView_InsertColumn),
    API_ENTRY(ListView_DeleteColumn),
    API_ENTRY(ListView_SetColumnWidth),
    API_ENTRY(ListView_GetColumnWidth),
    API_ENTRY(ListView_GetColumnOrderArray),
    API_ENTRY(ListView_SetColumnOrderArray),
    API_ENTRY(ListView_InsertItem),
    API_ENTRY(ListView_SetItemText),
    API_ENTRY(ListView_SetItem),
    API_ENTRY(ListView_GetItem),
    API_ENTRY(ListView_GetItemText),
    API_ENTRY(ListView_SetItemState),
    API_ENTRY(ListView_GetItemState),
    API_ENTRY(ListView_DeleteItem),
    API_ENTRY(ListView_DeleteAllItems),
    API_ENTRY(ListView_SetItemCount),
    API_ENTRY(ListView_GetItemCount),
    API_ENTRY(ListView_GetNextItem),
    API_ENTRY(ListView_GetSelectedCount),
    API_ENTRY(ListView_GetSelectionMark),
    API_ENTRY(ListView_SortItems),
    API_ENTRY(ListView_EnsureVisible),
    API_ENTRY(ListView_GetItemRect),
    API_ENTRY(ListView_GetSubItemRect),
    API_ENTRY(ListView_HitTest),
    API_ENTRY(ListView_SubItemHitTest),
    API_ENTRY(WISP_GetListViewHeaderHeight),
    API_ENTRY(WISP_SetListViewFastClickMask),
    API_ENTRY(TreeView_InsertItem),
    API_ENTRY(TreeView_DeleteItem),
    API_ENTRY(TreeView_DeleteAllItems),
    API_ENTRY(TreeView_GetItem),
    API_ENTRY(TreeView_SetItem),
    API_ENTRY(TreeView_GetRoot),
    API_ENTRY(TreeView_GetChild),
    API_ENTRY(TreeView_GetNextSibling),
    API_ENTRY(TreeView_GetParent),
    API_ENTRY(TreeView_GetSelection),
    API_ENTRY(TreeView_SelectItem),
    API_ENTRY(TreeView_Expand),
    API_ENTRY(TreeView_EnsureVisible),
    API_ENTRY(TreeView_HitTest),
    API_ENTRY(TreeView_SetIndent),
};

#undef API_ENTRY

} // namespace

void AddListApiNames() {
    static std::once_flag added;
    std::call_once(added, [] { AddApiFunctions(kListFunctions); });
}

} // namespace winlayer
