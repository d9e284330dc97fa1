#include "platform/ak/TableView.h"
#include "tests/platform/ak/ShownControl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using ak::Rect;

struct Rows : ak::TableDataSource {
    std::vector<std::string> names;
    int asked = 0;
    int NumberOfRows(ak::TableView&) override { return static_cast<int>(names.size()); }
    std::string TextAt(ak::TableView&, const std::string& column, int row) override {
        ++asked;
        return column + ":" + names.at(static_cast<size_t>(row));
    }
};

struct TableViewTest : ShownControl<ak::TableView> {
    void SetUp() override {
        ShownControl::SetUp();
        table = control.Get();
        table->AddColumn("name", "Name", 150);
        table->AddColumn("kind", "Kind", 100);
        source.names = {"Clean", "Drive", "Fuzz", "Octave"};
        table->SetDataSource(&source);
        Show();
    }
    ak::Point InWindow(ak::Point inTable) { return table->ConvertPointToView(inTable, nullptr); }
    void ClickRow(int row, unsigned modifiers = 0) {
        const Rect r = table->RectOfRow(row);
        const ak::Point p = InWindow({r.MinX() + 20, r.MinY() + r.size.height / 2});
        ak::test::Enter(*window, p);
        ak::test::Move(*window, p);
        ak::test::Click(*window, p, {1, modifiers});
        EXPECT_TRUE(ak::test::WaitUntilSettled(*window));
    }
    Rows source;
    ak::TableView* table = nullptr;
};

TEST_F(TableViewTest, RowsAndCellsComeFromTheDataSourceOnReload) {
    EXPECT_EQ(table->NumberOfRows(), 4);
    EXPECT_GT(source.asked, 0) << "drawing asks the source for cells";
    source.names = {"Clean"};
    table->ReloadData();
    EXPECT_EQ(table->NumberOfRows(), 1);
    source.names = {"A", "B", "C", "D", "E", "F"};
    table->ReloadData();
    EXPECT_EQ(table->NumberOfRows(), 6);
    table->SetDataSource(nullptr);
    EXPECT_EQ(table->NumberOfRows(), 0);
    EXPECT_EQ(fired, 0);
}

TEST_F(TableViewTest, ColumnsAddRemoveHideAndKeepTheirWidth) {
    EXPECT_EQ(table->NumberOfColumns(), 2);
    table->AddColumn("name", "Duplicate", 10);
    EXPECT_EQ(table->NumberOfColumns(), 2) << "identifiers are unique";
    EXPECT_EQ(table->ColumnIndex("kind"), 1);
    EXPECT_DOUBLE_EQ(table->ColumnWidth("name"), 150);
    table->SetColumnHidden("kind", true);
    table->RemoveColumn("name");
    EXPECT_EQ(table->ColumnIndex("kind"), 0);
    EXPECT_EQ(table->ColumnIndex("name"), -1);
    EXPECT_DOUBLE_EQ(table->ColumnWidth("name"), 0);
}

TEST_F(TableViewTest, ProgrammaticSelectionFiresNothingAndAClickFiresOnce) {
    table->SelectRow(2);
    table->SelectRow(99);
    table->SelectRow(-1);
    EXPECT_EQ(table->SelectedRow(), 2);
    source.names.push_back("Chorus");
    table->ReloadData();
    EXPECT_EQ(table->SelectedRow(), 2) << "a reload keeps the selection";
    table->DeselectAll();
    EXPECT_EQ(table->SelectedRow(), -1);
    EXPECT_EQ(fired, 0);

    ClickRow(1);
    EXPECT_EQ(table->SelectedRow(), 1);
    EXPECT_EQ(fired, 1);
}

// GTK's tree selects its first row when it takes the focus without a cursor;
// a focus must leave the selection as it is, in single and multiple mode.
TEST_F(TableViewTest, TakingTheFocusSelectsNothing) {
    for (const bool multiple : {false, true}) {
        table->SetAllowsMultipleSelection(multiple);
        table->BecomeFirstResponder();
        ASSERT_TRUE(ak::test::WaitUntilSettled(*window));
        EXPECT_TRUE(table->HasFocus());
        EXPECT_EQ(table->SelectedRow(), -1) << multiple;
        EXPECT_EQ(table->AllowsMultipleSelection(), multiple);
        EXPECT_EQ(fired, 0);
        const int row = multiple ? 3 : 2; // not a double click
        ClickRow(row);
        EXPECT_EQ(table->SelectedRows(), (std::vector<int>{row})) << multiple;
        EXPECT_EQ(fired, 1);
        fired = 0;
        table->DeselectAll();
        window->MakeFirstResponder(nullptr);
        ASSERT_TRUE(ak::test::WaitUntilSettled(*window));
    }
}

