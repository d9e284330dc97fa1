// The Win32 list-view calls over Wisp_vOmnarControl_listview. Each checks
// its handle's class and answers the failure value otherwise.
#include "winlayer/listviews/ListView.h"

#include "winlayer/window/WindowCalls.h"

#include <cmath>

namespace {

Wisp_vOmnarControl_listview* List(HWND handle) {
    return handle ? dynamic_cast<Wisp_vOmnarControl_listview*>(winlayer::FindObject(handle))
                  : nullptr;
}

int Round(double value) {
    return static_cast<int>(std::floor(value + 0.5));
}

RECT ToRect(const ak::Rect& r) {
    return RECT{Round(r.origin.x), Round(r.origin.y), Round(r.origin.x + r.size.width),
                Round(r.origin.y + r.size.height)};
}

// The table answers nothing past its last row; the row after it lies one row
// height below.
ak::Rect RowRect(Wisp_vOmnarControl_listview& list, int row) {
    if (row < list.NumberOfRows())
        return list.RectOfRow(row);
    if (row == 0)
        return ak::Rect{{0, list.HeaderHeight()}, {list.Frame().size.width, 0}};
    ak::Rect last = list.RectOfRow(row - 1);
    last.origin.y += last.size.height;
    return last;
}

} // namespace

void ListView_InsertColumn(HWND handle, int position, const LVCOLUMN* column) {
    if (auto* list = List(handle); list && column)
        list->insertColumn(position, *column);
}

BOOL ListView_DeleteColumn(HWND handle, int column) {
    auto* list = List(handle);
    return list && list->deleteColumn(column) ? TRUE : FALSE;
}

void ListView_SetColumnWidth(HWND handle, int column, int width) {
    if (auto* list = List(handle)) {
        list->model().SetColumnWidth(column, width);
        list->showColumns();
    }
}

int ListView_GetColumnWidth(HWND handle, int column) {
    auto* list = List(handle);
    return list ? list->model().ColumnWidth(column) : 0;
}

BOOL ListView_GetColumnOrderArray(HWND handle, int count, int* order) {
    auto* list = List(handle);
    return list && list->model().GetColumnOrder(count, order) ? TRUE : FALSE;
}

BOOL ListView_SetColumnOrderArray(HWND handle, int count, const int* order) {
    auto* list = List(handle);
    if (!list || !list->model().SetColumnOrder(count, order))
        return FALSE;
    list->showColumns();
    return TRUE;
}

int ListView_InsertItem(HWND handle, const LVITEM* item) {
    auto* list = List(handle);
    return list ? list->model().InsertItem(item) : -1;
}

void ListView_SetItemText(HWND handle, int row, int column, const char* text) {
    if (auto* list = List(handle))
        list->model().SetItemText(row, column, text);
}

BOOL ListView_SetItem(HWND handle, LVITEM* item) {
    auto* list = List(handle);
    return list && list->model().SetItem(item) ? TRUE : FALSE;
}

BOOL ListView_GetItem(HWND handle, LVITEM* item) {
    auto* list = List(handle);
    return list && list->model().GetItem(item) ? TRUE : FALSE;
}

void ListView_GetItemText(HWND handle, int row, int column, char* buffer, int size) {
    LVITEM item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = size;
    ListView_GetItem(handle, &item);
}

BOOL ListView_SetItemState(HWND handle, int row, UINT state, UINT mask) {
    auto* list = List(handle);
    return list && list->model().SetItemState(row, state, mask) ? TRUE : FALSE;
}

UINT ListView_GetItemState(HWND handle, int row, UINT mask) {
    auto* list = List(handle);
    return list ? list->model().GetItemState(row, mask) : 0;
}

void ListView_DeleteItem(HWND handle, int row) {
    if (auto* list = List(handle))
        list->model().DeleteItem(row);
}

void ListView_DeleteAllItems(HWND handle) {
    if (auto* list = List(handle))
        list->model().DeleteAllItems();
}

