// The value bubble: which bubble shows a control's value, and where.
#include "toolkit/ICanvas.h"

#include <atomic>

namespace vx::ui {

void ICanvas::ShowValueBubble(IControl* control, const char* text, int direction, float x, float y,
                              const IRECT& minContent) {
    if (bubbleControls.GetSize() == 0 || !control)
        return;
    if (!multiTouch) {
        ShowBubbleOn(*bubbleControls.Get(0), control, text, direction, x, y, minContent, 0);
        return;
    }
    int64_t touch = 0;
    int touches = 0;
    for (const auto& [id, captured] : capturedMap)
        if (captured == control) {
            touch = id;
            ++touches;
        }
    if (touches != 1)
        return;
    IBubbleControl* bubble = nullptr;
    for (int i = 0; i < bubbleControls.GetSize() && !bubble; ++i)
        if (bubbleControls.Get(i)->touchId == touch)
            bubble = bubbleControls.Get(i);
    if (!bubble) {
        // Shared by every context: successive touches take the bubbles in turn.
        static std::atomic<unsigned> next{0};
        bubble = bubbleControls.Get(static_cast<int>(next++ % unsigned(bubbleControls.GetSize())));
    }
    ShowBubbleOn(*bubble, control, text, direction, x, y, minContent, touch);
}

void ICanvas::ShowBubbleOn(IBubbleControl& b, IControl* control, const char* text, int direction,
                           float x, float y, const IRECT& minContent, int64_t touchId) {
    if (b.maxBounds.W() == 0.f)
        b.maxBounds = GetBounds();
    b.direction = direction;
    b.touchId = touchId;
    b.content.SetBounded(text ? text : "");
    IRECT t;
    b.MeasureContent(b.content.Get(), t);
    if (!minContent.Empty()) {
        if (t.W() < minContent.W())
            t.R = t.L + minContent.W();
        if (t.H() < minContent.H())
            t.B = t.T + minContent.H();
    }
    const float s = b.shadowSize, h = b.hPadding;
    t = {t.L - h - s, t.T - s, t.R + h + s, t.B + s};
    const float w = t.W(), ht = t.H();
    const IRECT& c = control->GetRECT();
    IRECT bubble;
    if (direction == 1) {
        bubble = {x, y - ht / 2.f, x + w, y + ht / 2.f};
        if (bubble.R > b.maxBounds.R - (h + s)) {
            bubble = bubble.GetTranslated(-(bubble.R - c.L), 0.f);
            b.arrowSide = 1;
        } else {
            b.arrowSide = 3;
        }
    } else {
        bubble = {x - w / 2.f, y - ht, x + w / 2.f, y};
        if (bubble.T < b.maxBounds.T) {
            bubble = bubble.GetTranslated(0.f, c.B - bubble.T);
            b.arrowSide = 0;
        } else {
            b.arrowSide = 2;
        }
    }
    b.bubbleBounds = bubble;
    b.drawRect = b.drawRect.Union(bubble);
    b.mouseIsOver = false;
    b.OnResize();
    if (b.state == IBubbleControl::kCollapsed) {
        b.Hide(false);
        b.state = IBubbleControl::kExpanding;
        b.SetDirty(true, -1); // starts the fade-in
    }
    if (control != b.caller) {
        b.drawRect = bubble;
        MarkAllControlsDirty();
        b.caller = control;
    }
}

} // namespace vx::ui
