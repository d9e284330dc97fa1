// Routing of input inside one window: a press goes to the deepest view under
// it, its drags and release follow that view, keys go to the first responder.
#include "platform/ak/Application.h"
#include "platform/ak/View.h"
#include "platform/ak/Window.h"

#include <algorithm>

namespace ak {

namespace {

void Deliver(View& view, const Event& event) {
    switch (event.type) {
    case EventType::LeftMouseDown:
        return view.MouseDown(event);
    case EventType::LeftMouseUp:
        return view.MouseUp(event);
    case EventType::LeftMouseDragged:
        return view.MouseDragged(event);
    case EventType::RightMouseDown:
        return view.RightMouseDown(event);
    case EventType::RightMouseUp:
        return view.RightMouseUp(event);
    case EventType::RightMouseDragged:
        return view.RightMouseDragged(event);
    case EventType::OtherMouseDown:
        return view.OtherMouseDown(event);
    case EventType::OtherMouseUp:
        return view.OtherMouseUp(event);
    case EventType::MouseMoved:
        return view.MouseMoved(event);
    case EventType::ScrollWheel:
        return view.ScrollWheel(event);
    case EventType::Magnify:
        return view.Magnify(event);
    case EventType::Rotate:
        return view.Rotate(event);
    case EventType::Swipe:
        return view.Swipe(event);
    default:
        return;
    }
}

bool IsDrag(EventType type) {
    return type == EventType::LeftMouseDragged || type == EventType::RightMouseDragged ||
           type == EventType::OtherMouseDragged;
}

// A view still in this window, not hidden: events to anything else are dropped.
bool CanReceive(const View* view, const Window* window) {
    return view && view->GetWindow() == window && !view->IsHiddenOrHasHiddenAncestor();
}

} // namespace

void Window::DispatchMouse(Event& event) {
    if (m_closed || m_ignoresMouse || !m_contentView)
        return;
    Ref<Window> hold(this);
    event.window = this;
    Ref<View> hit = m_contentView->HitTest(event.locationInWindow);
    if (event.IsMouseDown()) {
        const bool wasKey = IsKeyWindow();
        if (!wasKey)
            MakeKeyAndOrderFront();
        if (!hit || (!wasKey && !hit->AcceptsFirstMouse(&event)))
            return;
        m_pressTarget = hit;
        // As AppKit does: a left click gives the keyboard to the view it lands
        // on when that view takes it, so typing follows the click.
        if (event.type == EventType::LeftMouseDown && FirstResponder() != hit.Get() &&
            hit->AcceptsFirstResponder())
            MakeFirstResponder(hit.Get());
        if (!CanReceive(hit.Get(), this))
            return;
        UpdateHover(event, hit.Get());
        Deliver(*hit, event);
        return;
    }
    if (IsDrag(event.type) || event.IsMouseUp()) {
        Ref<View> target = m_pressTarget;
        if (event.IsMouseUp())
            m_pressTarget.Reset();
        if (IsDrag(event.type))
            UpdateHover(event, hit.Get());
        if (CanReceive(target.Get(), this))
            Deliver(*target, event);
        if (event.IsMouseUp())
            UpdateHover(event, hit.Get());
        return;
    }
    UpdateHover(event, hit.Get());
    if (CanReceive(hit.Get(), this))
        Deliver(*hit, event);
}

// Entered/exited over each tracking view's bounds: the views from the one
// under the pointer up to the content view.
void Window::UpdateHover(const Event& event, View* hit) {
    std::vector<Ref<View>> now;
    for (View* view = hit; view; view = view->Superview())
        if (view->TracksMouseEnterExit())
            now.emplace_back(view);
    const auto old = std::exchange(m_hovered, now);
    Event crossing = event;
    crossing.type = EventType::MouseExited;
    for (const auto& view : old)
        if (std::find(now.begin(), now.end(), view) == now.end() && view->GetWindow() == this)
            view->MouseExited(crossing);
    crossing.type = EventType::MouseEntered;
    for (auto it = now.rbegin(); it != now.rend(); ++it)
        if (std::find(old.begin(), old.end(), *it) == old.end())
            (*it)->MouseEntered(crossing);
}

void Window::MouseLeftWindow(const Event& event) {
    Ref<Window> hold(this);
    UpdateHover(event, nullptr);
}

void Window::CancelPress() {
    m_pressTarget.Reset();
}

bool Window::DispatchKey(const Event& event) {
    if (m_closed)
        return false;
    Ref<Window> hold(this);
    Ref<Responder> target = m_firstResponder ? m_firstResponder : Ref<Responder>(this);
    m_keyUnhandled = false;
    if (event.type == EventType::KeyDown)
        target->KeyDown(event);
    else if (event.type == EventType::KeyUp)
        target->KeyUp(event);
    else
        return false;
    return !m_keyUnhandled;
}

} // namespace ak
