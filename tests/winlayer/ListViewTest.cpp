// The list view control in a window view on a display: the calls reach the
// table, its parent hears each change once, and geometry answers as Win32.
#include "winlayer/listviews/ListView.h"

#include "tests/winlayer/support/ControlHost.h"
#include "winlayer/ApiNames.h"
#include "winlayer/controls/ControlCalls.h"
#include "winlayer/controls/DialogControls.h"
#include "winlayer/draw/Gdi.h"
#include "winlayer/window/WindowCalls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace winlayer::test {
namespace {

class ListViewTest : public ControlHostTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        EnableListControls();
        ShowHost([](UINT message, LPARAM lParam) -> std::string {
            if (message == WM_NOTIFY) {
                const auto* record = reinterpret_cast<const NMLISTVIEW*>(lParam);
                if (record->hdr.code == NM_CUSTOMDRAW)
                    return ""; // asked for every cell drawn
                if (record->hdr.code == LVN_COLUMNCLICK)
                    return "column " + std::to_string(record->iSubItem);
                return std::to_string(record->hdr.code) + " " + std::to_string(record->iItem);
            }
            if (message == WM_COMMAND)
                return "command " + std::to_string(lParam != 0);
            if (message == WM_MOUSEMOVE)
                return "move";
            if (message == WM_LBUTTONUP)
                return "up";
            return message == 0x7B ? "context" : "";
        });
    }
    // From the factory, at (10, 10) of the window's flipped content view.
    HWND MakeList(int style, bool listBox = false) {
        WISP_MakeSetCurParms(top, 0, 0, 1, 1, 0, 0);
        const HWND list = WISP_MakeControl("", 33, listBox ? "SysListView32_LB" : "SysListView32",
                                           style, 10, 10, 200, 150, 0);
        EXPECT_NE(list, nullptr);
        Settle();
        return list;
    }
    // count columns of one width, with a header text when given.
    static void AddColumns(HWND list, int count, int width, const char* text = nullptr) {
        LVCOLUMN column{};
        column.mask = LVCF_WIDTH | (text ? LVCF_TEXT : 0);
        column.cx = width;
        column.pszText = const_cast<char*>(text);
        for (int i = 0; i < count; ++i)
            ListView_InsertColumn(list, i, &column);
    }
    void AddRows(HWND list, int count) {
        for (int i = 0; i < count; ++i) {
            const std::string text = "row " + std::to_string(i);
            LVITEM item{};
            item.mask = LVIF_TEXT;
            item.iItem = i;
            item.pszText = const_cast<char*>(text.c_str());
            ListView_InsertItem(list, &item);
        }
    }
    Wisp_vOmnarControl_listview& Table(HWND list) {
        return *dynamic_cast<Wisp_vOmnarControl_listview*>(FindObject(list));
    }
};

TEST_F(ListViewTest, CallsReachTheTableAndTheParentHearsOnce) {
    const HWND list = MakeList(LVS_REPORT);
    AddColumns(list, 2, 80, "Name");
    AddRows(list, 3);
    ListView_SetItemText(list, 1, 1, "second");
    EXPECT_EQ(Table(list).NumberOfRows(), 3);
    EXPECT_EQ(Table(list).NumberOfColumns(), 2);
    EXPECT_EQ(Table(list).TextAt(Table(list), Table(list).columnId(1), 1), "second");

    EXPECT_TRUE(ListView_SetItemState(list, 2, 1, 1));
    Settle();
    EXPECT_TRUE(Table(list).IsRowSelected(2));
    EXPECT_EQ(notes, (std::vector<std::string>{"-101 2"})); // no echo from the table
    EXPECT_EQ(ListView_GetItemCount(list), 3);

    ListView_SetColumnWidth(list, 1, 0);
    EXPECT_TRUE(Table(list).IsColumnHidden(Table(list).columnId(1)));
    EXPECT_EQ(ListView_GetColumnWidth(list, 1), 0);
}

