// The list view and list box rules, headless: rows, cells, columns,
// selection, owner data and the list-box messages.
#include "winlayer/lists/ListModel.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

using winlayer::ListModel;

struct RecordingEvents : winlayer::ListEvents {
    std::vector<std::pair<int, UINT>> changed;
    std::vector<LVITEM> dispRequests;
    std::string dispText = "virtual";
    void ItemChanged(int row, UINT state) override { changed.emplace_back(row, state); }
    void GetDispInfo(NMLVDISPINFO& info) override {
        dispRequests.push_back(info.item);
        info.item.pszText = dispText.data();
        info.item.lParam = 1000 + info.item.iItem;
    }
};

struct ListModelTest : ::testing::Test {
    RecordingEvents events;

    static LVITEM TextItem(int row, const char* text) {
        LVITEM item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = const_cast<char*>(text);
        return item;
    }
    static std::vector<std::string> Texts(const ListModel& list) {
        std::vector<std::string> texts;
        for (int row = 0; row < list.RowCount(); ++row) {
            const auto& cells = list.Row(row)->cells;
            texts.push_back(cells.empty() ? "" : cells[0].text.value_or("(null)"));
        }
        return texts;
    }
    static std::string CellText(ListModel& list, int row, int column) {
        char buffer[64];
        LVITEM item = TextItem(row, nullptr);
        item.iSubItem = column;
        item.pszText = buffer;
        item.cchTextMax = sizeof buffer;
        return list.GetItem(&item) ? buffer : "(no row)";
    }
};

TEST_F(ListModelTest, SortedInsertsKeepOrderBothWays) {
    struct Case {
        int style;
        std::vector<const char*> inserts;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {LVS_SORTASCENDING,
         {"m", "c", "x", "a", "e", "z", "m"},
         {"a", "c", "e", "m", "m", "x", "z"}},
        {LVS_SORTDESCENDING, {"m", "c", "x", "a", "e", "z"}, {"z", "x", "m", "e", "c", "a"}},
        // A null text sorts as "" and stays null.
        {LVS_SORTASCENDING, {"b", nullptr, "a"}, {"(null)", "a", "b"}},
    };
    for (const Case& c : cases) {
        ListModel list(c.style, false, events);
        for (const char* text : c.inserts) {
            const LVITEM item = TextItem(0, text);
            list.InsertItem(&item);
        }
        EXPECT_EQ(Texts(list), c.expected) << "style " << c.style;
    }
}

TEST_F(ListModelTest, ListBoxMessages) {
    ListModel box(LBS_SORT, true, events);
    const auto send = [&](UINT message, WPARAM w, const char* text) {
        return box.OnMessage(message, w, reinterpret_cast<LPARAM>(text));
    };
    EXPECT_EQ(send(LB_ADDSTRING, 0, "a"), 0);
    EXPECT_EQ(send(LB_ADDSTRING, 0, "c"), 1);
    EXPECT_EQ(send(LB_ADDSTRING, 0, "b"), 1);
    EXPECT_EQ(send(LB_INSERTSTRING, 99, "tail"), 3);
    EXPECT_EQ(send(LB_INSERTSTRING, 0, "head"), 0);
    EXPECT_EQ(Texts(box), (std::vector<std::string>{"head", "a", "b", "c", "tail"}));

    char buffer[16] = "junk";
    EXPECT_EQ(box.OnMessage(LB_GETTEXT_WISP, 4, reinterpret_cast<LPARAM>(buffer)), 4);
    EXPECT_STREQ(buffer, "tail");
    EXPECT_EQ(box.OnMessage(LB_GETTEXT_WISP, 5, reinterpret_cast<LPARAM>(buffer)), -1);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(box.OnMessage(LB_GETTEXT_WISP, 0, 0), -1);
    EXPECT_EQ(send(LB_GETTEXTLEN, 0, nullptr), 4);
    EXPECT_EQ(send(LB_GETTEXTLEN, 9, nullptr), -1);
    EXPECT_EQ(send(LB_GETCOUNT, 0, nullptr), 5);

    box.OnMessage(LB_SETITEMDATA, 2, 77);
    EXPECT_EQ(send(LB_GETITEMDATA, 2, nullptr), 77);
    EXPECT_EQ(send(LB_GETITEMDATA, 9, nullptr), 0);

    EXPECT_EQ(send(LB_GETCURSEL, 0, nullptr), -1);
    send(LB_SETCURSEL, 3, nullptr);
    EXPECT_EQ(send(LB_GETCURSEL, 0, nullptr), 3);
    EXPECT_EQ(send(LB_GETSEL, 3, nullptr), 1);
    send(LB_SETCURSEL, 99, nullptr);
    EXPECT_EQ(send(LB_GETSELCOUNT, 0, nullptr), 0);

    send(LB_DELETESTRING, 0, nullptr);
    EXPECT_EQ(Texts(box).front(), "a");
    send(LB_RESETCONTENT, 0, nullptr);
    EXPECT_EQ(send(LB_GETCOUNT, 0, nullptr), 0);
}

