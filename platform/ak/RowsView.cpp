#include "platform/ak/RowsView.h"

#include "platform/ak/Application.h"
#include "platform/ak/Backing.h"
#include "platform/ak/TreeParts.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace ak {

struct RowsView::Column {
    std::string identifier;
    GtkTreeViewColumn* column; // the tree's
    GtkCellRenderer* renderer; // the column's
    TextAlignment alignment = TextAlignment::Left;
};

struct RowsView::Look : CellLook {
    std::optional<Color> background;
    std::optional<Color> grid;
    GtkCssProvider* provider = gtk_css_provider_new();
    ~Look() { g_object_unref(provider); }
};

namespace {

GtkTreeView* AsTree(void* tree) {
    return GTK_TREE_VIEW(tree);
}

float XAlign(TextAlignment alignment) {
    return alignment == TextAlignment::Center  ? 0.5f
           : alignment == TextAlignment::Right ? 1.0f
                                               : 0.0f;
}

std::string Css(const Color& c) {
    char text[96];
    std::snprintf(text, sizeof text, "rgba(%d,%d,%d,%.3f)", int(std::lround(c.red * 255)),
                  int(std::lround(c.green * 255)), int(std::lround(c.blue * 255)), c.alpha);
    return text;
}

// The tree's columns in display order.
std::vector<GtkTreeViewColumn*> Displayed(void* tree) {
    std::vector<GtkTreeViewColumn*> columns;
    GList* list = gtk_tree_view_get_columns(AsTree(tree));
    for (GList* item = list; item; item = item->next)
        columns.push_back(GTK_TREE_VIEW_COLUMN(item->data));
    g_list_free(list);
    return columns;
}

// A point of the tree widget in its bin window's coordinates.
std::pair<int, int> BinPoint(void* tree, Point inTree) {
    int x = 0;
    int y = 0;
    gtk_tree_view_convert_widget_to_bin_window_coords(AsTree(tree), int(inTree.x), int(inTree.y),
                                                      &x, &y);
    return {x, y};
}

} // namespace

GtkWidget* MakeTreeScroller() {
    GtkWidget* scroller = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroller), GTK_POLICY_AUTOMATIC,
                                   GTK_POLICY_AUTOMATIC);
    return scroller;
}

