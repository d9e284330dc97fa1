#include "platform/ak/TreeParts.h"

#include "platform/ak/Control.h"

#include <gtk/gtk.h>

#include <algorithm>

namespace ak {

namespace {

void DrawCell(GtkTreeViewColumn*, GtkCellRenderer* cell, GtkTreeModel* model, GtkTreeIter* iter,
              gpointer data) {
    const std::string text = ValidUtf8((*static_cast<CellText*>(data))(model, iter));
    g_object_set(cell, "text", text.c_str(), nullptr);
}

void FreeCellText(gpointer data) {
    delete static_cast<CellText*>(data);
}

} // namespace

GtkWidget* MakeTreeScroller() {
    GtkWidget* scroller = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroller), GTK_POLICY_AUTOMATIC,
                                   GTK_POLICY_AUTOMATIC);
    return scroller;
}

void* AppendTextColumn(void* tree, const std::string& title, double width, CellText text) {
    GtkCellRenderer* cell = gtk_cell_renderer_text_new();
    GtkTreeViewColumn* column = gtk_tree_view_column_new();
    gtk_tree_view_column_set_title(column, ValidUtf8(title).c_str());
    gtk_tree_view_column_pack_start(column, cell, TRUE);
    gtk_tree_view_column_set_cell_data_func(column, cell, DrawCell, new CellText(std::move(text)),
                                            FreeCellText);
    gtk_tree_view_column_set_sizing(column, GTK_TREE_VIEW_COLUMN_FIXED);
    gtk_tree_view_column_set_fixed_width(column, std::max(1, static_cast<int>(width)));
    gtk_tree_view_column_set_resizable(column, TRUE);
    gtk_tree_view_append_column(GTK_TREE_VIEW(tree), column);
    return column;
}

} // namespace ak
