#include "controls/IVSliderControls.h"

#include "toolkit/ICanvas.h"

#include <algorithm>

namespace vx::ui {

IVTrackControlBase::IVTrackControlBase(const IRECT& bounds, const char* label, const IVStyle& s,
                                       std::initializer_list<int> params, int steps, EDirection dir,
                                       const char* const* names, int nNames)
    : IControl(bounds, params, nullptr), IVectorBase(s), direction(dir), stepCount(steps) {
    AttachIControl(this);
    SetLabelStr(label);
    for (int i = 0; names && i < nNames; ++i)
        trackNames.push_back(std::make_unique<VxString>(names[i] ? names[i] : ""));
}

void IVTrackControlBase::Draw(ICanvas& g) {
    DrawBackground(g, drawRect);
    DrawLabel(g);
    DrawWidget(g);
}

void IVTrackControlBase::DrawBackground(ICanvas& g, const IRECT& r) {
    g.FillRect(GetColor(kBG), r, &blend);
    if (!(baseValue > 0.0))
        return;
    const float b = static_cast<float>(baseValue);
    if (direction == EDirection::Horizontal)
        g.DrawVerticalLine(GetColor(kSH), r, b, &blend, 1.f);
    else
        g.DrawHorizontalLine(GetColor(kSH), r, b, &blend, 1.f);
}

void IVTrackControlBase::DrawWidget(ICanvas& g) {
    for (int i = 0; i < NTracks(); ++i)
        DrawTrack(g, GetTrackBounds(i), i);
}

IRECT IVTrackControlBase::FillOf(const IRECT& r, double v) const {
    double lo = 0.0, hi = v;
    if (baseValue > 0.0) {
        lo = std::min(v, baseValue);
        hi = std::max(v, baseValue);
    }
    const float f0 = static_cast<float>(lo), f1 = static_cast<float>(hi);
    if (direction == EDirection::Horizontal)
        return {r.L + f0 * r.W(), r.T, r.L + f1 * r.W(), r.B};
    return {r.L, r.B - f1 * r.H(), r.R, r.B - f0 * r.H()};
}

void IVTrackControlBase::DrawTrack(ICanvas& g, const IRECT& r, int i) {
    DrawTrackBackground(g, r, i);
    if (!trackNames.empty())
        DrawTrackName(g, r, i);
    const double v = GetValue(i);
    const IRECT fill = FillOf(r, v);
    const bool horizontal = direction == EDirection::Horizontal;
    const bool belowBase = baseValue > 0.0 && v < baseValue;
    if (stepBounds.empty()) {
        DrawTrackValue(g, fill, i);
        IRECT peak;
        if (horizontal)
            peak = belowBase ? IRECT{fill.L, r.T, fill.L + peakSize, r.B}
                             : IRECT{fill.R - peakSize, r.T, fill.R, r.B};
        else
            peak = belowBase ? IRECT{r.L, fill.B - peakSize, r.R, fill.B}
                             : IRECT{r.L, fill.T, r.R, fill.T + peakSize};
        DrawPeak(g, peak);
    } else {
        float end = horizontal ? fill.R : fill.T;
        if (!horizontal && zeroValueStep && v == 0.0)
            end = stepBounds.front().T;
        for (const IRECT& step : stepBounds) {
            const bool holds =
                horizontal ? step.L <= end && end <= step.R : step.T <= end && end <= step.B;
            if (!holds)
                continue;
            const IRECT cell =
                horizontal ? IRECT{step.L, r.T, step.R, r.B} : IRECT{r.L, step.T, r.R, step.B};
            if (zeroValueStep || v > 0.0)
                DrawTrackValue(g, cell, i);
            break;
        }
    }
    if (style.drawFrame && drawTrackFrame)
        g.DrawRect(GetColor(kFR), r, &blend, style.frameThickness);
}

void IVTrackControlBase::DrawTrackBackground(ICanvas& g, const IRECT& r, int i) {
    g.FillRect(i == highlightedTrack ? GetColor(kHL) : IColor(0, 0, 0, 0), r, &blend);
}

void IVTrackControlBase::DrawTrackName(ICanvas& g, const IRECT& r, int i) {
    const bool named = i >= 0 && i < static_cast<int>(trackNames.size());
    g.DrawText(text, named ? trackNames[static_cast<size_t>(i)]->Get() : "", r, &blend);
}

void IVTrackControlBase::DrawTrackValue(ICanvas& g, const IRECT& r, int i) {
    g.FillRect(GetColor(i == highlightedTrack ? kX1 : kFG), r, &blend);
    if (i == mouseOverTrack)
        g.FillRect(GetColor(kHL), r, &blend);
}

void IVTrackControlBase::DrawPeak(ICanvas& g, const IRECT& r) {
    g.FillRect(GetColor(kFR), r, &blend);
}

void IVTrackControlBase::MakeTrackRects(const IRECT& b) {
    trackBounds.clear();
    const int n = NVals();
    if (n < 1)
        return;
    for (int i = 0; i < n; ++i) {
        const float fi = static_cast<float>(i);
        if (direction == EDirection::Vertical) {
            const float w = b.W() / static_cast<float>(n);
            trackBounds.push_back(
                {b.L + fi * w, b.T, b.L + (fi + 1.f) * w - trackGap, b.B - trackGap});
        } else {
            const float h = b.H() / static_cast<float>(n);
            trackBounds.push_back(
                {b.L, b.T + fi * h + trackGap, b.R, b.T + (fi + 1.f) * h - trackGap});
        }
    }
}

void IVTrackControlBase::MakeStepRects(const IRECT& b, int steps) {
    stepBounds.clear();
    if (steps <= 0)
        return;
    const int count = zeroValueStep ? steps + 1 : steps;
    const float n = static_cast<float>(count);
    for (int k = 0; k < count; ++k) {
        const float from = static_cast<float>(count - 1 - k), to = static_cast<float>(count - k);
        if (direction == EDirection::Horizontal) {
            const float w = b.W() / n;
            stepBounds.push_back({b.L + from * w, b.T, b.L + to * w, b.B});
        } else {
            const float h = b.H() / n;
            stepBounds.push_back({b.L, b.T + from * h, b.R, b.T + to * h});
        }
    }
}

int IVTrackControlBase::ValueSlotAtPoint(float x, float y) const {
    for (int i = 0; i < NTracks(); ++i)
        if (GetTrackBounds(i).ContainsPoint(x, y))
            return i;
    return -1;
}

void IVTrackControlBase::OnMouseOver(float x, float y, const IMouseMod& mod) {
    mouseOverTrack = ValueSlotAtPoint(x, y);
    IControl::OnMouseOver(x, y, mod);
    SetDirty(false);
}

void IVTrackControlBase::OnMouseOut() {
    mouseOverTrack = -1;
    IControl::OnMouseOut();
}

void IVTrackControlBase::OnResize() {
    targetRect = LayoutRects(drawRect, false);
    mouseIsOver = false;
    MakeTrackRects(widgetBounds);
    MakeStepRects(widgetBounds, stepCount);
    SetDirty(false);
}

} // namespace vx::ui