// GTK's signals, with the view as user data.
struct RowsViewSignals {
    static gboolean Press(GtkWidget*, GdkEventButton* event, RowsView* self) {
        if (event->type != GDK_BUTTON_PRESS ||
            event->window != gtk_tree_view_get_bin_window(AsTree(self->m_tree)))
            return FALSE;
        Ref<Control> hold(self);
        const RowMouse mouse = self->MouseAt(event);
        self->m_pressOnRows = event->button == GDK_BUTTON_PRIMARY;
        if (!self->MouseDownOnRows(mouse))
            return FALSE;
        gtk_widget_grab_focus(GTK_WIDGET(self->m_tree));
        return TRUE;
    }
    static gboolean Motion(GtkWidget*, GdkEventMotion* event, RowsView* self) {
        if (!self->m_pressOnRows || !(event->state & GDK_BUTTON1_MASK))
            return FALSE;
        Ref<Control> hold(self);
        self->MouseDraggedOnRows(self->MouseAt(event));
        return FALSE;
    }
    static gboolean Release(GtkWidget*, GdkEventButton* event, RowsView* self) {
        Ref<Control> hold(self);
        const RowMouse mouse = self->MouseAt(event);
        if (event->button == GDK_BUTTON_SECONDARY) {
            self->RightMouseUpOnRows(mouse);
            return FALSE;
        }
        if (event->button != GDK_BUTTON_PRIMARY || !std::exchange(self->m_pressOnRows, false))
            return FALSE;
        return self->MouseUpOnRows(mouse);
    }
    // GTK's tree puts its cursor on the first row when it takes the focus
    // without one, and in single selection selects that row too. A focus
    // must not change the selection: GTK's handler runs with multiple
    // selection, which moves only the cursor.
    static void WillGrabFocus(GtkWidget*, RowsView* self) {
        GtkTreeSelection* selection = gtk_tree_view_get_selection(AsTree(self->m_tree));
        const GtkSelectionMode mode = gtk_tree_selection_get_mode(selection);
        if (mode != GTK_SELECTION_SINGLE && mode != GTK_SELECTION_BROWSE)
            return;
        GtkTreePath* cursor = nullptr;
        gtk_tree_view_get_cursor(AsTree(self->m_tree), &cursor, nullptr);
        if (cursor) {
            gtk_tree_path_free(cursor);
            return;
        }
        if (gtk_tree_selection_count_selected_rows(selection) > 0)
            return;
        self->m_focusMode = mode;
        gtk_tree_selection_set_mode(selection, GTK_SELECTION_MULTIPLE);
    }
    static void DidGrabFocus(GtkWidget*, RowsView* self) {
        if (self->m_focusMode < 0)
            return;
        gtk_tree_selection_set_mode(gtk_tree_view_get_selection(AsTree(self->m_tree)),
                                    static_cast<GtkSelectionMode>(self->m_focusMode));
        self->m_focusMode = -1;
    }
    static gboolean Focus(GtkWidget*, GdkEvent*, RowsView* self) {
        self->ApplyLook();
        return FALSE;
    }
    static void HeaderClicked(GtkTreeViewColumn* column, RowsView* self) {
        Ref<Control> hold(self);
        for (const RowsView::Column& c : self->m_columns)
            if (c.column == column) {
                const std::string identifier = c.identifier;
                self->ColumnHeaderClicked(identifier);
                return;
            }
    }
    static void CellData(GtkTreeViewColumn*, GtkCellRenderer* cell, GtkTreeModel* model,
                         GtkTreeIter* iter, gpointer data) {
        auto* self = static_cast<RowsView*>(g_object_get_data(G_OBJECT(cell), "ak-rows"));
        const auto* identifier = static_cast<const std::string*>(data);
        if (!self)
            return;
        CellState& state = StateOfRenderer(cell);
        CellContent content = self->ContentOf(*identifier, model, iter);
        state.image = std::move(content.image);
        state.color = content.textColor;
        state.draw = nullptr;
        if (state.kind == CellKind::OwnerDraw) {
            GtkTreeIter row = *iter;
            state.draw = [self, column = *identifier, model, row](cairo_t* cr, Rect frame,
                                                                  bool selected) mutable {
                self->DrawCell(column, model, &row, cr, frame, selected);
            };
        }
        g_object_set(cell, "text", ValidUtf8(content.text).c_str(), nullptr);
    }
};

RowsView::RowsView(Rect frame, void* model)
    : Control(frame, MakeTreeScroller()),
      m_tree(gtk_tree_view_new_with_model(GTK_TREE_MODEL(model))), m_model(model),
      m_look(std::make_unique<Look>()) {
    g_object_unref(model); // the tree view holds it
    GtkWidget* tree = GTK_WIDGET(m_tree);
    gtk_container_add(GTK_CONTAINER(Widget()), tree);
    gtk_widget_show(tree);
    // Rows of one height, known at once: geometry asked right after a change
    // is exact, and long lists stay cheap.
    gtk_tree_view_set_fixed_height_mode(AsTree(m_tree), TRUE);
    gtk_style_context_add_provider(gtk_widget_get_style_context(tree),
                                   GTK_STYLE_PROVIDER(m_look->provider),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION + 1);
    gtk_widget_add_events(tree, GDK_BUTTON_MOTION_MASK);
    Connect(tree, "button-press-event", reinterpret_cast<Callback>(&RowsViewSignals::Press));
    Connect(tree, "motion-notify-event", reinterpret_cast<Callback>(&RowsViewSignals::Motion));
    Connect(tree, "button-release-event", reinterpret_cast<Callback>(&RowsViewSignals::Release));
    Connect(tree, "focus-in-event", reinterpret_cast<Callback>(&RowsViewSignals::Focus));
    Connect(tree, "focus-out-event", reinterpret_cast<Callback>(&RowsViewSignals::Focus));
    Connect(tree, "grab-focus", reinterpret_cast<Callback>(&RowsViewSignals::WillGrabFocus));
    ConnectAfter(tree, "grab-focus", reinterpret_cast<Callback>(&RowsViewSignals::DidGrabFocus));
}