TEST_F(ListViewTest, ItemRectsAndHitTests) {
    const HWND list = MakeList(LVS_REPORT);
    AddColumns(list, 1, 120);
    AddRows(list, 2);
    Settle();

    RECT last{}, past{}, beyond{};
    ASSERT_TRUE(ListView_GetItemRect(list, 1, &last, 0));
    ASSERT_TRUE(ListView_GetItemRect(list, 2, &past, 0));
    EXPECT_FALSE(ListView_GetItemRect(list, 3, &beyond, 0));
    EXPECT_EQ(past.top, last.bottom);
    EXPECT_EQ(past.bottom - past.top, last.bottom - last.top);
    EXPECT_GT(last.bottom, last.top);

    struct Case {
        POINT pt;
        UINT flags;
        int row;
    };
    const int header = WISP_GetListViewHeaderHeight(list);
    EXPECT_GT(header, 0);
    const Case cases[] = {
        {{5, header / 2}, 0x10, -1},
        {{5, (last.top + last.bottom) / 2}, 0x04, 1},
        {{5, past.bottom + 20}, 0x01, -1},
        {{-3, 40}, 0x80, -1},
    };
    for (const Case& c : cases) {
        LVHITTESTINFO info{};
        info.pt = c.pt;
        EXPECT_EQ(ListView_HitTest(list, &info), c.row) << c.pt.y;
        EXPECT_EQ(info.flags, c.flags) << c.pt.y;
    }
    // With state images, the square at a row's left edge is the state icon.
    HIMAGELIST images = ImageList_CreateEx();
    ListView_SetImageList(list, images, 1);
    LVHITTESTINFO info{};
    info.pt = POINT{4, (last.top + last.bottom) / 2};
    EXPECT_EQ(ListView_HitTest(list, &info), 1);
    EXPECT_EQ(info.flags, 0x08u);
    ListView_SetImageList(list, nullptr, -1);
    ImageList_Destroy(images);
}

