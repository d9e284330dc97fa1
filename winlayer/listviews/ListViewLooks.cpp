// The list view's columns, header, image list, extended styles, colours and
// scrolling calls, and the colour calls the tree view shares.
#include "winlayer/draw/Gdi.h"
#include "winlayer/listviews/ListView.h"
#include "winlayer/listviews/TreeView.h"
#include "winlayer/window/WindowCalls.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr DWORD kExSubItemImages = 0x2;
constexpr DWORD kExGridLines = 0x1;
constexpr DWORD kExHeaderDragDrop = 0x10;

Wisp_vOmnarControl_listview* List(HWND handle) {
    return handle ? dynamic_cast<Wisp_vOmnarControl_listview*>(winlayer::FindObject(handle))
                  : nullptr;
}

Wisp_vOmnarControl_treeview* Tree(HWND handle) {
    return handle ? dynamic_cast<Wisp_vOmnarControl_treeview*>(winlayer::FindObject(handle))
                  : nullptr;
}

} // namespace

namespace winlayer {

ak::Color RgbColor(int value) {
    return ak::Color{((value >> 16) & 0xFF) / 255.0, ((value >> 8) & 0xFF) / 255.0,
                     (value & 0xFF) / 255.0, 1};
}

} // namespace winlayer

void ListView_SetColumn(HWND handle, int column, const LVCOLUMN* info) {
    if (auto* list = List(handle); list && info) {
        list->model().SetColumn(column, *info);
        list->showColumns();
    }
}

void ListView_GetColumn(HWND handle, int column, LVCOLUMN* info) {
    if (auto* list = List(handle); list && info)
        list->model().GetColumn(column, *info);
}

void ListView_SetExtendedListViewStyleEx(HWND handle, DWORD mask, DWORD style) {
    auto* list = List(handle);
    if (!list)
        return;
    if (mask & kExSubItemImages)
        list->model().SetSubItemImages((style & kExSubItemImages) != 0);
    if (mask & kExGridLines) {
        const bool on = (style & kExGridLines) != 0;
        list->SetGridLines(on, on);
    }
    if (mask & kExHeaderDragDrop)
        list->SetAllowsColumnReordering((style & kExHeaderDragDrop) != 0);
}

void ListView_SetImageList(HWND handle, void* images, int kind) {
    if (auto* list = List(handle)) {
        list->model().SetImageList(images, kind);
        list->showColumns();
    }
}

void ListView_RedrawItems(HWND handle, int, int) {
    if (auto* list = List(handle))
        list->Changed();
}

HWND ListView_GetHeader(HWND handle) {
    return List(handle) ? handle : nullptr;
}

int Header_GetItemCount(HWND handle) {
    auto* list = List(handle);
    return list ? list->model().ColumnCount() : 0;
}

BOOL Header_GetItem(HWND handle, int column, HDITEM* item) {
    auto* list = List(handle);
    if (!list || !item || column < 0 || column >= list->model().ColumnCount())
        return FALSE;
    if (item->mask & HDI_FORMAT) {
        const ak::SortIndicator sort = list->SortIndicatorOf(list->columnId(column));
        item->fmt = sort == ak::SortIndicator::Ascending    ? HDF_SORTUP
                    : sort == ak::SortIndicator::Descending ? HDF_SORTDOWN
                                                            : 0;
    }
    return TRUE;
}

BOOL Header_SetItem(HWND handle, int column, const HDITEM* item) {
    auto* list = List(handle);
    if (!list || !item || column < 0 || column >= list->model().ColumnCount())
        return FALSE;
    if (item->mask & HDI_FORMAT) {
        const bool up = (item->fmt & HDF_SORTUP) != 0;
        const bool down = !up && (item->fmt & HDF_SORTDOWN) != 0;
        list->SetSortIndicator(list->columnId(column), up || down, up);
    }
    return TRUE;
}

void ListView_SetBkColor(HWND handle, int color) {
    if (auto* list = List(handle))
        list->SetBackgroundColor(winlayer::RgbColor(color));
}

void ListView_SetTextColor(HWND handle, int color) {
    if (auto* list = List(handle))
        list->SetTextColor(winlayer::RgbColor(color));
}

// Cells take no background of their own here.
void ListView_SetTextBkColor(HWND, int) {}

void ListView_SetGridColor(HWND handle, int color) {
    if (auto* list = List(handle))
        list->SetGridColor(winlayer::RgbColor(color));
}

void ListView_SetSelColors(HWND handle, const int* colors, int count) {
    std::vector<ak::Color> made;
    for (int i = 0; colors && i < count; ++i)
        made.push_back(winlayer::RgbColor(colors[i]));
    if (auto* list = List(handle))
        list->SetSelectionColors(std::move(made));
    else if (auto* tree = Tree(handle))
        tree->SetSelectionColors(std::move(made));
}

void TreeView_SetBkColor(HWND handle, int color) {
    if (auto* tree = Tree(handle))
        tree->SetBackgroundColor(winlayer::RgbColor(color));
}

void TreeView_SetTextColor(HWND handle, int color) {
    if (auto* tree = Tree(handle))
        tree->SetTextColor(winlayer::RgbColor(color));
}

int ListView_GetTopIndex(HWND handle) {
    auto* list = List(handle);
    if (!list)
        return -1;
    // Points are the view's own: the rows in sight start below the header.
    return list->RowAtPoint(ak::Point{0, list->HeaderHeight()});
}

int ListView_GetCountPerPage(HWND handle) {
    auto* list = List(handle);
    if (!list || list->NumberOfRows() == 0)
        return 0;
    const double rowHeight = list->RectOfRow(0).size.height;
    return rowHeight > 0 ? static_cast<int>(list->VisibleRect().size.height / rowHeight) : 0;
}

BOOL ListView_Scroll(HWND handle, int dx, int dy) {
    auto* list = List(handle);
    if (!list)
        return FALSE;
    const int rows = list->model().RowCount();
    const int columns = list->model().ColumnCount();
    if (rows == 0 || columns == 0)
        return TRUE;
    const ak::Rect visible = list->VisibleRect();
    const double header = list->HeaderHeight();
    const double x = dx > 0 ? visible.size.width - 1 : 0;
    const double y = header + (dy > 0 ? visible.size.height - 1 : 0);
    const int row = std::clamp(list->RowAtPoint(ak::Point{x, y}), 0, rows - 1);
    int column = -1;
    for (int i = 0; i < columns; ++i)
        if (list->columnId(i) == list->ColumnAtPoint(ak::Point{x, y}))
            column = i;
    column = std::clamp(column, 0, columns - 1);
    const ak::Rect cell = list->RectOfCell(row, list->columnId(column));
    if (dy != 0 && cell.size.height > 0)
        list->ScrollRowToVisible(
            std::clamp(row + static_cast<int>(dy / cell.size.height), 0, rows - 1));
    // A zero-width cell (a hidden column) moves no columns.
    if (dx != 0 && cell.size.width > 0) {
        const int position = std::clamp(list->model().DisplayPosition(column) +
                                            static_cast<int>(dx / cell.size.width),
                                        0, columns - 1);
        list->ScrollColumnToVisible(list->columnId(list->model().LogicalColumn(position)));
    }
    return TRUE;
}
