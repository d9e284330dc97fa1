#pragma once

#include "platform/ak/Color.h"
#include "platform/ak/Control.h"
#include "platform/ak/Event.h"
#include "platform/ak/Image.h"
#include "platform/ak/TextAlignment.h"

#include <cairo.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ak {

// What one cell shows, asked for each time it is drawn.
struct CellContent {
    std::string text;
    Ref<Image> image;               // status cells only
    std::optional<Color> textColor; // none: the table's own colours
};

// Text cells show text; status cells an image in a square of the row's
// height before the text (the text indented whenever there is an image, or
// always when asked, so texts line up); owner-draw cells are drawn by the
// caller.
enum class CellKind { Text, Status, OwnerDraw };

enum class SortIndicator { None, Ascending, Descending };

// A mouse event over the rows, with what lies under it.
struct RowMouse {
    Event event;
    int button = 0; // the physical button: 0 left, 1 right, 2 middle
    Point location; // in the view's coordinates
    int row = -1;
    std::string column; // empty: none
};

// Rows in columns over GTK's tree view in its own scroller: the machinery
// that the table and outline views share. Columns have a logical order (the
// order of adding) and a display order (the header's, which the user may
// change); they are named by identifier.
class RowsView : public Control {
public:
    ~RowsView() override;

    // Fixed width, resizable; at: logical and display position (-1: the end).
    void AddColumn(const std::string& identifier, const std::string& title, double width,
                   int at = -1);
    void RemoveColumn(const std::string& identifier);
    int NumberOfColumns() const;
    std::vector<std::string> ColumnIdentifiers() const;
    // The column's display position, -1 when there is none.
    int ColumnIndex(const std::string& identifier) const;
    // Moves the column at display position from to position to.
    void MoveColumn(int from, int to);
    // Entry i: the display position of logical column i.
    std::vector<int> DisplayOrder() const;
    // False (and nothing changed) unless positions is a permutation of all columns.
    bool SetDisplayOrder(const std::vector<int>& positions);
    void SetAllowsColumnReordering(bool allows);

    double ColumnWidth(const std::string& identifier) const;
    void SetColumnWidth(const std::string& identifier, double width);
    void SetColumnHidden(const std::string& identifier, bool hidden);
    bool IsColumnHidden(const std::string& identifier) const;
    void SetColumnTitle(const std::string& identifier, const std::string& title);
    std::string ColumnTitle(const std::string& identifier) const;
    // Of the header and the cells alike.
    void SetColumnAlignment(const std::string& identifier, TextAlignment alignment);
    TextAlignment ColumnAlignment(const std::string& identifier) const;
    void SetColumnCell(const std::string& identifier, CellKind kind, bool alwaysIndent = false);
    CellKind ColumnCell(const std::string& identifier) const;
    // The header's triangle: ascending, descending or none (sorted false).
    void SetSortIndicator(const std::string& identifier, bool sorted, bool ascending = true);
    SortIndicator SortIndicatorOf(const std::string& identifier) const;
    void SetHeaderVisible(bool visible);
    void SetGridLines(bool horizontal, bool vertical);

    // Selection colours, as many as given of: the selected rows' fill while
    // the view has the focus, their text then, the fill without the focus,
    // the text then. A missing entry leaves the desktop's colour.
    void SetSelectionColors(std::vector<Color> colors);
    // Unselected rows' text (none: the desktop's); a cell's own colour wins.
    void SetTextColor(std::optional<Color> color);
    void SetBackgroundColor(std::optional<Color> color);
    void SetGridColor(std::optional<Color> color);

    // Changes between these calls are drawn together at the end; they nest.
    void BeginUpdates();
    void EndUpdates();

    // Geometry in this view's coordinates. The header's height, 0 without one.
    double HeaderHeight() const;
    // The part of the rows in sight, in the rows' own coordinates (the first
    // row's top at y 0).
    Rect VisibleRect() const;
    // Empty for a row or column that is not there.
    Rect RectOfRow(int row) const;
    Rect RectOfCell(int row, const std::string& column) const;
    // -1 where no row is.
    int RowAtPoint(Point point) const;
    // Under the point, header or rows; empty where no column is.
    std::string ColumnAtPoint(Point point) const;
    void ScrollRowToVisible(int row);
    void ScrollColumnToVisible(const std::string& column);

    virtual int NumberOfRows() const = 0;
    // The focus goes to the rows, not their scroller.
    bool BecomeFirstResponder() override;
    bool HasFocus() const;

protected:
    // model: a GtkTreeModel, adopted.
    RowsView(Rect frame, void* model);

    // The mouse over the rows. A press (of any button: see the event)
    // answering true skips the default handling (selection, expansion) then; PerformDefaultClick
    // runs it later, at the release for instance. A release answering true is not passed on.
    virtual bool MouseDownOnRows(const RowMouse&) { return false; }
    virtual void MouseDraggedOnRows(const RowMouse&) {}
    virtual bool MouseUpOnRows(const RowMouse&) { return false; }
    virtual void RightMouseUpOnRows(const RowMouse&) {}
    // Selects as a click with the press's modifiers would; the action fires
    // once when that changed the selection.
    void PerformDefaultClick(const RowMouse& press);

    virtual void ColumnHeaderClicked(const std::string&) {}
    // What a cell of the model's row (GtkTreeModel*, GtkTreeIter*) shows.
    virtual CellContent ContentOf(const std::string& column, void* model, void* iter) = 0;
    virtual void DrawCell(const std::string&, void* /*model*/, void* /*iter*/, cairo_t*, Rect,
                          bool /*selected*/) {}
    // A new GtkTreePath of a visible row (null when none) and back.
    virtual void* PathOfRow(int row) const = 0;
    virtual int RowOfPath(void* path) const = 0;

    // Moves GTK's cursor (the current row) to a GtkTreePath, keeping the selection.
    void MoveCursor(void* path);
    // The cursor's row, -1 when none.
    int CursorRow() const;
    void* Tree() const { return m_tree; }
    void* Model() const { return m_model; }
    Point PointInTree(Point inView) const;

private:
    struct Column;
    struct Look;
    friend struct RowsViewSignals;
    const Column* Find(const std::string& identifier) const;
    void* ColumnNamed(const std::string& identifier) const;
    void ApplyLook();
    RowMouse MouseAt(const void* gdkEvent) const;
    Rect TreeRectToView(int x, int y, int width, int height) const;

    void* m_tree;
    void* m_model;
    std::vector<Column> m_columns; // logical order
    std::unique_ptr<Look> m_look;
    int m_updateDepth = 0;
    void* m_frozen = nullptr; // the GdkWindow held still during updates
    bool m_pressOnRows = false;
    int m_focusMode = -1; // the selection mode held back while the tree takes the focus
};

} // namespace ak
