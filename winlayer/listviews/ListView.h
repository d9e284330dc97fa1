#pragma once

#include "platform/ak/TableView.h"
#include "winlayer/lists/ListModel.h"
#include "winlayer/window/ControlReports.h"
#include "winlayer/window/WindowView.h"

#include <string>
#include <vector>

// The list view and list box control: an ak table showing a ListModel, its
// Win32 calls, and the notifications it sends its parent.

// Raised around selection changes the calls make, so the parent hears none.
extern int g_suppressListSelectionNotify;

class Wisp_vOmnarControl_listview : public ak::TableView,
                                    public ak::TableDataSource,
                                    public winlayer::ListEvents,
                                    public winlayer::WispMessageTarget,
                                    public winlayer::WispClassNamed {
public:
    Wisp_vOmnarControl_listview(ak::Rect frame, int style, bool listBox);
    ~Wisp_vOmnarControl_listview() override;

    winlayer::ListModel& model() { return model_; }
    const char* getWispClass() const override {
        return model_.ListBoxMode() ? "SysListView32_LB" : "SysListView32";
    }
    HWND Handle() { return winlayer::HandleOf(this); }
    // The table column of a logical column.
    const std::string& columnId(int column) const { return columnIds_[column]; }
    void insertColumn(int position, const LVCOLUMN& column);
    bool deleteColumn(int column);
    void showColumns();

    LRESULT onWispMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    using ak::TableView::NumberOfRows;
    int NumberOfRows(ak::TableView&) override { return model_.RowCount(); }
    std::string TextAt(ak::TableView&, const std::string& column, int row) override;
    ak::Ref<ak::Image> ImageAt(ak::TableView&, const std::string& column, int row) override;
    // The colour the parent answers to NM_CUSTOMDRAW, if any.
    std::optional<ak::Color> TextColorAt(ak::TableView&, const std::string& column,
                                         int row) override;
    // An owner-drawn list box's rows: WM_DRAWITEM to the parent.
    void DrawCell(ak::TableView&, const std::string& column, int row, cairo_t* cr, ak::Rect frame,
                  bool selected) override;

    void ItemChanged(int row, UINT newState) override;
    void GetDispInfo(NMLVDISPINFO& info) override;
    void Changed() override;
    // The user changed the table's selection: the model follows, the parent hears.
    void wispSelectionChanged();
    void setFastClickMask(std::uint32_t mask) { fastClickMask_ = mask; }

protected:
    // Presses wait for the release to select, so a drag can start from an
    // unselected row without moving the selection (ListViewMouse.cpp).
    bool MouseDownOnRows(const ak::RowMouse& mouse) override;
    void MouseDraggedOnRows(const ak::RowMouse& mouse) override;
    bool MouseUpOnRows(const ak::RowMouse& mouse) override;
    void RightMouseUpOnRows(const ak::RowMouse& mouse) override;

private:
    void rightRelease(const ak::RowMouse& mouse);
    // NM_DBLCLK, or LBN_DBLCLK in list-box mode.
    void doubleClicked(const ak::RowMouse& press);
    LRESULT notifyMouse(int code, int row, int column, ak::Point point, bool withData);
    int logicalColumnOf(const std::string& id) const;
    LPARAM cursorInParent() const;
    LRESULT notifyParent(NMHDR& header);

    winlayer::ListModel model_;
    std::vector<std::string> columnIds_; // logical order
    int nextColumnId_ = 0;
    // The last left press.
    int leftMouseMoveCount_ = 0;
    bool fakeRightMouse_ = false;
    int startItem_ = -1;
    int startSubItem_ = -1;
    int startClickMode_ = 0; // 1 state image, 2 drag begun, 4 click told at the press
    ak::RowMouse press_;
    std::uint32_t fastClickMask_ = 0;
    bool ownerDrawn_; // a list box with LBS_OWNERDRAWFIXED: its first column
};

