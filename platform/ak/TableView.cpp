#include "platform/ak/TableView.h"

#include "platform/ak/TreeParts.h"

#include <gtk/gtk.h>

#include <algorithm>

namespace ak {

namespace {} // namespace

TableView::TableView(Rect frame) : Control(frame, MakeTreeScroller()) {
    m_store = gtk_list_store_new(1, G_TYPE_INT);
    m_tree = gtk_tree_view_new_with_model(GTK_TREE_MODEL(m_store));
    g_object_unref(m_store); // the tree view holds it
    gtk_container_add(GTK_CONTAINER(Widget()), GTK_WIDGET(m_tree));
    gtk_widget_show(GTK_WIDGET(m_tree));
    Connect(gtk_tree_view_get_selection(GTK_TREE_VIEW(m_tree)), "changed",
            reinterpret_cast<Callback>(&TableView::OnSelectionChanged));
    Connect(m_tree, "row-activated", reinterpret_cast<Callback>(&TableView::OnRowActivated));
}

void TableView::OnSelectionChanged(void*, TableView* self) {
    self->FireAction();
}

void TableView::OnHeaderClicked(void* column, TableView* self) {
    Ref<Control> hold(self);
    for (const Column& c : self->m_columns)
        if (c.column == column && self->m_headerClick) {
            const HeaderClick callback = self->m_headerClick;
            callback(*self, c.identifier);
            return;
        }
}

void TableView::OnRowActivated(void*, void* path, void*, TableView* self) {
    Ref<Control> hold(self);
    if (self->m_doubleClick) {
        const DoubleClick callback = self->m_doubleClick;
        callback(*self, gtk_tree_path_get_indices(static_cast<GtkTreePath*>(path))[0]);
    }
}

void TableView::SetDataSource(TableDataSource* source) {
    m_source = source;
    ReloadData();
}

void TableView::ReloadData() {
    Silence silence(*this);
    const std::vector<int> kept = SelectedRows();
    const int rows = m_source ? std::max(0, m_source->NumberOfRows(*this)) : 0;
    GtkListStore* store = GTK_LIST_STORE(m_store);
    GtkTreeIter iter;
    for (; m_rows > rows; --m_rows) {
        gtk_tree_model_iter_nth_child(GTK_TREE_MODEL(store), &iter, nullptr, m_rows - 1);
        gtk_list_store_remove(store, &iter);
    }
    for (; m_rows < rows; ++m_rows)
        gtk_list_store_insert_with_values(store, &iter, m_rows, 0, m_rows, -1);
    // Rows that stay are redrawn with the source's new answers.
    gtk_widget_queue_draw(GTK_WIDGET(m_tree));
    for (int row : kept)
        if (row < m_rows)
            SelectRow(row, true);
}

void TableView::AddColumn(const std::string& identifier, const std::string& title, double width) {
    if (ColumnNamed(identifier))
        return;
    m_columns.push_back(
        {identifier,
         AppendTextColumn(m_tree, title, width, [this, identifier](void* model, void* iter) {
             int row = 0;
             gtk_tree_model_get(GTK_TREE_MODEL(model), static_cast<GtkTreeIter*>(iter), 0, &row,
                                -1);
             return m_source ? m_source->TextAt(*this, identifier, row) : std::string();
         })});
    GtkTreeViewColumn* column = GTK_TREE_VIEW_COLUMN(m_columns.back().column);
    gtk_tree_view_column_set_clickable(column, TRUE);
    Connect(column, "clicked", reinterpret_cast<Callback>(&TableView::OnHeaderClicked));
}

void TableView::MoveColumn(int from, int to) {
    const int count = NumberOfColumns();
    if (from < 0 || from >= count || to < 0 || to >= count || from == to)
        return;
    Column moved = m_columns[static_cast<size_t>(from)];
    m_columns.erase(m_columns.begin() + from);
    m_columns.insert(m_columns.begin() + to, moved);
    GtkTreeViewColumn* before =
        to == 0 ? nullptr : GTK_TREE_VIEW_COLUMN(m_columns[static_cast<size_t>(to - 1)].column);
    gtk_tree_view_move_column_after(GTK_TREE_VIEW(m_tree), GTK_TREE_VIEW_COLUMN(moved.column),
                                    before);
}

void TableView::SetSortIndicator(const std::string& identifier, bool sorted, bool ascending) {
    if (void* column = ColumnNamed(identifier)) {
        gtk_tree_view_column_set_sort_indicator(GTK_TREE_VIEW_COLUMN(column), sorted);
        gtk_tree_view_column_set_sort_order(GTK_TREE_VIEW_COLUMN(column),
                                            ascending ? GTK_SORT_ASCENDING : GTK_SORT_DESCENDING);
    }
}

void TableView::SetGridLines(bool horizontal, bool vertical) {
    const GtkTreeViewGridLines lines = horizontal && vertical ? GTK_TREE_VIEW_GRID_LINES_BOTH
                                       : horizontal           ? GTK_TREE_VIEW_GRID_LINES_HORIZONTAL
                                       : vertical             ? GTK_TREE_VIEW_GRID_LINES_VERTICAL
                                                              : GTK_TREE_VIEW_GRID_LINES_NONE;
    gtk_tree_view_set_grid_lines(GTK_TREE_VIEW(m_tree), lines);
}

void TableView::RemoveColumn(const std::string& identifier) {
    auto it = std::find_if(m_columns.begin(), m_columns.end(),
                           [&](const Column& c) { return c.identifier == identifier; });
    if (it == m_columns.end())
        return;
    gtk_tree_view_remove_column(GTK_TREE_VIEW(m_tree), GTK_TREE_VIEW_COLUMN(it->column));
    m_columns.erase(it);
}

int TableView::ColumnIndex(const std::string& identifier) const {
    for (size_t i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].identifier == identifier)
            return static_cast<int>(i);
    return -1;
}

