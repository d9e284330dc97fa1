#include "controls/IVPadPlotControls.h"

#include "toolkit/ICanvas.h"

#include <algorithm>

namespace vx::ui {

IVGroupControl::IVGroupControl(const IRECT& bounds, const char* label, const IVStyle& s,
                               IContainerFunc attach, IContainerFunc resize, float offset)
    : IContainerBase(bounds, std::move(attach), std::move(resize)), IVectorBase(s),
      labelOffset(offset) {
    AttachIControl(this);
    SetLabelStr(label);
    ignoreMouse = true;
}

IVGroupControl::IVGroupControl(const char* label, const char* name, const IVStyle& s, float l,
                               float t, float r, float b)
    : IContainerBase(IRECT()), IVectorBase(s), groupName(name ? name : ""), padL(l), padT(t),
      padR(r), padB(b) {
    AttachIControl(this);
    SetLabelStr(label);
    ignoreMouse = true;
}

void IVGroupControl::OnInit() {
    if (groupName.GetLength() > 0)
        SetBoundsBasedOnGroup(groupName.Get(), padL, padT, padR, padB);
}

void IVGroupControl::SetBoundsBasedOnGroup(const char* name, float l, float t, float r, float b) {
    groupName.SetBounded(name ? name : "");
    padL = l;
    padT = t;
    padR = r;
    padB = b;
    if (!graphics)
        return;
    IRECT members;
    graphics->ForEachControlInGroup(groupName.Get(), [&](IControl* c) {
        if (c != this && !c->GetRECT().Empty())
            members = members.Union(c->GetRECT());
    });
    // A group without members keeps an empty rectangle.
    if (!members.Empty())
        drawRect = {members.L - l, members.T - t, members.R + r, members.B + b};
    OnResize();
}

void IVGroupControl::OnResize() {
    IContainerBase::OnResize();
    targetRect = LayoutRects(drawRect, false);
    const float ft = style.frameThickness;
    widgetBounds.T -= (labelBounds.H() + ft) / 2.f;
    const float radius = std::min(widgetBounds.W(), widgetBounds.H()) / 2.f * style.roundness;
    if (!labelBounds.Empty()) {
        const IRECT widened = labelBounds;
        const float w = widened.W() + 2.f * labelMargin;
        const float left = drawRect.L + ft + labelOffset + radius;
        labelBounds = {left, widened.T, left + w, widened.B};
    }
    SetDirty(false, -1);
}

void IVGroupControl::Draw(ICanvas& g) {
    DrawLabel(g);
    const IRECT& w = widgetBounds;
    const float r = std::min(w.W(), w.H()) / 2.f * style.roundness;
    const float h = style.frameThickness / 2.f;
    float labelL = drawRect.MW(), labelR = drawRect.MW();
    if (!labelBounds.Empty()) {
        labelL = labelBounds.L;
        labelR = labelBounds.R;
    }
    g.PathReset();
    g.PathAddMove(labelR, w.T + h);
    g.PathAddArc(w.R - r - h, w.T + r + h, r, 0.f, 90.f);
    g.PathAddArc(w.R - r - h, w.B - r - h, r, 90.f, 180.f);
    g.PathAddArc(w.L + r + h, w.B - r - h, r, 180.f, 270.f);
    g.PathAddArc(w.L + r + h, w.T + r + h, r, 270.f, 360.f);
    g.PathAddLine(labelL, w.T + h);
    IStrokeStyle stroke;
    stroke.miterLimit = 10.f;
    g.PathStrokeCurrent(IFillPattern(GetColor(style.drawShadows ? kSH : kFR)), style.frameThickness,
                        stroke, nullptr);
}

} // namespace vx::ui