RowsView::~RowsView() {
    // The tree goes with the view's widgets, later: its cells must not ask us.
    for (const Column& c : m_columns) {
        g_object_set_data(G_OBJECT(c.renderer), "ak-rows", nullptr);
        StateOfRenderer(c.renderer).look = nullptr;
    }
    if (m_frozen) {
        gdk_window_thaw_updates(GDK_WINDOW(m_frozen));
        g_object_unref(m_frozen);
    }
}

bool RowsView::BecomeFirstResponder() {
    if (!HasFocus())
        gtk_widget_grab_focus(GTK_WIDGET(m_tree));
    return true;
}

bool RowsView::HasFocus() const {
    return gtk_widget_has_focus(GTK_WIDGET(m_tree));
}

void RowsView::AddColumn(const std::string& identifier, const std::string& title, double width,
                         int at) {
    if (Find(identifier))
        return;
    auto* renderer = GTK_CELL_RENDERER(NewCellRenderer());
    g_object_set_data(G_OBJECT(renderer), "ak-rows", this);
    StateOfRenderer(renderer).look = m_look.get();
    GtkTreeViewColumn* column = gtk_tree_view_column_new();
    gtk_tree_view_column_set_title(column, ValidUtf8(title).c_str());
    gtk_tree_view_column_pack_start(column, renderer, TRUE);
    gtk_tree_view_column_set_cell_data_func(
        column, renderer, RowsViewSignals::CellData, new std::string(identifier),
        [](gpointer data) { delete static_cast<std::string*>(data); });
    gtk_tree_view_column_set_sizing(column, GTK_TREE_VIEW_COLUMN_FIXED);
    gtk_tree_view_column_set_fixed_width(column, std::max(1, static_cast<int>(width)));
    gtk_tree_view_column_set_resizable(column, TRUE);
    gtk_tree_view_column_set_clickable(column, TRUE);
    const bool inside = at >= 0 && at < NumberOfColumns();
    gtk_tree_view_insert_column(AsTree(m_tree), column, inside ? at : -1);
    m_columns.insert(inside ? m_columns.begin() + at : m_columns.end(),
                     Column{identifier, column, renderer});
    Connect(column, "clicked", reinterpret_cast<Callback>(&RowsViewSignals::HeaderClicked));
}

void RowsView::RemoveColumn(const std::string& identifier) {
    auto it = std::find_if(m_columns.begin(), m_columns.end(),
                           [&](const Column& c) { return c.identifier == identifier; });
    if (it == m_columns.end())
        return;
    g_object_set_data(G_OBJECT(it->renderer), "ak-rows", nullptr);
    StateOfRenderer(it->renderer).look = nullptr;
    gtk_tree_view_remove_column(AsTree(m_tree), it->column);
    m_columns.erase(it);
}

int RowsView::NumberOfColumns() const {
    return static_cast<int>(m_columns.size());
}

const RowsView::Column* RowsView::Find(const std::string& identifier) const {
    for (const Column& c : m_columns)
        if (c.identifier == identifier)
            return &c;
    return nullptr;
}

void* RowsView::ColumnNamed(const std::string& identifier) const {
    const Column* c = Find(identifier);
    return c ? c->column : nullptr;
}

std::vector<std::string> RowsView::ColumnIdentifiers() const {
    std::vector<std::string> identifiers;
    for (const Column& c : m_columns)
        identifiers.push_back(c.identifier);
    return identifiers;
}

int RowsView::ColumnIndex(const std::string& identifier) const {
    const std::vector<GtkTreeViewColumn*> shown = Displayed(m_tree);
    const auto it = std::find(shown.begin(), shown.end(), ColumnNamed(identifier));
    return it == shown.end() ? -1 : static_cast<int>(it - shown.begin());
}

void RowsView::MoveColumn(int from, int to) {
    std::vector<GtkTreeViewColumn*> shown = Displayed(m_tree);
    const int count = static_cast<int>(shown.size());
    if (from < 0 || from >= count || to < 0 || to >= count || from == to)
        return;
    GtkTreeViewColumn* moved = shown[size_t(from)];
    shown.erase(shown.begin() + from);
    gtk_tree_view_move_column_after(AsTree(m_tree), moved,
                                    to == 0 ? nullptr : shown[size_t(to - 1)]);
}

