#pragma once

#include "winlayer/lists/ListRecords.h"

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace winlayer {

// Where the list's notifications leave; the window layer sends them as
// WM_NOTIFY, tests record them.
class ListEvents {
public:
    virtual ~ListEvents() = default;
    // LVN_ITEMCHANGED for a selection the API changed.
    virtual void ItemChanged(int row, UINT newState) = 0;
    // LVN_GETDISPINFO in owner-data mode; the handler may repoint pszText.
    virtual void GetDispInfo(NMLVDISPINFO& info) = 0;
    // Rows, cells or selection changed: the view shows them without echoing.
    virtual void Changed() {}
};

struct ListCell {
    std::optional<std::string> text; // none reads as ""
    int image = 0;                   // n = entry n - 1 of the image list
};

struct ListRow {
    std::vector<ListCell> cells; // cell i belongs to logical column i
    LPARAM data = 0;
};

enum class ColumnAlign { left, right, centre };
enum class SortIndicator { none, up, down };

struct ListColumn {
    std::string header;
    int width = 100;
    bool hidden = false;
    ColumnAlign align = ColumnAlign::left;
    bool statusCell = false;
    SortIndicator sort = SortIndicator::none;
};

// What the view shows in one cell.
struct ListCellValue {
    std::string text;
    int image = 0;
};

// The rows, cells, columns and selection of one list view or list box, kept
// apart from any toolkit so the Win32 rules can be checked headless.
class ListModel {
public:
    ListModel(int style, bool listBoxMode, ListEvents& events);

    int Style() const { return style_; }
    bool ListBoxMode() const { return listBox_; }
    bool OwnerData() const { return !listBox_ && (style_ & LVS_OWNERDATA) != 0; }
    bool SingleSelection() const;

    // Columns, by logical index (insertion order).
    void InsertColumn(int position, const LVCOLUMN& column);
    bool DeleteColumn(int column);
    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    ListColumn* Column(int column);
    void SetColumn(int column, const LVCOLUMN& info);
    void GetColumn(int column, LVCOLUMN& info) const;
    void SetColumnWidth(int column, int width);
    int ColumnWidth(int column) const;
    int DisplayPosition(int column) const;
    int LogicalColumn(int position) const;
    bool GetColumnOrder(int count, int* order) const;
    bool SetColumnOrder(int count, const int* order);

    // Rows.
    int RowCount() const;
    int InsertItem(const LVITEM* item);
    void SetItemText(int row, int column, const char* text);
    bool SetItem(const LVITEM* item);
    bool GetItem(LVITEM* item);
    bool SetItemState(int row, UINT state, UINT mask);
    UINT GetItemState(int row, UINT mask) const;
    void DeleteItem(int row);
    void DeleteAllItems();
    void SetItemCount(int count);
    int GetNextItem(int start, UINT flags) const;
    void SortItems(PFNLVCOMPARE compare, LPARAM sortParam);
    const ListRow* Row(int row) const;
    ListCellValue ValueOf(int row, int column);

    // Selection; the current row is the one selected last.
    const std::set<int>& Selection() const { return selection_; }
    int CurrentRow() const { return current_; }
    int SelectedCount() const { return static_cast<int>(selection_.size()); }
    bool IsSelected(int row) const { return selection_.count(row) != 0; }
    void Select(int row, bool extend);
    void Deselect(int row);
    void ReplaceSelection(const std::set<int>& rows);

    // Image list: kind 1 state images, 2 item images, -1 none.
    void SetImageList(void* list, int kind);
    void* ImageList() const { return imageList_; }
    int ImageListKind() const { return imageKind_; }
    void SetSubItemImages(bool on) { subItemImages_ = on; }

    // List-box messages; other messages answer 0.
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    int SortedPlace(const char* text, bool descending) const;
    const char* FirstText(int row) const;
    void ShiftSelection(int from, int by);
    int InsertText(int position, const char* text);
    bool SetAllRowsState(UINT state, UINT mask);

    int style_;
    bool listBox_;
    ListEvents& events_;
    int ownerCount_ = 0;
    std::vector<ListRow> rows_;
    std::vector<ListColumn> columns_;
    std::vector<int> display_; // logical column at each display position
    std::set<int> selection_;
    int current_ = -1;
    void* imageList_ = nullptr;
    int imageKind_ = -1;
    bool subItemImages_ = false;
    int allRowsDepth_ = 0;
    bool inItemChanged_ = false;
    bool inAllRowsChanged_ = false;
};

} // namespace winlayer