TEST_F(ListModelTest, FindStringExactWrapsAndIgnoresCase) {
    ListModel box(0, true, events);
    for (const char* text : {"x", "Y", "y"})
        box.OnMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    const auto find = [&](std::int64_t after, const char* text) {
        return box.OnMessage(LB_FINDSTRINGEXACT, static_cast<WPARAM>(after),
                             reinterpret_cast<LPARAM>(text));
    };
    EXPECT_EQ(find(1, "y"), 2);
    EXPECT_EQ(find(1, "X"), 0);
    EXPECT_EQ(find(-1, "y"), 1);
    EXPECT_EQ(find(0, "nothing"), -1);
    EXPECT_EQ(find(0, nullptr), -1);
}

TEST_F(ListModelTest, SelectionShiftsOnInsertAndDelete) {
    ListModel list(0, false, events);
    for (int i = 0; i < 4; ++i) {
        const LVITEM item = TextItem(i, "r");
        list.InsertItem(&item);
    }
    list.ReplaceSelection({0, 2});
    const LVITEM first = TextItem(0, "new");
    EXPECT_EQ(list.InsertItem(&first), 0);
    EXPECT_EQ(list.Selection(), (std::set<int>{1, 3}));

    list.DeleteItem(1);
    EXPECT_EQ(list.Selection(), (std::set<int>{2}));
    list.DeleteItem(-1);
    list.DeleteItem(99);
    EXPECT_EQ(list.RowCount(), 4);
}

TEST_F(ListModelTest, InsertItemRefusals) {
    ListModel list(0, false, events);
    LVITEM sub = TextItem(0, "x");
    sub.iSubItem = 1;
    EXPECT_EQ(list.InsertItem(nullptr), -1);
    EXPECT_EQ(list.InsertItem(&sub), -1);
    EXPECT_EQ(list.RowCount(), 0);
    ListModel owner(LVS_OWNERDATA, false, events);
    const LVITEM item = TextItem(0, "x");
    EXPECT_EQ(owner.InsertItem(&item), -1);
}

TEST_F(ListModelTest, SetAllRowsStateSingleAndMulti) {
    for (const int style : {LVS_SINGLESEL, 0}) {
        events.changed.clear();
        ListModel list(style, false, events);
        for (int i = 0; i < 3; ++i) {
            const LVITEM item = TextItem(i, "r");
            list.InsertItem(&item);
        }
        list.Select(1, false);
        EXPECT_TRUE(list.SetItemState(-1, 1, 1));
        if (style == LVS_SINGLESEL) {
            EXPECT_TRUE(events.changed.empty());
            EXPECT_EQ(list.Selection(), (std::set<int>{1}));
        } else {
            EXPECT_EQ(events.changed, (std::vector<std::pair<int, UINT>>{{0, 1u}, {2, 1u}}));
            EXPECT_EQ(list.SelectedCount(), 3);
        }
    }
}

TEST_F(ListModelTest, SetItemStateNotifiesOnlyChanges) {
    ListModel list(0, false, events);
    for (int i = 0; i < 2; ++i) {
        const LVITEM item = TextItem(i, "r");
        list.InsertItem(&item);
    }
    EXPECT_TRUE(list.SetItemState(1, 1, 1));
    EXPECT_TRUE(list.SetItemState(1, 1, 1));
    EXPECT_FALSE(list.SetItemState(5, 1, 1));
    EXPECT_EQ(events.changed, (std::vector<std::pair<int, UINT>>{{1, 1u}}));
    EXPECT_EQ(list.GetItemState(1, 3), 3u);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 1);
    EXPECT_EQ(list.GetNextItem(1, LVNI_SELECTED), -1);
    EXPECT_EQ(list.GetNextItem(0, LVNI_FOCUSED), 1);
    EXPECT_EQ(list.GetNextItem(-1, 3), -1);
    // A state image on a row.
    EXPECT_TRUE(list.SetItemState(0, 2 << 16, LVIS_STATEIMAGEMASK));
    EXPECT_EQ(list.GetItemState(0, LVIS_STATEIMAGEMASK), 2u << 16);
}