std::vector<int> RowsView::DisplayOrder() const {
    std::vector<int> positions;
    for (const Column& c : m_columns)
        positions.push_back(ColumnIndex(c.identifier));
    return positions;
}

bool RowsView::SetDisplayOrder(const std::vector<int>& positions) {
    std::vector<int> sorted = positions;
    std::sort(sorted.begin(), sorted.end());
    for (size_t i = 0; i < sorted.size(); ++i)
        if (sorted[i] != static_cast<int>(i))
            return false;
    if (positions.size() != m_columns.size())
        return false;
    GtkTreeViewColumn* previous = nullptr;
    for (int position = 0; position < NumberOfColumns(); ++position) {
        const auto logical =
            std::find(positions.begin(), positions.end(), position) - positions.begin();
        GtkTreeViewColumn* column = m_columns[size_t(logical)].column;
        gtk_tree_view_move_column_after(AsTree(m_tree), column, previous);
        previous = column;
    }
    return true;
}

void RowsView::SetAllowsColumnReordering(bool allows) {
    for (const Column& c : m_columns)
        gtk_tree_view_column_set_reorderable(c.column, allows);
}

double RowsView::ColumnWidth(const std::string& identifier) const {
    void* column = ColumnNamed(identifier);
    return column ? gtk_tree_view_column_get_fixed_width(GTK_TREE_VIEW_COLUMN(column)) : 0;
}

void RowsView::SetColumnWidth(const std::string& identifier, double width) {
    if (void* column = ColumnNamed(identifier))
        gtk_tree_view_column_set_fixed_width(GTK_TREE_VIEW_COLUMN(column),
                                             std::max(1, static_cast<int>(std::lround(width))));
}

void RowsView::SetColumnHidden(const std::string& identifier, bool hidden) {
    if (void* column = ColumnNamed(identifier))
        gtk_tree_view_column_set_visible(GTK_TREE_VIEW_COLUMN(column), !hidden);
}

bool RowsView::IsColumnHidden(const std::string& identifier) const {
    void* column = ColumnNamed(identifier);
    return column && !gtk_tree_view_column_get_visible(GTK_TREE_VIEW_COLUMN(column));
}

void RowsView::SetColumnTitle(const std::string& identifier, const std::string& title) {
    if (void* column = ColumnNamed(identifier))
        gtk_tree_view_column_set_title(GTK_TREE_VIEW_COLUMN(column), ValidUtf8(title).c_str());
}

std::string RowsView::ColumnTitle(const std::string& identifier) const {
    void* column = ColumnNamed(identifier);
    const char* title =
        column ? gtk_tree_view_column_get_title(GTK_TREE_VIEW_COLUMN(column)) : nullptr;
    return title ? title : "";
}

void RowsView::SetColumnAlignment(const std::string& identifier, TextAlignment alignment) {
    auto* c = const_cast<Column*>(Find(identifier));
    if (!c)
        return;
    c->alignment = alignment;
    gtk_tree_view_column_set_alignment(c->column, XAlign(alignment));
    g_object_set(c->renderer, "xalign", XAlign(alignment), nullptr);
    gtk_widget_queue_draw(GTK_WIDGET(m_tree));
}

TextAlignment RowsView::ColumnAlignment(const std::string& identifier) const {
    const Column* c = Find(identifier);
    return c ? c->alignment : TextAlignment::Left;
}

void RowsView::SetColumnCell(const std::string& identifier, CellKind kind, bool alwaysIndent) {
    if (const Column* c = Find(identifier)) {
        CellState& state = StateOfRenderer(c->renderer);
        state.kind = kind;
        state.alwaysIndent = alwaysIndent;
        gtk_widget_queue_draw(GTK_WIDGET(m_tree));
    }
}

CellKind RowsView::ColumnCell(const std::string& identifier) const {
    const Column* c = Find(identifier);
    return c ? StateOfRenderer(c->renderer).kind : CellKind::Text;
}

void RowsView::SetSortIndicator(const std::string& identifier, bool sorted, bool ascending) {
    if (void* column = ColumnNamed(identifier)) {
        gtk_tree_view_column_set_sort_indicator(GTK_TREE_VIEW_COLUMN(column), sorted);
        gtk_tree_view_column_set_sort_order(GTK_TREE_VIEW_COLUMN(column),
                                            ascending ? GTK_SORT_ASCENDING : GTK_SORT_DESCENDING);
    }
}

