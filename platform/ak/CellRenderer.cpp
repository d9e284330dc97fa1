// The rows views' one cell renderer: GTK's text renderer that can also put a
// status image before the text, or hand the whole cell to its owner.
#include "platform/ak/TreeParts.h"

#include <gtk/gtk.h>

#include <algorithm>

namespace {

struct AkCellRenderer {
    GtkCellRendererText parent;
    ak::CellState* state;
};

struct AkCellRendererClass {
    GtkCellRendererTextClass parentClass;
};

GType ak_cell_renderer_get_type();
G_DEFINE_TYPE(AkCellRenderer, ak_cell_renderer, GTK_TYPE_CELL_RENDERER_TEXT)

ak::Rect RectOf(const GdkRectangle& r) {
    return {{double(r.x), double(r.y)}, {double(r.width), double(r.height)}};
}

GdkRectangle GdkRectOf(ak::Rect r) {
    return {int(r.MinX()), int(r.MinY()), std::max(0, int(r.size.width)),
            std::max(0, int(r.size.height))};
}

void DrawImage(cairo_t* cr, const ak::Image& image, ak::Rect into) {
    if (into.IsEmpty())
        return;
    cairo_save(cr);
    cairo_rectangle(cr, into.MinX(), into.MinY(), into.size.width, into.size.height);
    cairo_clip(cr);
    cairo_translate(cr, into.MinX(), into.MinY());
    cairo_scale(cr, into.size.width / image.PixelWidth(), into.size.height / image.PixelHeight());
    cairo_set_source_surface(cr, image.Surface(), 0, 0);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    cairo_paint(cr);
    cairo_restore(cr);
}

// The text's colour: the cell's own, else the selection's text colour for a
// selected row, else the view's text colour for the others.
std::optional<ak::Color> TextColor(const ak::CellState& state, bool selected, bool focused) {
    if (state.color)
        return state.color;
    if (!state.look)
        return std::nullopt;
    const std::vector<ak::Color>& colors = state.look->selection;
    const size_t entry = focused ? 1 : 3;
    if (selected)
        return colors.size() > entry ? std::optional<ak::Color>(colors[entry]) : std::nullopt;
    return state.look->text;
}

void Render(GtkCellRenderer* cell, cairo_t* cr, GtkWidget* widget, const GdkRectangle* background,
            const GdkRectangle* area, GtkCellRendererState flags) {
    const ak::CellState& state = ak::StateOfRenderer(cell);
    const bool selected = flags & GTK_CELL_RENDERER_SELECTED;
    const ak::Rect frame = RectOf(*area);
    if (state.kind == ak::CellKind::OwnerDraw) {
        if (state.draw) {
            cairo_save(cr);
            state.draw(cr, frame, selected);
            cairo_restore(cr);
        }
        return;
    }
    GdkRectangle textArea = *area;
    if (state.kind == ak::CellKind::Status) {
        if (state.image)
            DrawImage(cr, *state.image, ak::StatusImageRect(frame, state.image->PointSize()));
        if (state.image || state.alwaysIndent)
            textArea = GdkRectOf(ak::StatusTextRect(frame));
    }
    const auto color = TextColor(state, selected, gtk_widget_has_focus(widget));
    if (color) {
        const GdkRGBA rgba{color->red, color->green, color->blue, color->alpha};
        g_object_set(cell, "foreground-rgba", &rgba, nullptr);
        // GTK's text renderer keeps its own colour for selected rows.
        flags = GtkCellRendererState(flags & ~GTK_CELL_RENDERER_SELECTED);
    } else {
        g_object_set(cell, "foreground-set", FALSE, nullptr);
    }
    GTK_CELL_RENDERER_CLASS(ak_cell_renderer_parent_class)
        ->render(cell, cr, widget, background, &textArea, flags);
}

void Finalize(GObject* object) {
    delete reinterpret_cast<AkCellRenderer*>(object)->state;
    G_OBJECT_CLASS(ak_cell_renderer_parent_class)->finalize(object);
}

void ak_cell_renderer_class_init(AkCellRendererClass* klass) {
    GTK_CELL_RENDERER_CLASS(klass)->render = Render;
    G_OBJECT_CLASS(klass)->finalize = Finalize;
}

void ak_cell_renderer_init(AkCellRenderer* self) {
    self->state = new ak::CellState;
}

} // namespace

namespace ak {

void* NewCellRenderer() {
    return g_object_new(ak_cell_renderer_get_type(), nullptr);
}

CellState& StateOfRenderer(void* renderer) {
    return *static_cast<AkCellRenderer*>(renderer)->state;
}

Rect StatusImageRect(Rect frame, Size image) {
    const double h = frame.size.height;
    const double side = std::min(image.height, h);
    const double inset = frame.size.width < side ? 0 : (h - side) / 2;
    return {{frame.MinX() + inset, frame.MinY() + (h - side) / 2},
            {std::min(frame.size.width, side), side}};
}

Rect StatusTextRect(Rect frame) {
    const double indent = frame.size.height + 2;
    return {{frame.MinX() + indent, frame.MinY()},
            {std::max(0.0, frame.size.width - indent), frame.size.height}};
}

} // namespace ak
