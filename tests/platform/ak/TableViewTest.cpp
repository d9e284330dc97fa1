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
        ak::test::Pump(60);
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
    ak::test::Pump(60);
    EXPECT_EQ(headers, std::vector<std::string>{"kind"});

    ClickRow(2);
    ClickRow(2);
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