SortIndicator RowsView::SortIndicatorOf(const std::string& identifier) const {
    auto* column = GTK_TREE_VIEW_COLUMN(ColumnNamed(identifier));
    if (!column || !gtk_tree_view_column_get_sort_indicator(column))
        return SortIndicator::None;
    return gtk_tree_view_column_get_sort_order(column) == GTK_SORT_ASCENDING
               ? SortIndicator::Ascending
               : SortIndicator::Descending;
}

void RowsView::SetHeaderVisible(bool visible) {
    gtk_tree_view_set_headers_visible(AsTree(m_tree), visible);
}

void RowsView::SetGridLines(bool horizontal, bool vertical) {
    const GtkTreeViewGridLines lines = horizontal && vertical ? GTK_TREE_VIEW_GRID_LINES_BOTH
                                       : horizontal           ? GTK_TREE_VIEW_GRID_LINES_HORIZONTAL
                                       : vertical             ? GTK_TREE_VIEW_GRID_LINES_VERTICAL
                                                              : GTK_TREE_VIEW_GRID_LINES_NONE;
    gtk_tree_view_set_grid_lines(AsTree(m_tree), lines);
}

void RowsView::SetSelectionColors(std::vector<Color> colors) {
    m_look->selection = std::move(colors);
    ApplyLook();
}

void RowsView::SetTextColor(std::optional<Color> color) {
    m_look->text = color;
    ApplyLook();
}

void RowsView::SetBackgroundColor(std::optional<Color> color) {
    m_look->background = color;
    ApplyLook();
}

void RowsView::SetGridColor(std::optional<Color> color) {
    m_look->grid = color;
    ApplyLook();
}

// The fill of selected rows follows the focus, so the rule is rewritten on
// each change of it.
void RowsView::ApplyLook() {
    const Look& look = *m_look;
    std::string css;
    if (look.background)
        css += "treeview.view { background-color: " + Css(*look.background) + "; }\n";
    if (look.grid)
        css += "treeview.view { border-left-color: " + Css(*look.grid) +
               "; border-top-color: " + Css(*look.grid) + "; }\n";
    const size_t entry = gtk_widget_has_focus(GTK_WIDGET(m_tree)) ? 0 : 2;
    if (look.selection.size() > entry)
        css += "treeview.view:selected, treeview.view:selected:focus, "
               "treeview.view:selected:backdrop { background-color: " +
               Css(look.selection[entry]) + "; background-image: none; }\n";
    gtk_css_provider_load_from_data(look.provider, css.c_str(), -1, nullptr);
    gtk_widget_queue_draw(GTK_WIDGET(m_tree));
}

void RowsView::BeginUpdates() {
    if (m_updateDepth++ > 0)
        return;
    if (GdkWindow* bin = gtk_tree_view_get_bin_window(AsTree(m_tree))) {
        m_frozen = g_object_ref(bin);
        gdk_window_freeze_updates(bin);
    }
}

void RowsView::EndUpdates() {
    if (m_updateDepth == 0 || --m_updateDepth > 0)
        return;
    if (m_frozen) {
        gdk_window_thaw_updates(GDK_WINDOW(m_frozen));
        g_object_unref(std::exchange(m_frozen, nullptr));
    }
    gtk_widget_queue_draw(GTK_WIDGET(m_tree));
}

double RowsView::HeaderHeight() const {
    GtkTreeView* tree = AsTree(m_tree);
    if (!gtk_tree_view_get_headers_visible(tree) || !gtk_widget_get_realized(GTK_WIDGET(tree)))
        return 0;
    int x = 0;
    int y = 0;
    gtk_tree_view_convert_bin_window_to_widget_coords(tree, 0, 0, &x, &y);
    return y;
}

Rect RowsView::VisibleRect() const {
    GdkRectangle visible{};
    gtk_tree_view_get_visible_rect(AsTree(m_tree), &visible);
    return {{double(visible.x), double(visible.y)},
            {double(visible.width), double(visible.height)}};
}

Point RowsView::PointInTree(Point inView) const {
    int x = 0;
    int y = 0;
    gtk_widget_translate_coordinates(Widget(), GTK_WIDGET(m_tree), int(std::floor(inView.x)),
                                     int(std::floor(inView.y)), &x, &y);
    return {double(x), double(y)};
}

