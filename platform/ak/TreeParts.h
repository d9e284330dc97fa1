#pragma once

// Pieces of the rows views: GTK's tree view in its scroller and the cell
// renderer that draws text, status images and owner-drawn cells.

#include "platform/ak/RowsView.h"

#include <functional>

typedef struct _GtkWidget GtkWidget;

namespace ak {

GtkWidget* MakeTreeScroller();

// The colours a rows view gives its cells.
struct CellLook {
    std::vector<Color> selection;
    std::optional<Color> text;
};

// One renderer's settings and, while a row is drawn, that row's content.
struct CellState {
    CellKind kind = CellKind::Text;
    bool alwaysIndent = false;
    const CellLook* look = nullptr;
    Ref<Image> image;
    std::optional<Color> color;
    std::function<void(cairo_t*, Rect, bool selected)> draw;
};

// A new floating GtkCellRenderer whose state it owns.
void* NewCellRenderer();
CellState& StateOfRenderer(void* renderer);

// Where a status cell's image goes in a cell frame: a square of the row's
// height (smaller images keep their size, centred in it).
Rect StatusImageRect(Rect frame, Size image);
// The text's part of a status cell.
Rect StatusTextRect(Rect frame);

} // namespace ak
