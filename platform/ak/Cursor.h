#pragma once

#include "platform/ak/Geometry.h"
#include "platform/ak/Image.h"
#include "platform/ak/Object.h"

namespace ak {

enum class CursorShape {
    Arrow,
    IBeam,
    Busy,
    Crosshair,
    ResizeUp,
    ResizeNorthWestSouthEast,
    ResizeNorthEastSouthWest,
    ResizeLeftRight,
    ResizeUpDown,
    Move,
    NotAllowed,
    PointingHand,
    Help,
    OpenHand,
    ClosedHand,
};

// A mouse cursor: one of the desktop's shapes or an image with a hot spot.
class Cursor : public Object {
public:
    static Ref<Cursor> WithShape(CursorShape shape);
    // hotSpot in the image's points; clamped into it.
    static Ref<Cursor> FromImage(Image* image, Point hotSpot);

    // The desktop's name of the shape ("default", "text", ...).
    static const char* ShapeName(CursorShape shape);

    // Shows this cursor over all our windows.
    void Set();
    static Cursor* Current();

    // While hidden no cursor shows over our windows.
    static void Hide();
    static void Unhide();
    static bool IsHidden();
    // In y-down screen points.
    static void Warp(Point onScreen);
    static Point MouseLocation();

    void* NativeCursor() const { return m_cursor; }

private:
    explicit Cursor(void* cursor) : m_cursor(cursor) {}
    ~Cursor() override;
    void* m_cursor; // GdkCursor, owned
};

} // namespace ak