namespace winlayer {
// Makes the control in parent (a window view) with control id id; the parent
// holds it. Null for a parent that is not a view.
HWND CreateListView(HWND parent, ak::Rect frame, int id, int style, bool listBox);
// 0x00RRGGBB as an opaque colour.
ak::Color RgbColor(int value);
// Puts the list calls into the API name table; once is enough.
void AddListApiNames();
// Lets WISP_MakeControl build list views, list boxes and tree views, and puts
// their calls into the name table. The application calls it once at start.
void EnableListControls();
} // namespace winlayer

void ListView_InsertColumn(HWND list, int position, const LVCOLUMN* column);
void ListView_SetColumn(HWND list, int column, const LVCOLUMN* info);
void ListView_GetColumn(HWND list, int column, LVCOLUMN* info);
// Masks: 0x1 grid lines, 0x2 images in every column, 0x10 column reordering.
void ListView_SetExtendedListViewStyleEx(HWND list, DWORD mask, DWORD style);
// kind 1: state images, 2: item images. The list is not owned.
void ListView_SetImageList(HWND list, void* images, int kind);
void ListView_RedrawItems(HWND list, int first, int last);
// The header calls take the list itself.
HWND ListView_GetHeader(HWND list);
int Header_GetItemCount(HWND list);
BOOL Header_GetItem(HWND list, int column, HDITEM* item);
BOOL Header_SetItem(HWND list, int column, const HDITEM* item);
// Colours are 0x00RRGGBB.
void ListView_SetBkColor(HWND list, int color);
void ListView_SetTextColor(HWND list, int color);
void ListView_SetTextBkColor(HWND list, int color);
void ListView_SetGridColor(HWND list, int color);
// Selected fill and text with the focus, then without; lists and trees.
void ListView_SetSelColors(HWND control, const int* colors, int count);
int ListView_GetTopIndex(HWND list);
int ListView_GetCountPerPage(HWND list);
BOOL ListView_Scroll(HWND list, int dx, int dy);
BOOL ListView_DeleteColumn(HWND list, int column);
void ListView_SetColumnWidth(HWND list, int column, int width);
int ListView_GetColumnWidth(HWND list, int column);
BOOL ListView_GetColumnOrderArray(HWND list, int count, int* order);
BOOL ListView_SetColumnOrderArray(HWND list, int count, const int* order);
int ListView_InsertItem(HWND list, const LVITEM* item);
void ListView_SetItemText(HWND list, int row, int column, const char* text);
BOOL ListView_SetItem(HWND list, LVITEM* item);
BOOL ListView_GetItem(HWND list, LVITEM* item);
void ListView_GetItemText(HWND list, int row, int column, char* buffer, int size);
BOOL ListView_SetItemState(HWND list, int row, UINT state, UINT mask);
UINT ListView_GetItemState(HWND list, int row, UINT mask);
void ListView_DeleteItem(HWND list, int row);
void ListView_DeleteAllItems(HWND list);
void ListView_SetItemCount(HWND list, int count);
int ListView_GetItemCount(HWND list);
int ListView_GetNextItem(HWND list, int start, UINT flags);
int ListView_GetSelectedCount(HWND list);
int ListView_GetSelectionMark(HWND list);
void ListView_SortItems(HWND list, PFNLVCOMPARE compare, LPARAM sortParam);
void ListView_EnsureVisible(HWND list, int row, BOOL partial);
BOOL ListView_GetItemRect(HWND list, int row, RECT* rect, int code);
BOOL ListView_GetSubItemRect(HWND list, int row, int column, int code, RECT* rect);
int ListView_HitTest(HWND list, LVHITTESTINFO* info);
int ListView_SubItemHitTest(HWND list, LVHITTESTINFO* info);
int WISP_GetListViewHeaderHeight(HWND list);
void WISP_SetListViewFastClickMask(HWND list, std::uint32_t mask);