TEST_F(ListModelTest, OwnerDataAsksTheParent) {
    ListModel list(LVS_OWNERDATA, false, events);
    list.SetItemCount(10);
    EXPECT_EQ(list.RowCount(), 10);

    EXPECT_EQ(list.ValueOf(3, 1).text, "virtual");
    struct Case {
        int kind;
        UINT mask;
    };
    for (const Case c : {Case{-1, 1u}, Case{1, 9u}, Case{2, 3u}}) {
        list.SetImageList(reinterpret_cast<void*>(1), c.kind);
        events.dispRequests.clear();
        list.ValueOf(3, 1);
        ASSERT_EQ(events.dispRequests.size(), 1u);
        EXPECT_EQ(events.dispRequests[0].mask, c.mask);
        EXPECT_EQ(events.dispRequests[0].cchTextMax, 1023);
        EXPECT_EQ(events.dispRequests[0].iImage, -1);
        EXPECT_EQ(events.dispRequests[0].iSubItem, 1);
    }

    char buffer[4];
    LVITEM item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = 9;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    EXPECT_TRUE(list.GetItem(&item));
    EXPECT_STREQ(buffer, "vir");
    EXPECT_EQ(item.lParam, 1009);
    item.iItem = 10;
    EXPECT_FALSE(list.GetItem(&item));
    list.SetItemText(0, 0, "ignored");
    EXPECT_EQ(list.Row(0), nullptr);
}

int CompareData(LPARAM a, LPARAM b, LPARAM direction) {
    return static_cast<int>((a - b) * direction);
}

TEST_F(ListModelTest, StableSortReselectsRows) {
    ListModel list(0, false, events);
    const std::vector<std::pair<const char*, LPARAM>> rows = {
        {"c1", 3}, {"a", 1}, {"c2", 3}, {"b", 2}};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        LVITEM item = TextItem(static_cast<int>(i), rows[i].first);
        item.mask |= LVIF_PARAM;
        item.lParam = rows[i].second;
        list.InsertItem(&item);
    }
    list.ReplaceSelection({0, 1});
    list.SortItems(CompareData, 1);
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"a", "b", "c1", "c2"}));
    EXPECT_EQ(list.Selection(), (std::set<int>{0, 2}));

    ListModel box(0, true, events);
    box.OnMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("z"));
    box.SortItems(CompareData, 1); // list boxes keep their order
    EXPECT_EQ(box.RowCount(), 1);
}

TEST_F(ListModelTest, ColumnsWidthsAndOrder) {
    ListModel list(LVS_REPORT, false, events);
    for (const char* header : {"A", "B", "C"}) {
        LVCOLUMN column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 50;
        column.pszText = const_cast<char*>(header);
        list.InsertColumn(-1, column);
    }
    list.SetColumnWidth(1, 0);
    EXPECT_EQ(list.ColumnWidth(1), 0);
    list.SetColumnWidth(1, 70);
    EXPECT_EQ(list.ColumnWidth(1), 70);

    const int reorder[] = {2, 0, 1};
    EXPECT_TRUE(list.SetColumnOrder(3, reorder));
    int order[3];
    EXPECT_TRUE(list.GetColumnOrder(3, order));
    EXPECT_EQ(std::vector<int>(order, order + 3), std::vector<int>(reorder, reorder + 3));
    EXPECT_EQ(list.LogicalColumn(0), 1);
    EXPECT_FALSE(list.GetColumnOrder(2, order));
    // Positions nobody asks for are skipped, not filled with junk.
    const int partial[] = {0, 0, 7};
    EXPECT_TRUE(list.SetColumnOrder(3, partial));
    EXPECT_TRUE(list.GetColumnOrder(3, order));
    EXPECT_EQ(std::vector<int>(order, order + 3), (std::vector<int>{0, 1, 2}));

    LVCOLUMN read{};
    char header[8];
    read.mask = LVCF_TEXT | LVCF_WIDTH;
    read.pszText = header;
    read.cchTextMax = sizeof header;
    list.GetColumn(2, read);
    EXPECT_STREQ(header, "C");
    EXPECT_EQ(read.cx, 50);
}

TEST_F(ListModelTest, CellsFollowInsertedAndDeletedColumns) {
    ListModel list(LVS_REPORT, false, events);
    const LVCOLUMN column{};
    for (int i = 0; i < 3; ++i)
        list.InsertColumn(-1, column);
    const LVITEM item = TextItem(0, "a0");
    list.InsertItem(&item);
    list.SetItemText(0, 1, "a1");
    list.SetItemText(0, 2, "a2");

    EXPECT_TRUE(list.DeleteColumn(1));
    EXPECT_EQ(CellText(list, 0, 1), "a2");
    EXPECT_FALSE(list.DeleteColumn(2));

    list.InsertColumn(1, column);
    EXPECT_EQ(CellText(list, 0, 1), "");
    EXPECT_EQ(CellText(list, 0, 2), "a2");
    EXPECT_EQ(list.DisplayPosition(2), 2);
    EXPECT_EQ(list.DisplayPosition(1), 1);
}

} // namespace