void* TableView::ColumnNamed(const std::string& identifier) const {
    const int index = ColumnIndex(identifier);
    return index < 0 ? nullptr : m_columns[static_cast<size_t>(index)].column;
}

double TableView::ColumnWidth(const std::string& identifier) const {
    void* column = ColumnNamed(identifier);
    return column ? gtk_tree_view_column_get_fixed_width(GTK_TREE_VIEW_COLUMN(column)) : 0;
}

void TableView::SetColumnHidden(const std::string& identifier, bool hidden) {
    if (void* column = ColumnNamed(identifier))
        gtk_tree_view_column_set_visible(GTK_TREE_VIEW_COLUMN(column), !hidden);
}

void TableView::SetHeaderVisible(bool visible) {
    gtk_tree_view_set_headers_visible(GTK_TREE_VIEW(m_tree), visible);
}

void TableView::SetAllowsMultipleSelection(bool allows) {
    Silence silence(*this);
    gtk_tree_selection_set_mode(gtk_tree_view_get_selection(GTK_TREE_VIEW(m_tree)),
                                allows ? GTK_SELECTION_MULTIPLE : GTK_SELECTION_SINGLE);
}

void TableView::SelectRow(int row, bool extend) {
    if (row < 0 || row >= m_rows)
        return;
    Silence silence(*this);
    GtkTreeSelection* selection = gtk_tree_view_get_selection(GTK_TREE_VIEW(m_tree));
    if (!extend)
        gtk_tree_selection_unselect_all(selection);
    GtkTreePath* path = gtk_tree_path_new_from_indices(row, -1);
    gtk_tree_selection_select_path(selection, path);
    gtk_tree_path_free(path);
}

void TableView::DeselectAll() {
    Silence silence(*this);
    gtk_tree_selection_unselect_all(gtk_tree_view_get_selection(GTK_TREE_VIEW(m_tree)));
}

std::vector<int> TableView::SelectedRows() const {
    std::vector<int> rows;
    GList* paths = gtk_tree_selection_get_selected_rows(
        gtk_tree_view_get_selection(GTK_TREE_VIEW(m_tree)), nullptr);
    for (GList* p = paths; p; p = p->next)
        rows.push_back(gtk_tree_path_get_indices(static_cast<GtkTreePath*>(p->data))[0]);
    g_list_free_full(paths, reinterpret_cast<GDestroyNotify>(gtk_tree_path_free));
    std::sort(rows.begin(), rows.end());
    return rows;
}

int TableView::SelectedRow() const {
    const std::vector<int> rows = SelectedRows();
    return rows.empty() ? -1 : rows.front();
}

Rect TableView::RectOfRow(int row) const {
    if (row < 0 || row >= m_rows)
        return {};
    GtkTreeView* tree = GTK_TREE_VIEW(m_tree);
    GtkTreePath* path = gtk_tree_path_new_from_indices(row, -1);
    GdkRectangle area;
    gtk_tree_view_get_background_area(tree, path, nullptr, &area);
    gtk_tree_path_free(path);
    int x = 0;
    int y = 0;
    gtk_tree_view_convert_bin_window_to_widget_coords(tree, area.x, area.y, &x, &y);
    int outX = 0;
    int outY = 0;
    gtk_widget_translate_coordinates(GTK_WIDGET(tree), Widget(), x, y, &outX, &outY);
    return {{static_cast<double>(outX), static_cast<double>(outY)},
            {static_cast<double>(gtk_widget_get_allocated_width(GTK_WIDGET(tree))),
             static_cast<double>(area.height)}};
}

int TableView::RowAtPoint(Point point) const {
    GtkTreeView* tree = GTK_TREE_VIEW(m_tree);
    int x = 0;
    int y = 0;
    if (!gtk_widget_translate_coordinates(Widget(), GTK_WIDGET(tree), static_cast<int>(point.x),
                                          static_cast<int>(point.y), &x, &y))
        return -1;
    int binX = 0;
    int binY = 0;
    gtk_tree_view_convert_widget_to_bin_window_coords(tree, x, y, &binX, &binY);
    GtkTreePath* path = nullptr;
    if (binY < 0 ||
        !gtk_tree_view_get_path_at_pos(tree, binX, binY, &path, nullptr, nullptr, nullptr))
        return -1;
    const int row = gtk_tree_path_get_indices(path)[0];
    gtk_tree_path_free(path);
    return row;
}

void TableView::ScrollRowToVisible(int row) {
    if (row < 0 || row >= m_rows)
        return;
    GtkTreePath* path = gtk_tree_path_new_from_indices(row, -1);
    gtk_tree_view_scroll_to_cell(GTK_TREE_VIEW(m_tree), path, nullptr, FALSE, 0, 0);
    gtk_tree_path_free(path);
}

} // namespace ak
