#include "platform/ak/OutlineView.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <functional>

namespace ak {

namespace {

// A cyclic or runaway source must not hang the loop.
constexpr int kMaxDepth = 64;

OutlineItem ItemOf(GtkTreeModel* model, GtkTreeIter* iter) {
    gpointer item = nullptr;
    gtk_tree_model_get(model, iter, 0, &item, -1);
    return item;
}

} // namespace

OutlineView::OutlineView(Rect frame) : RowsView(frame, gtk_tree_store_new(1, G_TYPE_POINTER)) {
    Connect(gtk_tree_view_get_selection(GTK_TREE_VIEW(Tree())), "changed",
            reinterpret_cast<Callback>(&OutlineView::OnSelectionChanged));
    // Expanding by a call tells the caller too; only a reload's restoring of
    // the open items is silent.
    Connect(Tree(), "test-expand-row", reinterpret_cast<Callback>(&OutlineView::OnTestExpand));
    Connect(Tree(), "test-collapse-row", reinterpret_cast<Callback>(&OutlineView::OnTestCollapse));
}

void OutlineView::OnSelectionChanged(void*, OutlineView* self) {
    if (!self->m_collapsing)
        self->FireAction();
}

int OutlineView::OnTestExpand(void*, void* iter, void*, OutlineView* self) {
    if (self->m_willExpand)
        self->m_willExpand(ItemOf(GTK_TREE_MODEL(self->Model()), static_cast<GtkTreeIter*>(iter)));
    return FALSE;
}

int OutlineView::OnTestCollapse(void*, void* iter, void*, OutlineView* self) {
    if (self->m_willCollapse)
        self->m_willCollapse(
            ItemOf(GTK_TREE_MODEL(self->Model()), static_cast<GtkTreeIter*>(iter)));
    return FALSE;
}

void OutlineView::SetDataSource(OutlineDataSource* source) {
    m_source = source;
    ReloadData();
}

void OutlineView::ReloadData() {
    Silence silence(*this);
    std::vector<OutlineItem> expanded;
    for (OutlineItem item : VisibleItems())
        if (IsItemExpanded(item))
            expanded.push_back(item);
    const OutlineItem selected = SelectedItem();
    gtk_tree_store_clear(GTK_TREE_STORE(Model()));
    if (m_source)
        Fill(nullptr, nullptr, 0);
    for (OutlineItem item : expanded)
        ExpandItem(item);
    if (selected)
        SelectItem(selected);
}

void OutlineView::Fill(void* parentIter, OutlineItem item, int depth) {
    if (depth >= kMaxDepth || (item && !m_source->IsExpandable(*this, item)))
        return;
    const int count = std::max(0, m_source->NumberOfChildren(*this, item));
    for (int i = 0; i < count; ++i) {
        const OutlineItem child = m_source->Child(*this, item, i);
        GtkTreeIter iter;
        gtk_tree_store_insert_with_values(GTK_TREE_STORE(Model()), &iter,
                                          static_cast<GtkTreeIter*>(parentIter), i, 0, child, -1);
        Fill(&iter, child, depth + 1);
    }
}

bool OutlineView::ParentIter(OutlineItem parent, void* iter, void** out) const {
    *out = nullptr;
    if (!parent)
        return true;
    if (!FindIter(parent, iter))
        return false;
    *out = iter;
    return true;
}

void OutlineView::InsertItem(OutlineItem parent, int index) {
    GtkTreeIter parentIter;
    void* at = nullptr;
    if (!m_source || !ParentIter(parent, &parentIter, &at))
        return;
    GtkTreeModel* model = GTK_TREE_MODEL(Model());
    if (index < 0 || index > gtk_tree_model_iter_n_children(model, static_cast<GtkTreeIter*>(at)) ||
        index >= m_source->NumberOfChildren(*this, parent))
        return;
    Silence silence(*this);
    const OutlineItem child = m_source->Child(*this, parent, index);
    GtkTreeIter iter;
    gtk_tree_store_insert_with_values(GTK_TREE_STORE(Model()), &iter, static_cast<GtkTreeIter*>(at),
                                      index, 0, child, -1);
    GtkTreePath* path = gtk_tree_model_get_path(model, &iter);
    Fill(&iter, child, gtk_tree_path_get_depth(path));
    gtk_tree_path_free(path);
}

void OutlineView::RemoveItem(OutlineItem parent, int index) {
    GtkTreeIter parentIter;
    void* at = nullptr;
    GtkTreeIter iter;
    if (!ParentIter(parent, &parentIter, &at) ||
        !gtk_tree_model_iter_nth_child(GTK_TREE_MODEL(Model()), &iter,
                                       static_cast<GtkTreeIter*>(at), index))
        return;
    Silence silence(*this);
    gtk_tree_store_remove(GTK_TREE_STORE(Model()), &iter);
}

CellContent OutlineView::ContentOf(const std::string& column, void* model, void* iter) {
    const OutlineItem item = ItemOf(GTK_TREE_MODEL(model), static_cast<GtkTreeIter*>(iter));
    if (!m_source)
        return {};
    CellContent content{
        m_source->TextAt(*this, column, item), {}, m_source->TextColorAt(*this, column, item)};
    if (ColumnCell(column) == CellKind::Status)
        content.image = m_source->ImageAt(*this, column, item);
    return content;
}

void* OutlineView::PathOfRow(int row) const {
    GtkTreeIter iter;
    const OutlineItem item = ItemAtRow(row);
    return item && FindIter(item, &iter) ? gtk_tree_model_get_path(GTK_TREE_MODEL(Model()), &iter)
                                         : nullptr;
}

int OutlineView::RowOfPath(void* path) const {
    GtkTreeIter iter;
    if (!gtk_tree_model_get_iter(GTK_TREE_MODEL(Model()), &iter, static_cast<GtkTreePath*>(path)))
        return -1;
    return RowForItem(ItemOf(GTK_TREE_MODEL(Model()), &iter));
}

bool OutlineView::FindIter(OutlineItem item, void* out) const {
    GtkTreeModel* model = GTK_TREE_MODEL(Model());
    struct Search {
        OutlineItem item;
        GtkTreeIter* out;
        bool found = false;
    } search{item, static_cast<GtkTreeIter*>(out)};
    gtk_tree_model_foreach(
        model,
        [](GtkTreeModel* m, GtkTreePath*, GtkTreeIter* iter, gpointer data) -> gboolean {
            auto* s = static_cast<Search*>(data);
            if (ItemOf(m, iter) != s->item)
                return FALSE;
            *s->out = *iter;
            s->found = true;
            return TRUE;
        },
        &search);
    return search.found;
}

void OutlineView::ExpandItem(OutlineItem item) {
    GtkTreeIter iter;
    if (!FindIter(item, &iter))
        return;
    GtkTreePath* path = gtk_tree_model_get_path(GTK_TREE_MODEL(Model()), &iter);
    gtk_tree_view_expand_to_path(GTK_TREE_VIEW(Tree()), path);
    gtk_tree_path_free(path);
}

void OutlineView::CollapseItem(OutlineItem item) {
    GtkTreeIter iter;
    if (!FindIter(item, &iter))
        return;
    GtkTreePath* path = gtk_tree_model_get_path(GTK_TREE_MODEL(Model()), &iter);
    // Collapsing drops a selection inside the item; a call's doing so is no
    // user's change, though the will-collapse callback still hears of it.
    m_collapsing = true;
    gtk_tree_view_collapse_row(GTK_TREE_VIEW(Tree()), path);
    m_collapsing = false;
    gtk_tree_path_free(path);
}

bool OutlineView::IsItemExpanded(OutlineItem item) const {
    GtkTreeIter iter;
    if (!FindIter(item, &iter))
        return false;
    GtkTreePath* path = gtk_tree_model_get_path(GTK_TREE_MODEL(Model()), &iter);
    const bool expanded = gtk_tree_view_row_expanded(GTK_TREE_VIEW(Tree()), path);
    gtk_tree_path_free(path);
    return expanded;
}

std::vector<OutlineItem> OutlineView::VisibleItems() const {
    std::vector<OutlineItem> items;
    GtkTreeModel* model = GTK_TREE_MODEL(Model());
    GtkTreeView* tree = GTK_TREE_VIEW(Tree());
    std::function<void(GtkTreeIter*)> walk = [&](GtkTreeIter* parent) {
        GtkTreeIter iter;
        for (bool more = gtk_tree_model_iter_children(model, &iter, parent); more;
             more = gtk_tree_model_iter_next(model, &iter)) {
            items.push_back(ItemOf(model, &iter));
            GtkTreePath* path = gtk_tree_model_get_path(model, &iter);
            const bool open = gtk_tree_view_row_expanded(tree, path);
            gtk_tree_path_free(path);
            if (open)
                walk(&iter);
        }
    };
    walk(nullptr);
    return items;
}

int OutlineView::NumberOfRows() const {
    return static_cast<int>(VisibleItems().size());
}

int OutlineView::RowForItem(OutlineItem item) const {
    const std::vector<OutlineItem> items = VisibleItems();
    const auto it = std::find(items.begin(), items.end(), item);
    return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

OutlineItem OutlineView::ItemAtRow(int row) const {
    const std::vector<OutlineItem> items = VisibleItems();
    return row >= 0 && row < static_cast<int>(items.size()) ? items[static_cast<size_t>(row)]
                                                            : nullptr;
}

void OutlineView::SelectItem(OutlineItem item) {
    Silence silence(*this);
    GtkTreeSelection* selection = gtk_tree_view_get_selection(GTK_TREE_VIEW(Tree()));
    gtk_tree_selection_unselect_all(selection);
    GtkTreeIter iter;
    if (item && FindIter(item, &iter))
        gtk_tree_selection_select_iter(selection, &iter);
}

OutlineItem OutlineView::SelectedItem() const {
    GtkTreeModel* model = nullptr;
    GtkTreeIter iter;
    GtkTreeSelection* selection = gtk_tree_view_get_selection(GTK_TREE_VIEW(Tree()));
    if (!gtk_tree_selection_get_selected(selection, &model, &iter))
        return nullptr;
    return ItemOf(model, &iter);
}

void OutlineView::SetIndentation(int pixels) {
    gtk_tree_view_set_level_indentation(GTK_TREE_VIEW(Tree()), std::max(0, pixels));
}

} // namespace ak
