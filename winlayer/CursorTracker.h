#pragma once

#include "platform/ak/Geometry.h"

namespace winlayer {

// The desktop side of the cursor: where the pointer is, showing, hiding and
// moving it. Screen points, y down.
class CursorDesk {
public:
    virtual ~CursorDesk() = default;
    virtual ak::Point MouseLocation() = 0;
    virtual void Hide() = 0;
    virtual void Unhide() = 0;
    virtual bool Warp(ak::Point onScreen) = 0;
};

// The show counter and, while the cursor is hidden, the virtual position
// that relative motion moves; the pointer itself stays where it hid.
class CursorTracker {
public:
    explicit CursorTracker(CursorDesk& desk) : m_desk(desk) {}

    // Raises (show) or lowers the counter; only the steps between -1 and 0
    // hide or show. Answers the new counter.
    int Show(bool show);
    bool IsVisible() const { return m_counter >= 0; }
    bool IsHidden() const { return m_hidden; }
    // Rounded to whole points.
    ak::Point Position();
    // Hidden: only the virtual position moves.
    bool SetPosition(ak::Point onScreen);
    // A motion seen at a screen point while hidden: the virtual position
    // moves by its distance from where the cursor hid, and the pointer goes
    // back there. Answers the virtual position.
    ak::Point Moved(ak::Point onScreen);

private:
    CursorDesk& m_desk;
    int m_counter = 0;
    bool m_hidden = false;
    ak::Point m_virtual;
    ak::Point m_anchor;
};

} // namespace winlayer
