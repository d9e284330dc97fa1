// The Win32 tree-view calls over Wisp_vOmnarControl_treeview. Each checks
// its handle's class and answers the failure value otherwise.
#include "winlayer/listviews/TreeView.h"

#include "winlayer/window/WindowCalls.h"

#include <algorithm>

namespace {

Wisp_vOmnarControl_treeview* Tree(HWND handle) {
    return handle ? dynamic_cast<Wisp_vOmnarControl_treeview*>(winlayer::FindObject(handle))
                  : nullptr;
}

} // namespace

HTREEITEM TreeView_InsertItem(HWND handle, const TVINSERTSTRUCT* insert) {
    auto* tree = Tree(handle);
    return tree ? tree->model().Insert(insert) : nullptr;
}

void TreeView_DeleteItem(HWND handle, HTREEITEM item) {
    if (auto* tree = Tree(handle))
        tree->model().Delete(item);
}

void TreeView_DeleteAllItems(HWND handle) {
    if (auto* tree = Tree(handle))
        tree->model().DeleteAll();
}

BOOL TreeView_GetItem(HWND handle, TVITEM* item) {
    auto* tree = Tree(handle);
    return tree && tree->model().GetItem(item) ? TRUE : FALSE;
}

BOOL TreeView_SetItem(HWND handle, const TVITEM* item) {
    auto* tree = Tree(handle);
    return tree && tree->model().SetItem(item) ? TRUE : FALSE;
}

HTREEITEM TreeView_GetRoot(HWND handle) {
    auto* tree = Tree(handle);
    return tree ? tree->model().Root() : nullptr;
}

HTREEITEM TreeView_GetChild(HWND handle, HTREEITEM item) {
    auto* tree = Tree(handle);
    return tree ? tree->model().Child(item) : nullptr;
}

HTREEITEM TreeView_GetNextSibling(HWND handle, HTREEITEM item) {
    auto* tree = Tree(handle);
    return tree ? tree->model().NextSibling(item) : nullptr;
}

HTREEITEM TreeView_GetParent(HWND handle, HTREEITEM item) {
    auto* tree = Tree(handle);
    return tree ? tree->model().Parent(item) : nullptr;
}

HTREEITEM TreeView_GetSelection(HWND handle) {
    auto* tree = Tree(handle);
    return tree ? tree->model().Selection() : nullptr;
}

void TreeView_SelectItem(HWND handle, HTREEITEM item) {
    if (auto* tree = Tree(handle))
        tree->model().Select(item);
}

BOOL TreeView_Expand(HWND handle, HTREEITEM item, int code) {
    auto* tree = Tree(handle);
    return tree && tree->model().Expand(item, code) ? TRUE : FALSE;
}

void TreeView_EnsureVisible(HWND handle, HTREEITEM item) {
    auto* tree = Tree(handle);
    if (!tree || !tree->model().Find(item))
        return;
    const int row = tree->RowForItem(item);
    if (row >= 0)
        tree->ScrollRowToVisible(row);
}

HTREEITEM TreeView_HitTest(HWND handle, TVHITTESTINFO* info) {
    auto* tree = Tree(handle);
    if (!tree || !info)
        return nullptr;
    const ak::Size size = tree->Frame().size;
    const double x = info->pt.x;
    const double y = info->pt.y;
    if (x < 0 || y < 0 || x >= size.width || y >= size.height)
        return nullptr;
    double lowest = 0;
    for (int row = 0; row < tree->NumberOfRows(); ++row) {
        const ak::Rect rect = tree->RectOfRow(row);
        if (x >= rect.origin.x && x < rect.origin.x + rect.size.width && y >= rect.origin.y &&
            y < rect.origin.y + rect.size.height)
            return const_cast<void*>(tree->ItemAtRow(row));
        lowest = std::max(lowest, rect.origin.y + rect.size.height);
    }
    if (y >= lowest)
        info->flags |= 0x1;
    return nullptr;
}

BOOL TreeView_SetIndent(HWND handle, int points) {
    auto* tree = Tree(handle);
    if (!tree)
        return FALSE;
    tree->SetIndentation(points);
    return TRUE;
}
