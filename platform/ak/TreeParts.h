#pragma once

// Pieces the table and outline views share: GTK's tree view in its scroller
// and columns whose cells ask for their text when drawn.

#include <functional>
#include <string>

typedef struct _GtkWidget GtkWidget;

namespace ak {

GtkWidget* MakeTreeScroller();

// Answers a cell's text for a row of the tree's model (GtkTreeModel*, GtkTreeIter*).
using CellText = std::function<std::string(void* model, void* iter)>;
// Appends a fixed-width, resizable column; answers the GtkTreeViewColumn.
void* AppendTextColumn(void* tree, const std::string& title, double width, CellText text);

} // namespace ak
