#include "controls/IVSliderControls.h"

#include "toolkit/ICanvas.h"

#include <algorithm>

namespace vx::ui {

IVRangeSliderControl::IVRangeSliderControl(const IRECT& bounds, std::initializer_list<int> params,
                                           const char* label, const IVStyle& s, EDirection dir,
                                           float handle, float track)
    : IVTrackControlBase(bounds, label, s, params, 0, dir), handleSize(handle) {
    trackSize = track;
}

void IVRangeSliderControl::MakeTrackRects(const IRECT& b) {
    trackBounds.clear();
    const float hs = handleSize, ts = trackSize;
    const IRECT shared = direction == EDirection::Vertical
                             ? IRECT{b.MW() - ts, b.T + hs, b.MW() + ts, b.B - hs}
                             : IRECT{b.L + hs, b.MH() - ts, b.R - hs, b.MH() + ts};
    for (int i = 0; i < NVals(); ++i)
        trackBounds.push_back(shared);
}

float IVRangeSliderControl::Along(const IRECT& r, double v) const {
    const float f = static_cast<float>(v);
    return direction == EDirection::Horizontal ? r.L + r.W() * f : r.B - r.H() * f;
}

IRECT IVRangeSliderControl::HandleBounds(int i) const {
    if (i < 0 || i >= NTracks())
        return {};
    const IRECT& r = GetTrackBounds(i);
    const float hs = handleSize, ts = trackSize;
    const float o = style.drawShadows && shape != EVShape::Ellipse ? style.shadowOffset / 2.f : 0.f;
    const float p = Along(r, GetValue(i));
    const bool odd = i % 2 == 1;
    if (direction == EDirection::Horizontal) {
        const float m = r.MH() + o;
        return odd ? IRECT{p - hs, m - 2.f * hs, p + hs, m}
                   : IRECT{p - hs, m + ts, p + hs, m + ts + 2.f * hs};
    }
    const float m = r.MW() + o;
    return odd ? IRECT{m + ts, p - hs, m + ts + 2.f * hs, p + hs}
               : IRECT{m - 2.f * hs, p - hs, m, p + hs};
}

void IVRangeSliderControl::Draw(ICanvas& g) {
    DrawBackground(g, drawRect);
    DrawLabel(g);
    DrawWidget(g);
}

void IVRangeSliderControl::DrawWidget(ICanvas& g) {
    if (NTracks() == 0)
        return;
    const IRECT& track = GetTrackBounds(0);
    DrawTrackBackground(g, track, 0);
    for (int i = 0; i + 1 < NTracks(); ++i) {
        const float a = Along(track, GetValue(i)), b = Along(track, GetValue(i + 1));
        const IRECT between = direction == EDirection::Horizontal
                                  ? IRECT{std::min(a, b), track.T, std::max(a, b), track.B}
                                  : IRECT{track.L, std::min(a, b), track.R, std::max(a, b)};
        g.FillRect(GetColor(kX1), between, &blend);
    }
    if (style.drawFrame && drawTrackFrame)
        g.DrawRect(GetColor(kFR), track, &blend, style.frameThickness);
    for (int i = 0; i < NTracks(); ++i)
        DrawTrack(g, GetTrackBounds(i), i);
}

void IVRangeSliderControl::DrawTrack(ICanvas& g, const IRECT&, int i) {
    const bool even = i % 2 == 0;
    const float angle =
        direction == EDirection::Horizontal ? (even ? 0.f : 180.f) : (even ? 90.f : 270.f);
    DrawPushableTriangle(g, HandleBounds(i), i == activeHandle && mouseDown, i == activeHandle,
                         disabled, angle);
}

void IVRangeSliderControl::OnMouseOver(float x, float y, const IMouseMod& mod) {
    activeHandle = -1;
    for (int i = 0; i < NTracks() && activeHandle < 0; ++i)
        if (HandleBounds(i).ContainsPoint(x, y))
            activeHandle = i;
    IControl::OnMouseOver(x, y, mod);
    SetDirty(false);
}

void IVRangeSliderControl::OnMouseOut() {
    activeHandle = -1;
    IVTrackControlBase::OnMouseOut();
}

void IVRangeSliderControl::OnMouseDown(float x, float y, const IMouseMod& mod) {
    mouseDown = true;
    OnMouseDrag(x, y, 0.f, 0.f, mod);
}

void IVRangeSliderControl::OnMouseDrag(float x, float y, float, float, const IMouseMod&) {
    if (activeHandle < 0 || activeHandle >= NVals())
        return;
    // Neighbours bound the handle, so handles never cross.
    const double lo = activeHandle > 0 ? GetValue(activeHandle - 1) : 0.0;
    const double hi = activeHandle + 1 < NVals() ? GetValue(activeHandle + 1) : 1.0;
    SetValueFromPointer(x, y, direction, widgetBounds, activeHandle, lo, hi);
}

void IVRangeSliderControl::OnMouseUp(float, float, const IMouseMod&) {
    mouseDown = false;
    SetDirty(false);
}

} // namespace vx::ui
