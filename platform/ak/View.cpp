#include "platform/ak/View.h"

#include "platform/ak/Backing.h"
#include "platform/ak/Window.h"

#include <gtk/gtk.h>

#include <algorithm>

namespace ak {

View::View(Rect frame) : m_backing(std::make_unique<Backing>()) {
    m_backing->widget = NewViewWidget(this);
    SetFrame(frame);
    gtk_widget_show(m_backing->widget);
}

View::~View() {
    // Subviews someone else still holds outlive their place in this tree.
    for (auto& subview : m_subviews) {
        subview->m_superview = nullptr;
        subview->SetWindow(nullptr);
    }
    // Destroying the widget takes its window-system window, and with it every
    // event still queued for it.
    GtkWidget* widget = std::exchange(m_backing->widget, nullptr);
    gtk_widget_destroy(widget);
    g_object_unref(widget);
}

void View::SetFrame(Rect frame) {
    if (!frame.IsFinite())
        return;
    frame = frame.Normalized();
    if (frame == m_frame)
        return;
    m_frame = frame;
    gtk_widget_queue_resize(m_backing->widget);
    FrameDidChange();
    if (m_superview) {
        gtk_widget_queue_resize(m_superview->m_backing->widget);
        m_superview->SubviewFrameDidChange(this);
    }
}

void View::SetHidden(bool hidden) {
    if (hidden == m_hidden)
        return;
    m_hidden = hidden;
    gtk_widget_set_visible(m_backing->widget, !hidden);
}

bool View::IsHiddenOrHasHiddenAncestor() const {
    for (const View* view = this; view; view = view->m_superview)
        if (view->m_hidden)
            return true;
    return false;
}

void View::AddSubview(View* view) {
    if (!view || view == this || IsDescendantOf(view))
        return;
    Ref<View> hold(view);
    view->RemoveFromSuperview();
    view->ViewWillMoveToSuperview(this);
    if (view->m_window != m_window)
        view->ViewWillMoveToWindow(m_window);
    m_subviews.push_back(hold);
    view->m_superview = this;
    gtk_container_add(GTK_CONTAINER(m_backing->widget), view->m_backing->widget);
    view->SetWindow(m_window);
    view->ViewDidMoveToSuperview();
    DidAddSubview(view);
}

void View::AddSubviewAtBack(View* view) {
    AddSubview(view);
    if (!view || view->m_superview != this)
        return;
    auto at = std::find(m_subviews.begin(), m_subviews.end(), Ref<View>(view));
    std::rotate(m_subviews.begin(), at, at + 1);
    StackChildAtBack(m_backing->widget, view->m_backing->widget);
}

void View::RemoveFromSuperview() {
    View* superview = m_superview;
    if (!superview)
        return;
    Ref<View> hold(this);
    superview->WillRemoveSubview(this);
    ViewWillMoveToSuperview(nullptr);
    if (m_window)
        ViewWillMoveToWindow(nullptr);
    gtk_container_remove(GTK_CONTAINER(superview->m_backing->widget), m_backing->widget);
    auto& siblings = superview->m_subviews;
    siblings.erase(std::find(siblings.begin(), siblings.end(), hold));
    m_superview = nullptr;
    SetWindow(nullptr);
    ViewDidMoveToSuperview();
}

bool View::IsDescendantOf(const View* view) const {
    for (const View* v = this; v; v = v->m_superview)
        if (v == view)
            return true;
    return false;
}

void View::SetWindow(Window* window) {
    const bool changed = window != m_window;
    m_window = window;
    for (auto& subview : m_subviews) {
        if (changed)
            subview->ViewWillMoveToWindow(window);
        subview->SetWindow(window);
    }
    if (changed)
        ViewDidMoveToWindow();
}

View* View::HitTest(Point inSuperview) {
    if (m_hidden || !m_frame.Contains(inSuperview))
        return nullptr;
    Point local{inSuperview.x - m_frame.MinX(), inSuperview.y - m_frame.MinY()};
    if (m_superview && !m_superview->IsFlipped())
        local.y = m_frame.MaxY() - inSuperview.y;
    if (!IsFlipped())
        local.y = m_frame.size.height - local.y;
    for (auto it = m_subviews.rbegin(); it != m_subviews.rend(); ++it)
        if (View* hit = (*it)->HitTest(local))
            return hit;
    return this;
}

// The top-left of the view in its window's y-down coordinates.
Point View::OffsetInWindow() const {
    Point offset;
    for (const View* view = this; view; view = view->m_superview) {
        const View* parent = view->m_superview;
        const double top = parent && !parent->IsFlipped()
                               ? parent->m_frame.size.height - view->m_frame.MaxY()
                               : view->m_frame.MinY();
        offset.x += view->m_frame.MinX();
        offset.y += top;
    }
    return offset;
}

Point View::ConvertPointFromView(Point point, const View* from) const {
    // Through window coordinates (y down).
    Point inWindow = point;
    if (from) {
        if (!from->IsFlipped())
            inWindow.y = from->m_frame.size.height - inWindow.y;
        const Point offset = from->OffsetInWindow();
        inWindow = {inWindow.x + offset.x, inWindow.y + offset.y};
    }
    const Point offset = OffsetInWindow();
    Point local{inWindow.x - offset.x, inWindow.y - offset.y};
    if (!IsFlipped())
        local.y = m_frame.size.height - local.y;
    return local;
}

Point View::ConvertPointToView(Point point, const View* to) const {
    if (to)
        return to->ConvertPointFromView(point, this);
    Point local = point;
    if (!IsFlipped())
        local.y = m_frame.size.height - local.y;
    const Point offset = OffsetInWindow();
    return {local.x + offset.x, local.y + offset.y};
}

Rect View::ConvertRectToView(Rect rect, const View* to) const {
    const Point a = ConvertPointToView(rect.origin, to);
    const Point b = ConvertPointToView({rect.MaxX(), rect.MaxY()}, to);
    return {{std::min(a.x, b.x), std::min(a.y, b.y)}, {std::abs(b.x - a.x), std::abs(b.y - a.y)}};
}

Rect View::ConvertRectFromView(Rect rect, const View* from) const {
    const Point a = ConvertPointFromView(rect.origin, from);
    const Point b = ConvertPointFromView({rect.MaxX(), rect.MaxY()}, from);
    return {{std::min(a.x, b.x), std::min(a.y, b.y)}, {std::abs(b.x - a.x), std::abs(b.y - a.y)}};
}

void View::SetNeedsDisplayInRect(Rect rect) {
    const Rect dirty = Intersection(rect, Bounds());
    if (dirty.IsEmpty())
        return;
    const double top = IsFlipped() ? dirty.MinY() : m_frame.size.height - dirty.MaxY();
    const int x = static_cast<int>(std::floor(dirty.MinX()));
    const int y = static_cast<int>(std::floor(top));
    gtk_widget_queue_draw_area(m_backing->widget, x, y,
                               static_cast<int>(std::ceil(dirty.MaxX())) - x,
                               static_cast<int>(std::ceil(top + dirty.size.height)) - y);
}

void View::DrawRect(cairo_t*, Rect) {}

Responder* View::NextResponder() const {
    if (m_superview)
        return m_superview;
    return m_window;
}

} // namespace ak