TEST_F(TableViewTest, MultipleSelectionExtendsWithControlClicks) {
    table->SetAllowsMultipleSelection(true);
    table->SelectRow(0);
    table->SelectRow(3, true);
    EXPECT_EQ(table->SelectedRows(), (std::vector<int>{0, 3}));
    table->SetAllowsMultipleSelection(false);
    EXPECT_EQ(table->SelectedRows().size(), 1u);
    table->SetAllowsMultipleSelection(true);
    ClickRow(1);
    ClickRow(2, ak::test::Mod::Ctrl);
    EXPECT_EQ(table->SelectedRows(), (std::vector<int>{1, 2}));
    EXPECT_GE(fired, 2);
}

TEST_F(TableViewTest, RowRectsAndHitTestsAgree) {
    const Rect first = table->RectOfRow(0);
    const Rect second = table->RectOfRow(1);
    EXPECT_GT(first.size.height, 0);
    EXPECT_GT(first.MinY(), 0) << "the header sits above the first row";
    EXPECT_DOUBLE_EQ(second.MinY(), first.MinY() + first.size.height);
    for (int row = 0; row < 4; ++row) {
        const Rect r = table->RectOfRow(row);
        EXPECT_EQ(table->RowAtPoint({r.MinX() + 5, r.MinY() + r.size.height / 2}), row);
    }
    EXPECT_EQ(table->RowAtPoint({5, 195}), -1) << "below the last row";
    EXPECT_EQ(table->RectOfRow(4), Rect{});
}

} // namespace

namespace {

TEST_F(TableViewTest, HeaderClicksAndDoubleClicksNameTheirColumnAndRow) {
    std::vector<std::string> headers;
    std::vector<int> opened;
    table->SetHeaderClick(
        [&](ak::TableView&, const std::string& column) { headers.push_back(column); });
    table->SetDoubleClick([&](ak::TableView&, int row) { opened.push_back(row); });
    table->SetSortIndicator("kind", true, false);
    table->SetGridLines(true, false);

    const Rect first = table->RectOfRow(0);
    const ak::Point kindHeader = InWindow({200, first.MinY() / 2});
    ak::test::Enter(*window, kindHeader);
    ak::test::Move(*window, kindHeader);
    ak::test::Click(*window, kindHeader);
    ASSERT_TRUE(ak::test::WaitUntilSettled(*window));
    EXPECT_EQ(headers, std::vector<std::string>{"kind"});

    // A double click: explicit times ask for one, and both clicks are queued
    // together, inside GTK's real-time double-click timer however loaded the
    // machine is.
    const Rect row = table->RectOfRow(2);
    const ak::Point p = InWindow({row.MinX() + 20, row.MinY() + row.size.height / 2});
    ak::test::Enter(*window, p);
    ak::test::Move(*window, p);
    ak::test::Click(*window, p, {1, 0, 300000});
    ak::test::Click(*window, p, {1, 0, 300150});
    ASSERT_TRUE(ak::test::WaitUntilSettled(*window));
    EXPECT_EQ(opened, std::vector<int>{2});
}

TEST_F(TableViewTest, MovedColumnsKeepTheirIdentifiers) {
    table->AddColumn("note", "Note", 40);
    table->MoveColumn(2, 0);
    EXPECT_EQ(table->ColumnIndex("note"), 0);
    EXPECT_EQ(table->ColumnIndex("name"), 1);
    table->MoveColumn(0, 5);
    EXPECT_EQ(table->ColumnIndex("note"), 0) << "out of range moves nothing";
    table->MoveColumn(0, 2);
    EXPECT_EQ(table->ColumnIndex("note"), 2);
    EXPECT_EQ(table->ColumnIndex("kind"), 1);
}

} // namespace

