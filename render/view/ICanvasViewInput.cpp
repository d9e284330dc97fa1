#include "platform/ak/Cursor.h"
#include "platform/ak/Event.h"
#include "render/view/ICanvasMac.h"
#include "render/view/ICanvasView.h"
#include "render/view/InputTranslation.h"

#include <vector>

namespace vx::ui {

IMouseInfo ICanvasView::MouseInfoOf(const ak::Event& event, bool right) {
    IMouseInfo info;
    const ak::Point p = ConvertPointFromView(event.locationInWindow, nullptr);
    const float scale = canvas->GetDrawScale();
    info.x = float(p.x) / scale;
    info.y = float(p.y) / scale;
    if (canvas->CursorHeldAtHidePosition()) {
        // The locked cursor goes back where it was hidden; deltas count from there.
        canvas->ReturnCursorToHidePosition();
        canvas->LastCursorPosition(prevX, prevY);
    } else {
        canvas->NoteCursorPosition(info.x, info.y);
        prevX = info.x;
        prevY = info.y;
    }
    canvas->NoteTabletInput(event.subtype == ak::kTabletPointSubtype);
    info.ms = right ? RightMouseMod(event.modifierFlags) : LeftMouseMod(event.modifierFlags);
    return info;
}

void ICanvasView::PressOrDoubleClick(const ak::Event& event, bool right) {
    if (!canvas)
        return;
    const IMouseInfo info = MouseInfoOf(event, right);
    if (ClickCountIsDouble(event.clickCount))
        canvas->OnMouseDoubleClick(info.x, info.y, info.ms);
    else
        canvas->OnMouseDown({info});
}

void ICanvasView::MouseDown(const ak::Event& event) {
    PressOrDoubleClick(event, false);
}

void ICanvasView::RightMouseDown(const ak::Event& event) {
    PressOrDoubleClick(event, true);
}

void ICanvasView::MouseUp(const ak::Event& event) {
    if (!canvas)
        return;
    canvas->OnMouseUp({MouseInfoOf(event, false)});
    if (mouseOutDuringDrag && canvas) {
        mouseOutDuringDrag = false;
        canvas->OnMouseOut();
    }
}

void ICanvasView::RightMouseUp(const ak::Event& event) {
    if (canvas)
        canvas->OnMouseUp({MouseInfoOf(event, true)});
}

void ICanvasView::Drag(const ak::Event& event, bool right) {
    if (!canvas)
        return;
    const float fromX = prevX, fromY = prevY;
    IMouseInfo info = MouseInfoOf(event, right);
    info.dX = info.x - fromX;
    info.dY = info.y - fromY;
    // A native entry is open: the panel keeps still under it.
    if (canvas->GetControlInTextEntry() && !canvas->GetTextEntryControl())
        return;
    canvas->OnMouseDrag({info});
}

void ICanvasView::MouseDragged(const ak::Event& event) {
    Drag(event, false);
}

void ICanvasView::RightMouseDragged(const ak::Event& event) {
    Drag(event, true);
}

void ICanvasView::MouseMoved(const ak::Event& event) {
    if (!canvas)
        return;
    const IMouseInfo info = MouseInfoOf(event, false);
    canvas->OnMouseOver(info.x, info.y, info.ms);
}

void ICanvasView::MouseEntered(const ak::Event&) {
    if (!canvas)
        return;
    mouseOutDuringDrag = false;
    canvas->SetCursorShape(canvas->CursorShape());
}

void ICanvasView::MouseExited(const ak::Event&) {
    if (!canvas)
        return;
    if (canvas->ControlIsCaptured())
        mouseOutDuringDrag = true; // the mouse-out follows the mouse-up
    else
        canvas->OnMouseOut();
}

void ICanvasView::ScrollWheel(const ak::Event& event) {
    if (!canvas)
        return;
    EndUserInput();
    const IMouseInfo info = MouseInfoOf(event, false);
    canvas->OnMouseWheel(info.x, info.y, info.ms, float(event.deltaY));
}

void ICanvasView::Key(const ak::Event& event, bool down) {
    const IKeyPress key =
        TranslateKey(event.keyCode, event.charactersIgnoringModifiers, event.modifierFlags);
    const bool handled = canvas && (down ? canvas->OnKeyDown(prevX, prevY, key)
                                         : canvas->OnKeyUp(prevX, prevY, key));
    if (!handled)
        down ? View::KeyDown(event) : View::KeyUp(event);
}

void ICanvasView::KeyDown(const ak::Event& event) {
    Key(event, true);
}

void ICanvasView::KeyUp(const ak::Event& event) {
    Key(event, false);
}

bool ICanvasView::PerformDrop(const ak::FileDrag& drag) {
    // A drop that names no file is refused rather than reported as done.
    if (!canvas || drag.paths.empty())
        return false;
    const float scale = canvas->GetDrawScale();
    const float x = float(drag.location.x) / scale, y = float(drag.location.y) / scale;
    if (drag.paths.size() == 1) {
        canvas->OnDrop(drag.paths.front().c_str(), x, y);
        return true;
    }
    std::vector<const char*> paths;
    for (const std::string& path : drag.paths)
        paths.push_back(path.c_str());
    canvas->OnDropMultiple(paths, x, y);
    return true;
}

void ICanvasView::SetMouseCursor(int kind) {
    const bool known = kind >= 0 && kind <= 13;
    // 12 is the busy-but-clickable pointer like 2.
    const int shape = !known ? 0 : kind == 12 ? 2 : kind;
    ak::Cursor::WithShape(static_cast<ak::CursorShape>(shape))->Set();
}

} // namespace vx::ui
