#include "winlayer/CursorTracker.h"

#include <cmath>

namespace winlayer {

namespace {

ak::Point Rounded(ak::Point p) {
    return {std::floor(p.x + 0.5), std::floor(p.y + 0.5)};
}

} // namespace

int CursorTracker::Show(bool show) {
    m_counter += show ? 1 : -1;
    if (!show && m_counter == -1) {
        if (!m_hidden) {
            m_anchor = Rounded(m_desk.MouseLocation());
            m_virtual = m_anchor;
        }
        m_desk.Hide();
        m_hidden = true;
    } else if (show && m_counter == 0 && m_hidden) {
        m_desk.Unhide();
        m_hidden = false;
        m_desk.Warp(m_virtual);
    }
    return m_counter;
}

ak::Point CursorTracker::Position() {
    return m_hidden ? m_virtual : Rounded(m_desk.MouseLocation());
}

bool CursorTracker::SetPosition(ak::Point onScreen) {
    if (!m_hidden)
        return m_desk.Warp(onScreen);
    m_virtual = Rounded(onScreen);
    return true;
}

ak::Point CursorTracker::Moved(ak::Point onScreen) {
    if (!m_hidden)
        return Rounded(onScreen);
    const ak::Point at = Rounded(onScreen);
    m_virtual.x += at.x - m_anchor.x;
    m_virtual.y += at.y - m_anchor.y;
    if (at.x != m_anchor.x || at.y != m_anchor.y)
        m_desk.Warp(m_anchor);
    return m_virtual;
}

} // namespace winlayer
