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
    API_ENTRY(ListView_SetColumn),
    API_ENTRY(ListView_GetColumn),
    API_ENTRY(ListView_SetExtendedListViewStyleEx),
    API_ENTRY(ListView_SetImageList),
    API_ENTRY(ListView_RedrawItems),
    API_ENTRY(ListView_GetHeader),
    API_ENTRY(Header_GetItemCount),
    API_ENTRY(Header_GetItem),
    API_ENTRY(Header_SetItem),
    API_ENTRY(ListView_SetBkColor),
    API_ENTRY(ListView_SetTextColor),
    API_ENTRY(ListView_SetTextBkColor),
    API_ENTRY(ListView_SetGridColor),
    API_ENTRY(ListView_SetSelColors),
    API_ENTRY(TreeView_SetBkColor),
    API_ENTRY(TreeView_SetTextColor),
    API_ENTRY(ListView_GetTopIndex),
    API_ENTRY(ListView_GetCountPerPage),
    API_ENTRY(ListView_Scroll),
};

#undef API_ENTRY

} // namespace

void AddListApiNames() {
    static std::once_flag added;
    std::call_once(added, [] { AddApiFunctions(kListFunctions); });
}

} // namespace winlayer