namespace {

TEST_F(TableViewTest, LogicalAndDisplayOrdersStayApart) {
    table->AddColumn("note", "Note", 40, 0);
    EXPECT_EQ(table->ColumnIdentifiers(), (std::vector<std::string>{"note", "name", "kind"}));
    EXPECT_EQ(table->DisplayOrder(), (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(table->SetDisplayOrder({2, 0, 1}));
    EXPECT_EQ(table->DisplayOrder(), (std::vector<int>{2, 0, 1}));
    EXPECT_EQ(table->ColumnIdentifiers(), (std::vector<std::string>{"note", "name", "kind"}));
    for (const std::vector<int>& bad : {std::vector<int>{0, 1}, {0, 0, 1}, {0, 1, 3}})
        EXPECT_FALSE(table->SetDisplayOrder(bad));
    EXPECT_EQ(table->DisplayOrder(), (std::vector<int>{2, 0, 1}));

    // Cells follow the display order: name, kind, note from the left.
    const Rect name = table->RectOfCell(0, "name");
    const Rect kind = table->RectOfCell(0, "kind");
    EXPECT_DOUBLE_EQ(kind.MinX(), name.MaxX());
    EXPECT_DOUBLE_EQ(name.size.width, 150);
    EXPECT_EQ(table->ColumnAtPoint({kind.MinX() + 3, kind.MinY() + 3}), "kind");
    EXPECT_EQ(table->ColumnAtPoint({name.MinX() + 3, table->HeaderHeight() / 2}), "name")
        << "the header belongs to its column too";
    EXPECT_EQ(table->RectOfCell(0, "absent"), Rect{});

    table->SetColumnTitle("kind", "Type\xFF");
    EXPECT_EQ(table->ColumnTitle("kind"), "Type\xEF\xBF\xBD");
    table->SetSortIndicator("kind", true, false);
    EXPECT_EQ(table->SortIndicatorOf("kind"), ak::SortIndicator::Descending);
    EXPECT_EQ(table->SortIndicatorOf("name"), ak::SortIndicator::None);
    table->SetColumnHidden("note", true);
    EXPECT_TRUE(table->IsColumnHidden("note"));
    table->SetColumnWidth("name", 90.6);
    EXPECT_DOUBLE_EQ(table->ColumnWidth("name"), 91);
}

TEST_F(TableViewTest, HeaderHeightAndTheVisibleRows) {
    const double header = table->HeaderHeight();
    EXPECT_GT(header, 0);
    EXPECT_DOUBLE_EQ(table->RectOfRow(0).MinY(), header);
    EXPECT_DOUBLE_EQ(table->VisibleRect().MinY(), 0);
    table->SetHeaderVisible(false);
    ASSERT_TRUE(ak::test::WaitUntilSettled(*window));
    EXPECT_DOUBLE_EQ(table->HeaderHeight(), 0);
    EXPECT_DOUBLE_EQ(table->RectOfRow(0).MinY(), 0);

    source.names.assign(40, "Preset");
    table->ReloadData();
    ASSERT_TRUE(ak::test::WaitUntilSettled(*window));
    // At once, as callers asking for the top row next expect.
    table->ScrollRowToVisible(39);
    const Rect last = table->RectOfRow(39);
    EXPECT_DOUBLE_EQ(last.MaxY(), 200);
    const Rect visible = table->VisibleRect();
    EXPECT_DOUBLE_EQ(visible.MaxY(), 40 * last.size.height);
    EXPECT_EQ(table->RowAtPoint({5, 2}), int(visible.MinY() / last.size.height));
    table->ScrollRowToVisible(0);
    EXPECT_DOUBLE_EQ(table->VisibleRect().MinY(), 0);
    table->SetColumnWidth("kind", 400);
    ASSERT_TRUE(ak::test::WaitUntilSettled(*window));
    table->ScrollColumnToVisible("kind");
    EXPECT_DOUBLE_EQ(table->VisibleRect().MinX(), 150) << "the wide column's left edge first";
    table->ScrollColumnToVisible("name");
    EXPECT_DOUBLE_EQ(table->VisibleRect().MinX(), 0);
    ASSERT_TRUE(ak::test::WaitUntilSettled(*window));
    EXPECT_DOUBLE_EQ(table->VisibleRect().MinY(), 0);
}

TEST_F(TableViewTest, TheCurrentRowIsTheOneSelectedLast) {
    table->SetAllowsMultipleSelection(true);
    EXPECT_EQ(table->CurrentRow(), -1);
    table->SelectRow(1);
    table->SelectRow(3, true);
    EXPECT_EQ(table->CurrentRow(), 3);
    table->DeselectRow(3);
    EXPECT_EQ(table->CurrentRow(), 1) << "the current row left the selection";
    table->SelectRows({0, 2});
    EXPECT_EQ(table->SelectedRows(), (std::vector<int>{0, 2}));
    EXPECT_TRUE(table->IsRowSelected(2));
    EXPECT_EQ(table->CurrentRow(), 2);
    ClickRow(1);
    EXPECT_EQ(table->CurrentRow(), 1);
    EXPECT_EQ(table->SelectedRows(), std::vector<int>{1});
    table->SelectRows({0, 1, 2});

    // Batches nest, and a stray end does nothing.
    table->BeginUpdates();
    table->BeginUpdates();
    source.names.pop_back();
    table->ReloadData();
    table->EndUpdates();
    table->EndUpdates();
    table->EndUpdates();
    EXPECT_EQ(table->NumberOfRows(), 3);
    EXPECT_EQ(table->SelectedRows(), (std::vector<int>{0, 1, 2}));
}

// A table that leaves the selection to the release, as a list whose drags
// must not move the selection does.
struct DeferringTable : ak::TableView {
    using TableView::TableView;
    bool MouseDownOnRows(const ak::RowMouse& mouse) override {
        press = mouse;
        log.push_back("down " + std::to_string(mouse.button) + " " + std::to_string(mouse.row) +
                      " " + mouse.column);
        return true;
    }
    void MouseDraggedOnRows(const ak::RowMouse&) override { ++drags; }
    bool MouseUpOnRows(const ak::RowMouse& mouse) override {
        log.push_back("up " + std::to_string(mouse.row));
        if (drags < 4)
            PerformDefaultClick(press);
        return true;
    }
    void RightMouseUpOnRows(const ak::RowMouse& mouse) override {
        log.push_back("right " + std::to_string(mouse.row));
    }
    ak::RowMouse press;
    std::vector<std::string> log;
    int drags = 0;
};

struct DeferredClickTest : ShownControl<DeferringTable> {
    void SetUp() override {
        ShownControl::SetUp();
        control->AddColumn("name", "Name", 150);
        control->AddColumn("kind", "Kind", 100);
        control->SetAllowsMultipleSelection(true);
        source.names = {"Clean", "Drive", "Fuzz", "Octave"};
        control->SetDataSource(&source);
        Show();
    }
    ak::Point RowPoint(int row, double x = 20) {
        const Rect r = control->RectOfRow(row);
        return control->ConvertPointToView({r.MinX() + x, r.MinY() + r.size.height / 2}, nullptr);
    }
    Rows source;
};

TEST_F(DeferredClickTest, TheSelectionChangesAtTheReleaseAndDragsLeaveItAlone) {
    const ak::Point p = RowPoint(1);
    ak::test::Enter(*window, p);
    ak::test::Move(*window, p);
    ak::test::Press(*window, p);
    ASSERT_TRUE(ak::test::WaitUntilSettled(*window));
    EXPECT_EQ(control->SelectedRows(), std::vector<int>{});
    EXPECT_EQ(fired, 0);
    ak::test::Release(*window, p);
    ASSERT_TRUE(ak::test::WaitUntilSettled(*window));
    EXPECT_EQ(control->SelectedRows(), std::vector<int>{1});
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(control->log, (std::vector<std::string>{"down 0 1 name", "up 1"}));
    EXPECT_TRUE(control->HasFocus());

    // A press that drags: the hooks hear every move, nothing is selected.
    const ak::Point start = RowPoint(3, 200);
    ak::test::Press(*window, start);
    for (int i = 1; i <= 5; ++i)
        ak::test::Move(*window, {start.x, start.y - 6 * i}, 1);
    ak::test::Release(*window, {start.x, start.y - 30});
    ASSERT_TRUE(ak::test::WaitUntilSettled(*window));
    EXPECT_EQ(control->drags, 5);
    EXPECT_EQ(control->log.at(2), "down 0 3 kind");
    EXPECT_EQ(control->SelectedRows(), std::vector<int>{1});
    EXPECT_EQ(fired, 1);

    ak::test::Click(*window, RowPoint(2), {3});
    ASSERT_TRUE(ak::test::WaitUntilSettled(*window));
    EXPECT_EQ(control->log.at(control->log.size() - 2), "down 1 2 name");
    EXPECT_EQ(control->log.back(), "right 2");
    EXPECT_EQ(control->SelectedRows(), std::vector<int>{1}) << "the right button selects nothing";
    EXPECT_EQ(fired, 1);
}

} // namespace
