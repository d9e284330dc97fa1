// Dragging an item within an outline: the caller decides at each move where
// (and whether) the item may drop, and the outline shows that place.
#include "platform/ak/OutlineView.h"

#include <gtk/gtk.h>

namespace ak {

bool OutlineView::MouseDownOnRows(const RowMouse& mouse) {
    m_pressed = mouse.button == 0 ? ItemAtRow(mouse.row) : nullptr;
    m_pressPoint = mouse.location;
    return false;
}

void OutlineView::MouseDraggedOnRows(const RowMouse& mouse) {
    Ref<Control> hold(this);
    if (!m_dragging) {
        if (!m_pressed || !m_dragBegin ||
            !gtk_drag_check_threshold(GTK_WIDGET(Tree()), int(m_pressPoint.x), int(m_pressPoint.y),
                                      int(mouse.location.x), int(mouse.location.y)))
            return;
        const OutlineItem item = std::exchange(m_pressed, nullptr);
        if (SelectedItem() != item) {
            SelectItem(item);
            FireAction();
        }
        const DragBegin begin = m_dragBegin;
        if (!begin(*this, item))
            return;
        m_dragging = true;
    }
    const OutlineDrop proposed = ProposedDrop(mouse.location);
    if (m_dropValidate) {
        const DropValidate validate = m_dropValidate;
        m_target = validate(*this, proposed);
    } else {
        m_target = proposed;
    }
    ShowDropTarget();
}

bool OutlineView::MouseUpOnRows(const RowMouse&) {
    m_pressed = nullptr;
    if (!m_dragging)
        return false;
    Ref<Control> hold(this);
    if (m_target && m_drop) {
        const Drop drop = m_drop;
        drop(*this, *m_target);
    }
    EndDrag();
    return false;
}

void OutlineView::EndDrag() {
    m_dragging = false;
    m_target.reset();
    ShowDropTarget();
    if (m_dragEnded) {
        const DragEnded ended = m_dragEnded;
        ended(*this);
    }
}

// The place under the pointer as GTK sees it: between rows, or onto an item
// that may have children; below every row, the end of the top level.
OutlineDrop OutlineView::ProposedDrop(Point inView) const {
    GtkTreeModel* model = GTK_TREE_MODEL(Model());
    const Point inTree = PointInTree(inView);
    GtkTreePath* path = nullptr;
    GtkTreeViewDropPosition position = GTK_TREE_VIEW_DROP_BEFORE;
    GtkTreeIter iter;
    if (!gtk_tree_view_get_dest_row_at_pos(GTK_TREE_VIEW(Tree()), int(inTree.x), int(inTree.y),
                                           &path, &position) ||
        !gtk_tree_model_get_iter(model, &iter, path)) {
        if (path)
            gtk_tree_path_free(path);
        return {nullptr, gtk_tree_model_iter_n_children(model, nullptr)};
    }
    const int index = gtk_tree_path_get_indices(path)[gtk_tree_path_get_depth(path) - 1];
    gtk_tree_path_free(path);
    gpointer item = nullptr;
    gtk_tree_model_get(model, &iter, 0, &item, -1);
    GtkTreeIter parentIter;
    gpointer parent = nullptr;
    if (gtk_tree_model_iter_parent(model, &parentIter, &iter))
        gtk_tree_model_get(model, &parentIter, 0, &parent, -1);
    const bool into = position == GTK_TREE_VIEW_DROP_INTO_OR_BEFORE ||
                      position == GTK_TREE_VIEW_DROP_INTO_OR_AFTER;
    auto& self = const_cast<OutlineView&>(*this);
    if (into && m_source && m_source->IsExpandable(self, item))
        return {item, -1};
    const bool after =
        position == GTK_TREE_VIEW_DROP_AFTER || position == GTK_TREE_VIEW_DROP_INTO_OR_AFTER;
    return {parent, after ? index + 1 : index};
}

void OutlineView::ShowDropTarget() {
    GtkTreeView* tree = GTK_TREE_VIEW(Tree());
    GtkTreeModel* model = GTK_TREE_MODEL(Model());
    GtkTreeIter parentIter;
    void* at = nullptr;
    if (!m_target || !ParentIter(m_target->parent, &parentIter, &at)) {
        gtk_tree_view_set_drag_dest_row(tree, nullptr, GTK_TREE_VIEW_DROP_BEFORE);
        return;
    }
    auto* parent = static_cast<GtkTreeIter*>(at);
    const int count = gtk_tree_model_iter_n_children(model, parent);
    const bool open = !parent || IsItemExpanded(m_target->parent);
    GtkTreeIter shown;
    GtkTreeViewDropPosition position = GTK_TREE_VIEW_DROP_INTO_OR_BEFORE;
    if (m_target->index >= 0 && open && count > 0) {
        const bool before = m_target->index < count;
        gtk_tree_model_iter_nth_child(model, &shown, parent, before ? m_target->index : count - 1);
        position = before ? GTK_TREE_VIEW_DROP_BEFORE : GTK_TREE_VIEW_DROP_AFTER;
    } else if (parent) {
        shown = *parent;
    } else {
        gtk_tree_view_set_drag_dest_row(tree, nullptr, GTK_TREE_VIEW_DROP_BEFORE);
        return;
    }
    GtkTreePath* path = gtk_tree_model_get_path(model, &shown);
    gtk_tree_view_set_drag_dest_row(tree, path, position);
    gtk_tree_path_free(path);
}

} // namespace ak
