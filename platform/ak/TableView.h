#pragma once

#include "platform/ak/RowsView.h"

#include <functional>
#include <optional>
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
    // Asked of status cells only.
    virtual Ref<Image> ImageAt(TableView&, const std::string& /*column*/, int /*row*/) {
        return {};
    }
    virtual std::optional<Color> TextColorAt(TableView&, const std::string& /*column*/,
                                             int /*row*/) {
        return std::nullopt;
    }
    // Owner-draw cells: frame in cr's coordinates.
    virtual void DrawCell(TableView&, const std::string& /*column*/, int /*row*/, cairo_t*,
                          Rect /*frame*/, bool /*selected*/) {}
};

// A list of rows in columns. The action fires when the user changes the
// selection.
class TableView : public RowsView {
public:
    explicit TableView(Rect frame);

    // Not owned; it must outlive the table or be replaced first.
    void SetDataSource(TableDataSource* source);
    // Asks the source for the row count again; the selection stays, less
    // the rows past the end.
    void ReloadData();
    int NumberOfRows() const override { return m_rows; }

    // The user's clicks on a column's header and double-clicks on a row.
    using HeaderClick = std::function<void(TableView&, const std::string& column)>;
    using DoubleClick = std::function<void(TableView&, int row)>;
    void SetHeaderClick(HeaderClick callback) { m_headerClick = std::move(callback); }
    void SetDoubleClick(DoubleClick callback) { m_doubleClick = std::move(callback); }

    // Selection; rows out of range are ignored.
    void SetAllowsMultipleSelection(bool allows);
    bool AllowsMultipleSelection() const;
    // Selecting a row makes it the current row.
    void SelectRow(int row, bool extend = false);
    void DeselectRow(int row);
    // Exactly these rows; the current row stays where it was.
    void SelectRows(const std::vector<int>& rows);
    void DeselectAll();
    std::vector<int> SelectedRows() const;
    bool IsRowSelected(int row) const;
    // The first selected row, -1 when none.
    int SelectedRow() const;
    // The row selected last, by a call or the user, while it stays selected;
    // else the last selected row; -1 when none is.
    int CurrentRow() const;

protected:
    void ColumnHeaderClicked(const std::string& column) override;
    CellContent ContentOf(const std::string& column, void* model, void* iter) override;
    void DrawCell(const std::string& column, void* model, void* iter, cairo_t* cr, Rect frame,
                  bool selected) override;
    void* PathOfRow(int row) const override;
    int RowOfPath(void* path) const override;

private:
    static void OnSelectionChanged(void* selection, TableView* self);
    static void OnRowActivated(void* tree, void* path, void* column, TableView* self);
    HeaderClick m_headerClick;
    DoubleClick m_doubleClick;
    TableDataSource* m_source = nullptr;
    int m_rows = 0;
};

} // namespace ak