// From bin-window coordinates to the view's.
Rect RowsView::TreeRectToView(int x, int y, int width, int height) const {
    GtkTreeView* tree = AsTree(m_tree);
    int wx = 0;
    int wy = 0;
    gtk_tree_view_convert_bin_window_to_widget_coords(tree, x, y, &wx, &wy);
    int outX = 0;
    int outY = 0;
    gtk_widget_translate_coordinates(GTK_WIDGET(tree), Widget(), wx, wy, &outX, &outY);
    return {{double(outX), double(outY)}, {double(width), double(height)}};
}

Rect RowsView::RectOfRow(int row) const {
    GtkTreePath* path = static_cast<GtkTreePath*>(PathOfRow(row));
    if (!path)
        return {};
    GdkRectangle area;
    gtk_tree_view_get_background_area(AsTree(m_tree), path, nullptr, &area);
    gtk_tree_path_free(path);
    return TreeRectToView(area.x, area.y, gtk_widget_get_allocated_width(GTK_WIDGET(m_tree)),
                          area.height);
}

Rect RowsView::RectOfCell(int row, const std::string& column) const {
    void* tvc = ColumnNamed(column);
    GtkTreePath* path = tvc ? static_cast<GtkTreePath*>(PathOfRow(row)) : nullptr;
    if (!path)
        return {};
    GdkRectangle area;
    gtk_tree_view_get_background_area(AsTree(m_tree), path, GTK_TREE_VIEW_COLUMN(tvc), &area);
    gtk_tree_path_free(path);
    return TreeRectToView(area.x, area.y, area.width, area.height);
}

int RowsView::RowAtPoint(Point point) const {
    GtkTreeView* tree = AsTree(m_tree);
    const Point inTree = PointInTree(point);
    const auto [binX, binY] = BinPoint(m_tree, inTree);
    GtkTreePath* path = nullptr;
    if (binY < 0 || inTree.y < HeaderHeight() ||
        !gtk_tree_view_get_path_at_pos(tree, binX, binY, &path, nullptr, nullptr, nullptr))
        return -1;
    const int row = RowOfPath(path);
    gtk_tree_path_free(path);
    return row;
}

std::string RowsView::ColumnAtPoint(Point point) const {
    const int binX = BinPoint(m_tree, PointInTree(point)).first;
    for (const Column& c : m_columns) {
        if (!gtk_tree_view_column_get_visible(c.column))
            continue;
        const int left = gtk_tree_view_column_get_x_offset(c.column);
        if (binX >= left && binX < left + gtk_tree_view_column_get_width(c.column))
            return c.identifier;
    }
    return {};
}

// Straight to the place, without GTK's animation: callers read the rows in
// sight right after.
void RowsView::ScrollRowToVisible(int row) {
    GtkTreePath* path = static_cast<GtkTreePath*>(PathOfRow(row));
    if (!path)
        return;
    GtkTreeView* tree = AsTree(m_tree);
    GdkRectangle area;
    gtk_tree_view_get_background_area(tree, path, nullptr, &area);
    gtk_tree_path_free(path);
    int top = 0;
    int unused = 0;
    gtk_tree_view_convert_bin_window_to_tree_coords(tree, 0, area.y, &unused, &top);
    const Rect visible = VisibleRect();
    GtkAdjustment* vertical = gtk_scrollable_get_vadjustment(GTK_SCROLLABLE(tree));
    if (top < visible.MinY())
        gtk_adjustment_set_value(vertical, top);
    else if (top + area.height > visible.MaxY())
        gtk_adjustment_set_value(vertical, top + area.height - visible.size.height);
}

void RowsView::ScrollColumnToVisible(const std::string& column) {
    auto* tvc = GTK_TREE_VIEW_COLUMN(ColumnNamed(column));
    if (!tvc || !gtk_tree_view_column_get_visible(tvc))
        return;
    const int left = gtk_tree_view_column_get_x_offset(tvc);
    const int width = gtk_tree_view_column_get_width(tvc);
    const Rect visible = VisibleRect();
    GtkAdjustment* horizontal = gtk_scrollable_get_hadjustment(GTK_SCROLLABLE(m_tree));
    if (left < visible.MinX())
        gtk_adjustment_set_value(horizontal, left);
    else if (left + width > visible.MaxX())
        gtk_adjustment_set_value(horizontal,
                                 std::min<double>(left, left + width - visible.size.width));
}