TEST_F(ListViewTest, ListBoxMessagesThroughSendMessageAndClassChecks) {
    const HWND box = MakeList(LBS_SORT, true);
    for (const char* text : {"b", "a", "c"})
        SendMessage(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(SendMessage(box, LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessage(box, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                          reinterpret_cast<LPARAM>("C")),
              2);
    SendMessage(box, LB_SETCURSEL, 1, 0);
    Settle();
    EXPECT_TRUE(Table(box).IsRowSelected(1));
    EXPECT_TRUE(notes.empty());
    EXPECT_STREQ(Table(box).getWispClass(), "SysListView32_LB");

    // Other classes answer the failure values.
    const HWND view = GetDlgItem(top, 0) ? GetDlgItem(top, 0) : top;
    LVITEM item{};
    EXPECT_EQ(ListView_InsertItem(view, &item), -1);
    EXPECT_EQ(ListView_GetItemCount(view), 0);
    EXPECT_EQ(ListView_GetNextItem(nullptr, -1, 1), -1);
    LVHITTESTINFO info{};
    EXPECT_EQ(ListView_HitTest(view, &info), -1);
}

// What the factory makes of each list class and style: a list view without
// report columns and a list box get one column at least 300 or 1,200 wide;
// the header shows only for report style without LVS_NOCOLUMNHEADER.
TEST_F(ListViewTest, TheFactoryMakesListsByClassAndStyle) {
    struct Case {
        const char* className;
        int style;
        int columns;
        int width;
        bool header;
        bool hidden;
    };
    const Case cases[] = {
        {"SysListView32", LVS_REPORT, 0, 0, true, false},
        {"syslistview32", LVS_REPORT | LVS_NOCOLUMNHEADER, 0, 0, false, false},
        {"SysListView32", 0, 1, 300, false, false},
        {"SysListView32_LB", 0, 1, 1200, false, false},
        {"SysListView32_LB", LVS_REPORT | kHiddenStyle, 1, 1200, false, true},
    };
    WISP_MakeSetCurParms(top, 0, 0, 1, 1, 0, 0);
    for (const Case& c : cases) {
        const HWND list = WISP_MakeControl("", 50, c.className, c.style, 10, 10, 200, 150, 0);
        ASSERT_NE(list, nullptr) << c.className;
        Settle();
        Wisp_vOmnarControl_listview& table = Table(list);
        EXPECT_EQ(table.NumberOfColumns(), c.columns) << c.className << " " << c.style;
        if (c.columns) {
            EXPECT_EQ(ListView_GetColumnWidth(list, 0), c.width) << c.className;
        } else {
            AddColumns(list, 1, 50); // a header shows with a column
            Settle();
        }
        EXPECT_EQ(WISP_GetListViewHeaderHeight(list) > 0, c.header) << c.className << c.style;
        EXPECT_EQ(table.IsHidden(), c.hidden) << c.className;
        EXPECT_EQ(GetParent(list), top);
        char className[32] = "";
        GetClassName(list, className, sizeof className);
        EXPECT_STREQ(className,
                     std::strlen(c.className) > 13 ? "SysListView32_LB" : "SysListView32");
        DestroyWindow(list);
    }
    // A wide list box's column follows the frame, less the inset.
    const HWND wide = WISP_MakeControl("", 51, "SysListView32", 0, 0, 0, 400, 50, 0);
    EXPECT_EQ(ListView_GetColumnWidth(wide, 0), 396);
}

TEST_F(ListViewTest, ColumnsAndSortIndicatorsThroughTheColumnAndHeaderCalls) {
    const HWND list = MakeList(LVS_REPORT);
    AddColumns(list, 2, 60, "Name");
    LVCOLUMN column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    column.fmt = 2;
    column.cx = 70;
    column.pszText = const_cast<char*>("Kind");
    ListView_SetColumn(list, 1, &column);
    char text[16] = {};
    LVCOLUMN read{};
    read.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    read.pszText = text;
    read.cchTextMax = sizeof text;
    ListView_GetColumn(list, 1, &read);
    EXPECT_EQ(read.fmt, 2);
    EXPECT_EQ(read.cx, 70);
    EXPECT_STREQ(text, "Kind");
    EXPECT_EQ(Table(list).ColumnTitle(Table(list).columnId(1)), "Kind");
    EXPECT_EQ(Table(list).ColumnAlignment(Table(list).columnId(1)), ak::TextAlignment::Center);

    EXPECT_EQ(ListView_GetHeader(list), list);
    EXPECT_EQ(ListView_GetHeader(top), nullptr);
    EXPECT_EQ(Header_GetItemCount(list), 2);
    struct Case {
        int set;
        int read;
    };
    for (const Case c : {Case{HDF_SORTUP, HDF_SORTUP}, Case{HDF_SORTDOWN, HDF_SORTDOWN},
                         Case{HDF_SORTUP | HDF_SORTDOWN, HDF_SORTUP}, Case{0, 0}}) {
        HDITEM item{};
        item.mask = HDI_FORMAT;
        item.fmt = c.set;
        EXPECT_TRUE(Header_SetItem(list, 0, &item));
        item.fmt = -1;
        EXPECT_TRUE(Header_GetItem(list, 0, &item));
        EXPECT_EQ(item.fmt, c.read) << c.set;
    }
    HDITEM item{};
    item.mask = HDI_FORMAT;
    EXPECT_FALSE(Header_GetItem(list, 2, &item));
    EXPECT_FALSE(Header_SetItem(top, 0, &item));

    // Images in every column once the extended style asks for them.
    ListView_SetExtendedListViewStyleEx(list, 0x2 | 0x1 | 0x10, 0x2 | 0x1);
    HIMAGELIST images = ImageList_CreateEx();
    ListView_SetImageList(list, images, 2);
    EXPECT_EQ(Table(list).ColumnCell(Table(list).columnId(1)), ak::CellKind::Status);
    ListView_SetImageList(list, nullptr, -1);
    ImageList_Destroy(images);
}

// A click on a column's header asks the parent to sort, unless the style
// says the header does not sort.
TEST_F(ListViewTest, HeaderClicksTellTheColumnUnlessTheStyleSilencesThem) {
    for (const int style : {LVS_REPORT, LVS_REPORT | LVS_NOSORTHEADER}) {
        const HWND list = MakeList(style);
        AddColumns(list, 2, 80, "Head");
        // The header's buttons stand where the click goes only once laid out.
        Settle();
        ak::Window& window = *FindWindow(top);
        const ak::Point header = Table(list).ConvertPointToView(
            ak::Point{120, WISP_GetListViewHeaderHeight(list) / 2.0}, nullptr);
        ak::test::Enter(window, header);
        ak::test::Move(window, header);
        ak::test::Click(window, header);
        Settle();
        EXPECT_EQ(notes, style & LVS_NOSORTHEADER ? std::vector<std::string>{}
                                                  : std::vector<std::string>{"column 1"});
        notes.clear();
        DestroyWindow(list);
        Settle();
    }
}

// The parent's NM_CUSTOMDRAW answer colours a cell's text; selection colours
// fill the selected rows, here without the focus.
TEST_F(ListViewTest, CustomDrawAndSelectionColoursShowInThePixels) {
    const HWND list = MakeList(LVS_REPORT | LVS_NOCOLUMNHEADER);
    AddColumns(list, 1, 180);
    for (int i = 0; i < 3; ++i) {
        LVITEM item{};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = const_cast<char*>("WWWWWWWWWWWW");
        ListView_InsertItem(list, &item);
    }
    probe.hook = [](HWND, UINT message, WPARAM, LPARAM lParam) -> LRESULT {
        auto* record = reinterpret_cast<NMLVCUSTOMDRAW*>(lParam);
        if (message == WM_NOTIFY && record->nmcd.hdr.code == NM_CUSTOMDRAW &&
            record->nmcd.dwItemSpec == 0)
            record->clrText = 0xFF0000;
        return 0;
    };
    const int colours[] = {0x00FF00, 0xFFFFFF, 0x0000FF, 0xFFFFFF};
    ListView_SetSelColors(list, colours, 4);
    ListView_SetItemState(list, 2, 1, 1);
    Settle();
    ak::Window& window = *FindWindow(top);
    const ak::Surface shot = window.Snapshot();
    ak::test::SaveSnapshot(window, "winlayer-list-colours");
    cairo_surface_flush(shot.get());
    const auto pixelsOfRow = [&](int row) {
        RECT rect{};
        ListView_GetItemRect(list, row, &rect, 0);
        std::vector<std::uint32_t> pixels;
        for (int y = rect.top + 1; y < rect.bottom - 1; ++y)
            for (int x = rect.left + 1; x < rect.right - 1; ++x) {
                const ak::Point p =
                    Table(list).ConvertPointToView(ak::Point{double(x), double(y)}, nullptr);
                const auto* line = cairo_image_surface_get_data(shot.get()) +
                                   int(p.y) * cairo_image_surface_get_stride(shot.get());
                pixels.push_back(reinterpret_cast<const std::uint32_t*>(line)[int(p.x)] & 0xFFFFFF);
            }
        return pixels;
    };
    const auto has = [](const std::vector<std::uint32_t>& pixels, auto test) {
        return std::any_of(pixels.begin(), pixels.end(), test);
    };
    const auto reddish = [](std::uint32_t p) {
        return ((p >> 16) & 0xFF) > 0xC0 && ((p >> 8) & 0xFF) < 0x60 && (p & 0xFF) < 0x60;
    };
    EXPECT_TRUE(has(pixelsOfRow(0), reddish)) << "the parent's text colour";
    EXPECT_FALSE(has(pixelsOfRow(1), reddish));
    EXPECT_TRUE(has(pixelsOfRow(2), [](std::uint32_t p) { return p == 0x0000FF; }))
        << "the unfocused selection fill";
    EXPECT_FALSE(has(pixelsOfRow(1), [](std::uint32_t p) { return p == 0x0000FF; }));
}

// An owner-drawn list box hands each row's drawing to its parent.
TEST_F(ListViewTest, OwnerDrawnListBoxRowsAreDrawnByTheParent) {
    const HWND box = MakeList(LBS_OWNERDRAWFIXED, true);
    for (const char* text : {"a", "b"})
        SendMessage(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    SendMessage(box, LB_SETITEMDATA, 1, 77);
    std::vector<std::string> drawn;
    probe.hook = [&drawn](HWND, UINT message, WPARAM, LPARAM lParam) -> LRESULT {
        if (message != WM_DRAWITEM)
            return 0;
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        const std::string line = std::to_string(item->CtlType) + " " + std::to_string(item->CtlID) +
                                 " " + std::to_string(item->itemID) + " " +
                                 std::to_string(item->itemData);
        if (std::find(drawn.begin(), drawn.end(), line) == drawn.end())
            drawn.push_back(line);
        HBRUSH red = CreateSolidBrush(0xFF0000);
        WISP_FillRect(static_cast<HDC>(item->hDC), &item->rcItem, red);
        DeleteObject(red);
        return 1;
    };
    ListView_RedrawItems(box, 0, 1);
    Settle();
    std::sort(drawn.begin(), drawn.end());
    EXPECT_EQ(drawn, (std::vector<std::string>{"2 33 0 0", "2 33 1 77"}));
    RECT row{};
    ASSERT_TRUE(ListView_GetItemRect(box, 0, &row, 0));
    ak::Window& window = *FindWindow(top);
    const ak::Surface shot = window.Snapshot();
    cairo_surface_flush(shot.get());
    const ak::Point p =
        Table(box).ConvertPointToView(ak::Point{20.0, (row.top + row.bottom) / 2.0}, nullptr);
    const auto* line = cairo_image_surface_get_data(shot.get()) +
                       int(p.y) * cairo_image_surface_get_stride(shot.get());
    EXPECT_EQ(reinterpret_cast<const std::uint32_t*>(line)[int(p.x)] & 0xFFFFFF, 0xFF0000u);
}

TEST_F(ListViewTest, TopIndexPageAndScrolling) {
    const HWND list = MakeList(LVS_REPORT);
    AddColumns(list, 1, 150);
    AddRows(list, 40);
    Settle();
    const int perPage = ListView_GetCountPerPage(list);
    EXPECT_GT(perPage, 2);
    EXPECT_LT(perPage, 40);
    EXPECT_EQ(ListView_GetTopIndex(list), 0);
    RECT row{};
    ListView_GetItemRect(list, 0, &row, 0);
    EXPECT_TRUE(ListView_Scroll(list, 0, 10 * (row.bottom - row.top)));
    Settle();
    // The row ten below the last one in sight is now the last in sight.
    EXPECT_NEAR(ListView_GetTopIndex(list), 10 + 1, 1);
    EXPECT_TRUE(ListView_Scroll(list, 0, -5 * (row.bottom - row.top)));
    Settle();
    EXPECT_NEAR(ListView_GetTopIndex(list), 10 + 1 - 5, 1);

    EXPECT_EQ(ListView_GetTopIndex(top), -1);
    EXPECT_EQ(ListView_GetCountPerPage(top), 0);
    EXPECT_FALSE(ListView_Scroll(top, 0, 10));
}

// DefWindowProc lets a focused list take its keys (1) but passes on
// modified keys and Tab (69); the focus itself selects no row.
TEST_F(ListViewTest, AFocusedListTakesItsKeysFromDefWindowProc) {
    const HWND list = MakeList(LVS_REPORT | LVS_SINGLESEL);
    AddColumns(list, 1, 150);
    AddRows(list, 3);
    EXPECT_EQ(DefWindowProc(top, WM_KEYDOWN, 40, 1), 69);
    SetFocus(list);
    Settle();
    EXPECT_EQ(ListView_GetSelectedCount(list), 0);
    EXPECT_TRUE(notes.empty());
    struct Case {
        WPARAM key;
        LPARAM flags;
        LRESULT answer;
    };
    for (const Case c : {Case{40, 1, 1}, Case{65, 0, 1}, Case{40, 0x08, 69}, Case{9, 1, 69}})
        EXPECT_EQ(DefWindowProc(top, WM_KEYDOWN, c.key, c.flags), c.answer) << c.key;
}

TEST(ListApiNamesTest, ListCallsJoinTheNameTable) {
    EnableListControls();
    AddWindowApiNames();
    for (const char* name :
         {"ListView_SetColumn", "Header_SetItem", "ListView_SetSelColors", "TreeView_SetTextColor",
          "ListView_Scroll", "DragQueryFile", "DragQueryPoint", "DragFinish"})
        EXPECT_NE(LookupAPIFunctionByName(name), nullptr) << name;
    EXPECT_EQ(LookupAPIFunctionByName("ListView_InsertItem"),
              reinterpret_cast<void*>(&ListView_InsertItem));
    EXPECT_EQ(LookupAPIFunctionByName("WISP_SetListViewFastClickMask"),
              reinterpret_cast<void*>(&WISP_SetListViewFastClickMask));
}

class ListViewMouseTest : public ListViewTest {
protected:
    void SetUp() override {
        ListViewTest::SetUp();
        list = MakeList(LVS_REPORT);
        AddColumns(list, 1, 150);
        AddRows(list, 3);
        Settle();
        RECT rect{};
        ListView_GetItemRect(list, 1, &rect, 0);
        // The list sits at (10, 10) of the flipped content view.
        row1 = ak::Point{10 + 20.0, 10 + (rect.top + rect.bottom) / 2.0};
        window = FindWindow(top);
        ak::test::Enter(*window, row1);
        Settle();
        notes.clear();
    }
    ak::Window* window = nullptr;
    HWND list = nullptr;
    ak::Point row1;
};

TEST_F(ListViewMouseTest, PlainClickSelectsAtTheRelease) {
    ak::test::Press(*window, row1);
    Settle();
    EXPECT_EQ(ListView_GetSelectedCount(list), 0);
    ak::test::Release(*window, row1);
    Settle();
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), 1);
    EXPECT_EQ(notes, (std::vector<std::string>{"-101 1", "-2 1"}));
}

// A click on a row's state image leaves the selection to the parent.
TEST_F(ListViewMouseTest, AStateImageClickKeepsTheSelection) {
    HIMAGELIST images = ImageList_CreateEx();
    ListView_SetImageList(list, images, 1);
    const ak::Point onImage{10 + 4.0, row1.y};
    ak::test::Press(*window, onImage);
    ak::test::Release(*window, onImage);
    Settle();
    EXPECT_EQ(ListView_GetSelectedCount(list), 0);
    EXPECT_EQ(notes, (std::vector<std::string>{"-2 1"}));
    ListView_SetImageList(list, nullptr, -1);
    ImageList_Destroy(images);
}

TEST_F(ListViewMouseTest, FastClickColumnsTellThePress) {
    WISP_SetListViewFastClickMask(list, 1);
    ak::test::Press(*window, row1);
    Settle();
    EXPECT_EQ(notes, (std::vector<std::string>{"-2 1"}));
    ak::test::Release(*window, row1);
    Settle();
    EXPECT_EQ(notes, (std::vector<std::string>{"-2 1"}));
}

// The second click of a double click (presses 100 ms apart) tells NM_DBLCLK
// before its NM_CLICK, or in a fast-click column at its press; a list box
// tells its parent LBN_DBLCLK after the selection change.
TEST_F(ListViewMouseTest, DoubleClicksTellTheParent) {
    std::uint32_t time = 50000;
    const auto doubleClick = [&] {
        ak::test::Click(*window, row1, {1, 0, time});
        ak::test::Click(*window, row1, {1, 0, time + 100});
        Settle();
        time += 10000;
    };
    struct Case {
        std::uint32_t fastClickMask;
        std::vector<std::string> notes;
    };
    for (const Case& c : {Case{0, {"-101 1", "-2 1", "-3 1", "-2 1"}}, Case{1, {"-2 1", "-3 1"}}}) {
        SCOPED_TRACE(c.fastClickMask);
        ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
        Settle();
        WISP_SetListViewFastClickMask(list, c.fastClickMask);
        notes.clear();
        doubleClick();
        EXPECT_EQ(notes, c.notes);
    }

    DestroyWindow(list);
    const HWND box = MakeList(0, true);
    AddRows(box, 3);
    Settle();
    probe.Take();
    doubleClick();
    const auto command = [](int code) {
        return "? " + std::to_string(WM_COMMAND) + " " + std::to_string(CommandParam(code, 33));
    };
    const std::vector<std::string> log = probe.Take();
    EXPECT_TRUE(InOrder(log, {command(1), command(LBN_DBLCLK)}));
    EXPECT_EQ(std::count(log.begin(), log.end(), command(LBN_DBLCLK)), 1);
}

TEST_F(ListViewMouseTest, TheFourthDragBeginsAndTheReleaseIsAButtonUp) {
    ak::test::Press(*window, row1);
    for (int i = 1; i <= 3; ++i)
        ak::test::Move(*window, ak::Point{row1.x + i, row1.y}, 1);
    Settle();
    EXPECT_TRUE(notes.empty());
    for (int i = 4; i <= 6; ++i)
        ak::test::Move(*window, ak::Point{row1.x + i, row1.y}, 1);
    Settle();
    ak::test::Release(*window, ak::Point{row1.x + 6, row1.y});
    Settle();
    EXPECT_EQ(notes, (std::vector<std::string>{"-109 1", "move", "up"}));
    EXPECT_TRUE(ListView_GetItemState(list, 1, LVIS_SELECTED));
}

TEST_F(ListViewMouseTest, EmulatedRightClickTellsRightThenClick) {
    const ak::test::Button super{1, ak::test::Mod::Super};
    ak::test::Press(*window, row1, super);
    ak::test::Release(*window, row1, super);
    Settle();
    EXPECT_EQ(notes, (std::vector<std::string>{"-5 1", "context", "-2 1"}));
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), 1);
}

} // namespace
} // namespace winlayer::test
