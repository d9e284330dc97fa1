// The list view control in a window view on a display: the calls reach the
// table, its parent hears each change once, and geometry answers as Win32.
#include "winlayer/listviews/ListView.h"

#include "tests/winlayer/support/ControlHost.h"
#include "winlayer/ApiNames.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace winlayer::test {
namespace {

class ListViewTest : public ControlHostTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ShowHost([](UINT message, LPARAM lParam) -> std::string {
            if (message == WM_NOTIFY) {
                const auto* record = reinterpret_cast<const NMLISTVIEW*>(lParam);
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
    HWND MakeList(int style, bool listBox = false) {
        const HWND list = CreateListView(top, ak::Rect{{10, 10}, {200, 150}}, 33, style, listBox);
        EXPECT_NE(list, nullptr);
        ak::test::Pump();
        return list;
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
    LVCOLUMN column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 80;
    column.pszText = const_cast<char*>("Name");
    ListView_InsertColumn(list, 0, &column);
    ListView_InsertColumn(list, 1, &column);
    AddRows(list, 3);
    ListView_SetItemText(list, 1, 1, "second");
    EXPECT_EQ(Table(list).NumberOfRows(), 3);
    EXPECT_EQ(Table(list).NumberOfColumns(), 2);
    EXPECT_EQ(Table(list).TextAt(Table(list), Table(list).columnId(1), 1), "second");

    EXPECT_TRUE(ListView_SetItemState(list, 2, 1, 1));
    ak::test::Pump();
    EXPECT_TRUE(Table(list).IsRowSelected(2));
    EXPECT_EQ(notes, (std::vector<std::string>{"-101 2"})); // no echo from the table
    EXPECT_EQ(ListView_GetItemCount(list), 3);

    ListView_SetColumnWidth(list, 1, 0);
    EXPECT_TRUE(Table(list).IsColumnHidden(Table(list).columnId(1)));
    EXPECT_EQ(ListView_GetColumnWidth(list, 1), 0);
}

TEST_F(ListViewTest, ItemRectsAndHitTests) {
    const HWND list = MakeList(LVS_REPORT);
    LVCOLUMN column{};
    column.mask = LVCF_WIDTH;
    column.cx = 120;
    ListView_InsertColumn(list, 0, &column);
    AddRows(list, 2);
    ak::test::Pump();

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
    ak::test::Pump();
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

TEST(ListApiNamesTest, ListCallsJoinTheNameTable) {
    AddListApiNames();
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
        LVCOLUMN column{};
        column.mask = LVCF_WIDTH;
        column.cx = 150;
        ListView_InsertColumn(list, 0, &column);
        AddRows(list, 3);
        ak::test::Pump();
        RECT rect{};
        ListView_GetItemRect(list, 1, &rect, 0);
        // The list sits at (10, 10) of the flipped content view.
        row1 = ak::Point{10 + 20.0, 10 + (rect.top + rect.bottom) / 2.0};
        window = FindWindow(top);
        ak::test::Enter(*window, row1);
        ak::test::Pump();
        notes.clear();
    }
    ak::Window* window = nullptr;
    HWND list = nullptr;
    ak::Point row1;
};

TEST_F(ListViewMouseTest, PlainClickSelectsAtTheRelease) {
    ak::test::Press(*window, row1);
    ak::test::Pump();
    EXPECT_EQ(ListView_GetSelectedCount(list), 0);
    ak::test::Release(*window, row1);
    ak::test::Pump();
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), 1);
    EXPECT_EQ(notes, (std::vector<std::string>{"-101 1", "-2 1"}));
}

TEST_F(ListViewMouseTest, FastClickColumnsTellThePress) {
    WISP_SetListViewFastClickMask(list, 1);
    ak::test::Press(*window, row1);
    ak::test::Pump();
    EXPECT_EQ(notes, (std::vector<std::string>{"-2 1"}));
    ak::test::Release(*window, row1);
    ak::test::Pump();
    EXPECT_EQ(notes, (std::vector<std::string>{"-2 1"}));
}

TEST_F(ListViewMouseTest, TheFourthDragBeginsAndTheReleaseIsAButtonUp) {
    ak::test::Press(*window, row1);
    for (int i = 1; i <= 3; ++i)
        ak::test::Move(*window, ak::Point{row1.x + i, row1.y}, 1);
    ak::test::Pump();
    EXPECT_TRUE(notes.empty());
    for (int i = 4; i <= 6; ++i)
        ak::test::Move(*window, ak::Point{row1.x + i, row1.y}, 1);
    ak::test::Pump();
    ak::test::Release(*window, ak::Point{row1.x + 6, row1.y});
    ak::test::Pump();
    EXPECT_EQ(notes, (std::vector<std::string>{"-109 1", "move", "up"}));
    EXPECT_TRUE(ListView_GetItemState(list, 1, LVIS_SELECTED));
}

TEST_F(ListViewMouseTest, EmulatedRightClickTellsRightThenClick) {
    const ak::test::Button super{1, ak::test::Mod::Super};
    ak::test::Press(*window, row1, super);
    ak::test::Release(*window, row1, super);
    ak::test::Pump();
    EXPECT_EQ(notes, (std::vector<std::string>{"-5 1", "context", "-2 1"}));
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), 1);
}

} // namespace
} // namespace winlayer::test
