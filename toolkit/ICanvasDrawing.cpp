// The dirty test, the frame and per-control clipping.
#include "toolkit/ICanvas.h"

#include <algorithm>
#include <cmath>

namespace vx::ui {

namespace {

constexpr float kDirtyMargin = 0.75f;

// Whole device pixels, edges inclusive-exclusive.
struct PixelBox {
    long l = 0, t = 0, r = 0, b = 0;

    bool Empty() const { return r <= l || b <= t; }
    bool Contains(const PixelBox& o) const {
        return !Empty() && !o.Empty() && l <= o.l && t <= o.t && r >= o.r && b >= o.b;
    }
    PixelBox Intersect(const PixelBox& o) const {
        return {std::max(l, o.l), std::max(t, o.t), std::min(r, o.r), std::min(b, o.b)};
    }
    PixelBox Shrunk(long n) const { return {l + n, t + n, r - n, b - n}; }
};

// Every pixel the rectangle touches.
PixelBox Outward(const IRECT& r, float s) {
    return {long(std::floor(r.L * s)), long(std::floor(r.T * s)), long(std::ceil(r.R * s)),
            long(std::ceil(r.B * s))};
}

// The pixels the rectangle holds whole.
PixelBox Inward(const IRECT& r, float s) {
    return {long(std::ceil(r.L * s)), long(std::ceil(r.T * s)), long(std::floor(r.R * s)),
            long(std::floor(r.B * s))};
}

// At a power-of-two scale panel coordinates land on device pixels exactly, so
// a pixel whose centre lies half a pixel inside an edge (of a fill or of the
// clip) gets a coverage of exactly one. At other scales it may fall short by a
// rounding step and let what lies under it through, so the edge pixels do not
// count as hidden.
bool ScaleIsExact(float s) {
    int exponent = 0;
    return s > 0.f && std::frexp(s, &exponent) == 0.5f;
}

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
    if (!skipHiddenControls) {
        ForEveryControl([&](IControl* c) { DrawOneControl(c, rect, scale); });
        return;
    }
    drawOrder.clear();
    ForEveryControl([this](IControl* c) { drawOrder.push_back(c); });
    // What each opaque control certainly covers within its own clip.
    struct Cover {
        size_t index;
        PixelBox box;
    };
    std::vector<Cover> covers;
    const bool exact = ScaleIsExact(scale);
    for (size_t i = 0; i < drawOrder.size(); ++i) {
        IControl* c = drawOrder[i];
        IRECT clip;
        if (!c || !ClipOf(c, rect, scale, clip))
            continue;
        const IRECT opaque = c->OpaqueBounds();
        if (opaque.Empty())
            continue;
        PixelBox inner = Inward(opaque, scale), within = Inward(clip, scale);
        if (!exact) {
            inner = inner.Shrunk(1);
            within = within.Shrunk(1);
        }
        const PixelBox box = inner.Intersect(within);
        if (!box.Empty())
            covers.push_back({i, box});
    }
    // Pixels outside the target do not exist, so they need no cover.
    const PixelBox target{0, 0, long(std::ceil(float(width) * scale)),
                          long(std::ceil(float(height) * scale))};
    for (size_t i = 0; i < drawOrder.size(); ++i) {
        IControl* c = drawOrder[i];
        IRECT clip;
        if (!c || !ClipOf(c, rect, scale, clip))
            continue;
        const PixelBox seen = Outward(clip, scale).Intersect(target);
        const bool hidden = std::any_of(covers.begin(), covers.end(), [&](const Cover& cover) {
            return cover.index > i && cover.box.Contains(seen);
        });
        if (hidden) {
            ++skippedDraws;
            continue;
        }
        DrawClipped(c, clip);
    }
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

bool ICanvas::ClipOf(const IControl* control, const IRECT& rect, float scale, IRECT& clip) const {
    if (!control || (control->IsHidden() && control != controls.Get(0)))
        return false;
    const IRECT c = control->GetRECT().GetPadded(kDirtyMargin).GetPixelSnapped(scale);
    if (!rect.Intersects(c))
        return false;
    clip = c.Intersect(rect);
    return clip.W() > 0.f && clip.H() > 0.f && ClipToAncestors(control, clip, scale);
}

void ICanvas::DrawOneControl(IControl* control, const IRECT& rect, float scale) {
    IRECT clip;
    if (ClipOf(control, rect, scale, clip))
        DrawClipped(control, clip);
}

void ICanvas::DrawClipped(IControl* control, const IRECT& clip) {
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
