#include "platform/ak/TableView.h"

#include <gtk/gtk.h>

#include <algorithm>

namespace ak {

namespace {

int RowOf(void* model, void* iter) {
    int row = 0;
    gtk_tree_model_get(GTK_TREE_MODEL(model), static_cast<GtkTreeIter*>(iter), 0, &row, -1);
    return row;
}

GtkTreeSelection* SelectionOf(void* tree) {
    return gtk_tree_view_get_selection(GTK_TREE_VIEW(tree));
}

} // namespace

TableView::TableView(Rect frame) : RowsView(frame, gtk_list_store_new(1, G_TYPE_INT)) {
    Connect(SelectionOf(Tree()), "changed",
            reinterpret_cast<Callback>(&TableView::OnSelectionChanged));
    Connect(Tree(), "row-activated", reinterpret_cast<Callback>(&TableView::OnRowActivated));
}

void TableView::OnSelectionChanged(void*, TableView* self) {
    self->FireAction();
}

void TableView::ColumnHeaderClicked(const std::string& column) {
    if (m_headerClick) {
        const HeaderClick callback = m_headerClick;
        callback(*this, column);
    }
}

void TableView::OnRowActivated(void*, void* path, void*, TableView* self) {
    Ref<Control> hold(self);
    if (self->m_doubleClick) {
        const DoubleClick callback = self->m_doubleClick;
        callback(*self, gtk_tree_path_get_indices(static_cast<GtkTreePath*>(path))[0]);
    }
}

CellContent TableView::ContentOf(const std::string& column, void* model, void* iter) {
    if (!m_source)
        return {};
    const int row = RowOf(model, iter);
    CellContent content{
        m_source->TextAt(*this, column, row), {}, m_source->TextColorAt(*this, column, row)};
    if (ColumnCell(column) == CellKind::Status)
        content.image = m_source->ImageAt(*this, column, row);
    return content;
}

void TableView::DrawCell(const std::string& column, void* model, void* iter, cairo_t* cr,
                         Rect frame, bool selected) {
    if (m_source)
        m_source->DrawCell(*this, column, RowOf(model, iter), cr, frame, selected);
}

void* TableView::PathOfRow(int row) const {
    return row >= 0 && row < m_rows ? gtk_tree_path_new_from_indices(row, -1) : nullptr;
}

int TableView::RowOfPath(void* path) const {
    return gtk_tree_path_get_indices(static_cast<GtkTreePath*>(path))[0];
}

void TableView::SetDataSource(TableDataSource* source) {
    m_source = source;
    ReloadData();
}

void TableView::ReloadData() {
    Silence silence(*this);
    const std::vector<int> kept = SelectedRows();
    const int rows = m_source ? std::max(0, m_source->NumberOfRows(*this)) : 0;
    GtkListStore* store = GTK_LIST_STORE(Model());
    GtkTreeIter iter;
    for (; m_rows > rows; --m_rows) {
        gtk_tree_model_iter_nth_child(GTK_TREE_MODEL(store), &iter, nullptr, m_rows - 1);
        gtk_list_store_remove(store, &iter);
    }
    for (; m_rows < rows; ++m_rows)
        gtk_list_store_insert_with_values(store, &iter, m_rows, 0, m_rows, -1);
    // Rows that stay are redrawn with the source's new answers.
    gtk_widget_queue_draw(GTK_WIDGET(Tree()));
    std::vector<int> still;
    std::copy_if(kept.begin(), kept.end(), std::back_inserter(still),
                 [&](int row) { return row < m_rows; });
    SelectRows(still);
}

void TableView::SetAllowsMultipleSelection(bool allows) {
    Silence silence(*this);
    gtk_tree_selection_set_mode(SelectionOf(Tree()),
                                allows ? GTK_SELECTION_MULTIPLE : GTK_SELECTION_SINGLE);
}

bool TableView::AllowsMultipleSelection() const {
    return gtk_tree_selection_get_mode(SelectionOf(Tree())) == GTK_SELECTION_MULTIPLE;
}

void TableView::SelectRow(int row, bool extend) {
    GtkTreePath* path = static_cast<GtkTreePath*>(PathOfRow(row));
    if (!path)
        return;
    Silence silence(*this);
    GtkTreeSelection* selection = SelectionOf(Tree());
    if (!extend)
        gtk_tree_selection_unselect_all(selection);
    gtk_tree_selection_select_path(selection, path);
    MoveCursor(path);
    gtk_tree_path_free(path);
}

void TableView::DeselectRow(int row) {
    if (GtkTreePath* path = static_cast<GtkTreePath*>(PathOfRow(row))) {
        Silence silence(*this);
        gtk_tree_selection_unselect_path(SelectionOf(Tree()), path);
        gtk_tree_path_free(path);
    }
}

void TableView::SelectRows(const std::vector<int>& rows) {
    Silence silence(*this);
    GtkTreeSelection* selection = SelectionOf(Tree());
    gtk_tree_selection_unselect_all(selection);
    for (int row : rows)
        if (GtkTreePath* path = static_cast<GtkTreePath*>(PathOfRow(row))) {
            gtk_tree_selection_select_path(selection, path);
            gtk_tree_path_free(path);
        }
}

void TableView::DeselectAll() {
    Silence silence(*this);
    gtk_tree_selection_unselect_all(SelectionOf(Tree()));
}

std::vector<int> TableView::SelectedRows() const {
    std::vector<int> rows;
    GList* paths = gtk_tree_selection_get_selected_rows(SelectionOf(Tree()), nullptr);
    for (GList* p = paths; p; p = p->next)
        rows.push_back(RowOfPath(p->data));
    g_list_free_full(paths, reinterpret_cast<GDestroyNotify>(gtk_tree_path_free));
    std::sort(rows.begin(), rows.end());
    return rows;
}

bool TableView::IsRowSelected(int row) const {
    GtkTreePath* path = static_cast<GtkTreePath*>(PathOfRow(row));
    if (!path)
        return false;
    const bool selected = gtk_tree_selection_path_is_selected(SelectionOf(Tree()), path);
    gtk_tree_path_free(path);
    return selected;
}

int TableView::SelectedRow() const {
    const std::vector<int> rows = SelectedRows();
    return rows.empty() ? -1 : rows.front();
}

int TableView::CurrentRow() const {
    const int cursor = CursorRow();
    if (IsRowSelected(cursor))
        return cursor;
    const std::vector<int> rows = SelectedRows();
    return rows.empty() ? -1 : rows.back();
}

} // namespace ak