RowMouse RowsView::MouseAt(const void* gdkEvent) const {
    RowMouse mouse;
    auto* event = static_cast<GdkEvent*>(const_cast<void*>(gdkEvent));
    if (const Application* app = Application::Shared())
        if (const Event* current = app->CurrentEvent())
            mouse.event = *current;
    double rootX = 0;
    double rootY = 0;
    gdk_event_get_root_coords(event, &rootX, &rootY);
    int originX = 0;
    int originY = 0;
    if (GdkWindow* own = gtk_widget_get_window(GetBacking().widget))
        gdk_window_get_origin(own, &originX, &originY);
    mouse.location = {rootX - originX, rootY - originY};
    guint button = 0;
    if (gdk_event_get_button(event, &button))
        mouse.button = button == GDK_BUTTON_SECONDARY ? 1 : button == GDK_BUTTON_MIDDLE ? 2 : 0;
    mouse.row = RowAtPoint(mouse.location);
    mouse.column = ColumnAtPoint(mouse.location);
    return mouse;
}

void RowsView::MoveCursor(void* path) {
    GtkTreeSelection* selection = gtk_tree_view_get_selection(AsTree(m_tree));
    GList* kept = gtk_tree_selection_get_selected_rows(selection, nullptr);
    Silence silence(*this);
    gtk_tree_view_set_cursor(AsTree(m_tree), static_cast<GtkTreePath*>(path), nullptr, FALSE);
    gtk_tree_selection_unselect_all(selection);
    for (GList* p = kept; p; p = p->next)
        gtk_tree_selection_select_path(selection, static_cast<GtkTreePath*>(p->data));
    g_list_free_full(kept, reinterpret_cast<GDestroyNotify>(gtk_tree_path_free));
}

int RowsView::CursorRow() const {
    GtkTreePath* path = nullptr;
    gtk_tree_view_get_cursor(AsTree(m_tree), &path, nullptr);
    if (!path)
        return -1;
    const int row = RowOfPath(path);
    gtk_tree_path_free(path);
    return row;
}

void RowsView::PerformDefaultClick(const RowMouse& press) {
    GtkTreeSelection* selection = gtk_tree_view_get_selection(AsTree(m_tree));
    GtkTreePath* path = static_cast<GtkTreePath*>(PathOfRow(press.row));
    if (!path)
        return;
    Ref<Control> hold(this);
    auto selected = [&] {
        std::vector<int> rows;
        GList* paths = gtk_tree_selection_get_selected_rows(selection, nullptr);
        for (GList* p = paths; p; p = p->next)
            rows.push_back(RowOfPath(p->data));
        g_list_free_full(paths, reinterpret_cast<GDestroyNotify>(gtk_tree_path_free));
        return rows;
    };
    const std::vector<int> before = selected();
    const bool multiple = gtk_tree_selection_get_mode(selection) == GTK_SELECTION_MULTIPLE;
    const uint32_t mods = press.event.modifierFlags;
    {
        Silence silence(*this);
        GtkTreePath* anchor = nullptr;
        gtk_tree_view_get_cursor(AsTree(m_tree), &anchor, nullptr);
        MoveCursor(path);
        if (multiple && (mods & ModifierFlag::Shift) && anchor) {
            gtk_tree_selection_unselect_all(selection);
            const bool down = gtk_tree_path_compare(anchor, path) <= 0;
            gtk_tree_selection_select_range(selection, down ? anchor : path, down ? path : anchor);
        } else if (multiple && (mods & ModifierFlag::Command)) {
            if (gtk_tree_selection_path_is_selected(selection, path))
                gtk_tree_selection_unselect_path(selection, path);
            else
                gtk_tree_selection_select_path(selection, path);
        } else {
            gtk_tree_selection_unselect_all(selection);
            gtk_tree_selection_select_path(selection, path);
        }
        if (anchor)
            gtk_tree_path_free(anchor);
    }
    gtk_tree_path_free(path);
    if (selected() != before)
        FireAction();
}

} // namespace ak