void ListView_SetItemCount(HWND handle, int count) {
    if (auto* list = List(handle))
        list->model().SetItemCount(count);
}

int ListView_GetItemCount(HWND handle) {
    auto* list = List(handle);
    return list ? list->model().RowCount() : 0;
}

int ListView_GetNextItem(HWND handle, int start, UINT flags) {
    auto* list = List(handle);
    return list ? list->model().GetNextItem(start, flags) : -1;
}

int ListView_GetSelectedCount(HWND handle) {
    auto* list = List(handle);
    return list ? list->model().SelectedCount() : 0;
}

int ListView_GetSelectionMark(HWND handle) {
    auto* list = List(handle);
    return list ? list->model().CurrentRow() : 0;
}

void ListView_SortItems(HWND handle, PFNLVCOMPARE compare, LPARAM sortParam) {
    if (auto* list = List(handle))
        list->model().SortItems(compare, sortParam);
}

void ListView_EnsureVisible(HWND handle, int row, BOOL) {
    auto* list = List(handle);
    if (!list || list->model().RowCount() == 0)
        return;
    list->ScrollRowToVisible(std::clamp(row, 0, list->model().RowCount() - 1));
}

BOOL ListView_GetSubItemRect(HWND handle, int row, int column, int, RECT* rect) {
    auto* list = List(handle);
    if (!list || !rect || row < 0 || row > list->model().RowCount() ||
        column >= list->model().ColumnCount())
        return FALSE;
    ak::Rect frame = RowRect(*list, row);
    if (column >= 0 && list->model().DisplayPosition(column) >= 0) {
        const ak::Rect cell =
            list->RectOfCell(std::min(row, list->NumberOfRows() - 1), list->columnId(column));
        frame.origin.x = cell.origin.x;
        frame.size.width = cell.size.width;
    }
    *rect = ToRect(frame);
    return TRUE;
}

BOOL ListView_GetItemRect(HWND handle, int row, RECT* rect, int code) {
    return ListView_GetSubItemRect(handle, row, -1, code, rect);
}

int WISP_GetListViewHeaderHeight(HWND handle) {
    auto* list = List(handle);
    return list ? Round(list->HeaderHeight()) : 0;
}

int ListView_HitTest(HWND handle, LVHITTESTINFO* info) {
    auto* list = List(handle);
    if (!list || !info)
        return -1;
    info->flags = 0;
    info->iItem = -1;
    const ak::Size visible = list->Frame().size;
    const double dx = info->pt.x;
    const double dy = info->pt.y;
    const double header = Round(list->HeaderHeight());
    if (dx < 0)
        info->flags |= 0x80;
    if (dx >= visible.width)
        info->flags |= 0x40;
    if (dy < header)
        info->flags |= 0x10;
    if (dy >= visible.height)
        info->flags |= 0x20;
    if (info->flags)
        return info->iItem;
    info->iItem = list->RowAtPoint(ak::Point{dx, dy});
    if (info->iItem < 0) {
        info->flags = dy - header < 10 && list->model().RowCount() > 0 ? 0x10 : 0x01;
        return -1;
    }
    info->flags = 0x04;
    if (list->model().ImageList() && list->model().ColumnCount() > 0) {
        const double left = list->RectOfCell(info->iItem, list->columnId(0)).origin.x;
        const double height = list->RectOfRow(info->iItem).size.height;
        if (dx >= left && dx < left + height)
            info->flags = 0x08;
    }
    return info->iItem;
}

int ListView_SubItemHitTest(HWND handle, LVHITTESTINFO* info) {
    const int row = ListView_HitTest(handle, info);
    auto* list = List(handle);
    if (!list || !info)
        return row;
    const double y = row < 0 && info->pt.y < 0 ? 0 : info->pt.y;
    const std::string column = list->ColumnAtPoint(ak::Point{double(info->pt.x), y});
    info->iSubItem = -1;
    for (int i = 0; i < list->model().ColumnCount(); ++i)
        if (list->columnId(i) == column)
            info->iSubItem = i;
    return row;
}
