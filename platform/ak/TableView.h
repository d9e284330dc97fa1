#pragma once

#include "platform/ak/Control.h"

#include <functional>
#include <string>
#include <vector>

namespace ak {

class TableView;

// Answers a table's rows and cells when GTK draws them; the table keeps no
// copy, so a reload is all a change of the data needs.
class TableDataSource {
public:
    virtual ~TableDataSource() = default;
    virtual int NumberOfRows(TableView& table) = 0;
    virtual std::string TextAt(TableView& table, const std::string& column, int row) = 0;
};

// A list of rows in columns (GTK's tree view inside its own scroller). The
// action fires when the user changes the selection.
class TableView : public Control {
public:
    explicit TableView(Rect frame);

    // Not owned; it must outlive the table or be replaced first.
    void SetDataSource(TableDataSource* source);
    void ReloadData();
    int NumberOfRows() const { return m_rows; }

    // Columns by identifier, in display order.
    void AddColumn(const std::string& identifier, const std::string& title, double width);
    void RemoveColumn(const std::string& identifier);
    int NumberOfColumns() const { return static_cast<int>(m_columns.size()); }
    int ColumnIndex(const std::string& identifier) const;
    double ColumnWidth(const std::string& identifier) const;
    void SetColumnHidden(const std::string& identifier, bool hidden);
    void SetHeaderVisible(bool visible);
    // Moves the column at display index from to index to.
    void MoveColumn(int from, int to);
    // The header's triangle: ascending, descending or none (sorted false).
    void SetSortIndicator(const std::string& identifier, bool sorted, bool ascending = true);
    void SetGridLines(bool horizontal, bool vertical);

    // The user's clicks on a column's header and double-clicks on a row.
    using HeaderClick = std::function<void(TableView&, const std::string& column)>;
    using DoubleClick = std::function<void(TableView&, int row)>;
    void SetHeaderClick(HeaderClick callback) { m_headerClick = std::move(callback); }
    void SetDoubleClick(DoubleClick callback) { m_doubleClick = std::move(callback); }

    // Selection; rows out of range are ignored.
    void SetAllowsMultipleSelection(bool allows);
    void SelectRow(int row, bool extend = false);
    void DeselectAll();
    std::vector<int> SelectedRows() const;
    // The first selected row, -1 when none.
    int SelectedRow() const;

    // Geometry in this view's coordinates.
    Rect RectOfRow(int row) const;
    // -1 where no row is.
    int RowAtPoint(Point point) const;
    void ScrollRowToVisible(int row);

private:
    static void OnSelectionChanged(void* selection, TableView* self);
    static void OnHeaderClicked(void* column, TableView* self);
    static void OnRowActivated(void* tree, void* path, void* column, TableView* self);
    HeaderClick m_headerClick;
    DoubleClick m_doubleClick;
    void* ColumnNamed(const std::string& identifier) const;
    TableDataSource* m_source = nullptr;
    void* m_tree;
    void* m_store;
    int m_rows = 0;
    struct Column {
        std::string identifier;
        void* column;
    };
    std::vector<Column> m_columns;
};

} // namespace ak
