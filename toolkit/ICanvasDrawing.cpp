// The dirty test, the frame and per-control clipping.
#include "toolkit/ICanvas.h"

#include <algorithm>
#include <cmath>

namespace vx::ui {

namespace {

constexpr float kDirtyMargin = 0.75f;

} // namespace

// The grown draw rectangle, kept inside every ancestor's grown draw rectangle.
// Intersecting (rather than shifting) keeps it inside the area really repainted.
IRECT ICanvas::DirtyRectOf(const IControl* control) const {
    IRECT r = control->GetRECT().GetPadded(kDirtyMargin);
    for (const IControl* a = control->GetParent(); a; a = a->GetParent())
        r = r.Intersect(a->GetRECT().GetPadded(kDirtyMargin));
    return r;
}

bool ICanvas::IsDirty(IRECTList& rects) {
    AssertMainThread();
    if (frameCallback)
        frameCallback();
    // Nothing became dirty since a walk found every control clean.
    if (!mayBeDirty)
        return false;
    ForEveryControl([](IControl* c) { c->Animate(); });
    bool dirty = false;
    bool anyDirty = false; // also one with nothing to draw, or kept dirty by its class
    ForEveryControl([&](IControl* c) {
        if (!c->IsDirty())
            return;
        anyDirty = true;
        const IRECT r = DirtyRectOf(c);
        if (r.W() > 0.f && r.H() > 0.f) {
            rects.Add(r);
            dirty = true;
        }
    });
    // Whatever is dirty now is cleaned after drawing, so the next tick walks
    // once more and finds out whether anything (an animation) stays dirty.
    mayBeDirty = anyDirty;
    return dirty;
}

void ICanvas::DrawAllDirty(IRECTList& rects) {
    AssertMainThread();
    if (rects.Size() == 0)
        return;
    const float scale = GetTotalScale();
    StartDrawFrame();
    if (drawUnionOfDirtyRects) {
        Draw(rects.Bounds().GetPixelSnapped(scale), scale);
    } else {
        rects.PixelSnap(scale);
        rects.MergeAdjacent();
        for (int i = 0; i < rects.Size(); ++i)
            Draw(rects.Get(i), scale);
    }
    FinishDrawFrame();
}

void ICanvas::Draw(const IRECT& rect, float scale) {
    ForEveryControl([&](IControl* c) { DrawOneControl(c, rect, scale); });
}

bool ICanvas::ClipToAncestors(const IControl* control, IRECT& clip, float scale) const {
    for (const IControl* a = control->GetParent(); a; a = a->GetParent()) {
        const IRECT p = a->GetRECT().GetPadded(kDirtyMargin).GetPixelSnapped(scale);
        if (!clip.Intersects(p))
            return false;
        clip = clip.Intersect(p);
        if (clip.W() <= 0.f || clip.H() <= 0.f)
            return false;
    }
    return true;
}

void ICanvas::DrawOneControl(IControl* control, const IRECT& rect, float scale) {
    if (!control || (control->IsHidden() && control != controls.Get(0)))
        return;
    const IRECT c = control->GetRECT().GetPadded(kDirtyMargin).GetPixelSnapped(scale);
    if (!rect.Intersects(c))
        return;
    IRECT clip = c.Intersect(rect);
    if (clip.W() <= 0.f || clip.H() <= 0.f || !ClipToAncestors(control, clip, scale))
        return;
    PrepareDrawRegion(clip);
    control->Draw(*this);
    AfterControlDrawn(clip);
}

void ICanvas::PrepareDrawRegion(const IRECT& clip) {
    transformStack.clear();
    transform = IAffineMatrix();
    PathSetTransform(transform);
    PathReset();
    SetClipRect(clip);
    clipRect = clip;
}

void ICanvas::SetDrawUnionOfDirtyRects(bool on) {
    drawUnionOfDirtyRects = on;
    MarkAllControlsDirty();
}

void ICanvas::StartDrawFrame() {
    if (!fpsDisplay)
        return;
    const double t = MonotonicMs() / 1000.0;
    fpsDisplay->AddFrameTime(static_cast<float>(t - lastFrameTime));
    lastFrameTime = t;
}

} // namespace vx::ui
