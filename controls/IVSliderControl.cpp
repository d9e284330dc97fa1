#include "controls/IVSliderControls.h"

#include "framework/IParam.h"
#include "toolkit/ICanvas.h"

#include <algorithm>

namespace vx::ui {

IVSliderControl::IVSliderControl(const IRECT& bounds, int paramIdx, const char* label,
                                 const IVStyle& s, bool valueIsEditable, double gear, float handle,
                                 float track, float offX, float offY, EDirection dir, bool inside)
    : ISliderControlBase(bounds, paramIdx, dir, gear, handle), IVectorBase(s),
      handleInsideTrack(inside), handleOffsetX(offX), handleOffsetY(offY) {
    SetUp(s, valueIsEditable, track);
    SetLabelStr(label);
}

IVSliderControl::IVSliderControl(const IRECT& bounds, IActionFunction action, const char* label,
                                 const IVStyle& s, bool valueIsEditable, double gear, float handle,
                                 float track, float offX, float offY, EDirection dir, bool inside)
    : ISliderControlBase(bounds, std::move(action), dir, gear, handle), IVectorBase(s),
      handleInsideTrack(inside), handleOffsetX(offX), handleOffsetY(offY) {
    SetUp(s, valueIsEditable, track);
    SetLabelStr(label);
}

void IVSliderControl::SetUp(const IVStyle& s, bool valueIsEditable, float track) {
    AttachIControl(this);
    shape = EVShape::Ellipse;
    trackSize = track;
    hideCursorOnDrag = s.hideCursor;
    text = s.valueText;
    textEntryDisabled = !valueIsEditable;
}

void IVSliderControl::Draw(ICanvas& g) {
    DrawBackground(g, drawRect);
    DrawLabel(g);
    DrawWidget(g);
    DrawValue(g, valueMouseOver);
}

IRECT IVSliderControl::FilledPart() const {
    const float v = static_cast<float>(GetValue(0));
    const IRECT& t = trackRect;
    if (direction == EDirection::Vertical)
        return {t.L, t.B - t.H() * v, t.R, t.B};
    return {t.L, t.T, t.L + t.W() * v, t.B};
}

void IVSliderControl::HandleCentre(float& cx, float& cy) const {
    const IRECT filled = FilledPart();
    const float o = style.drawShadows && shape != EVShape::Ellipse ? style.shadowOffset / 2.f : 0.f;
    if (direction == EDirection::Vertical) {
        cx = filled.MW() + o;
        cy = filled.T;
    } else {
        cx = filled.R;
        cy = filled.MH() + o;
    }
    cx += handleOffsetX;
    cy += handleOffsetY;
}

void IVSliderControl::DrawWidget(ICanvas& g) {
    if (trackSize > 0.f)
        DrawTrack(g, FilledPart());
    if (!(handleSize > 0.f))
        return;
    float cx = 0.f, cy = 0.f;
    HandleCentre(cx, cy);
    DrawHandle(g, {cx - handleSize, cy - handleSize, cx + handleSize, cy + handleSize});
}

void IVSliderControl::DrawTrack(ICanvas& g, const IRECT& filled) {
    const float p = handleInsideTrack ? handleSize : 0.f;
    IRECT track = trackRect, fill = filled;
    if (direction == EDirection::Vertical) {
        track = {track.L, track.T - p, track.R, track.B + p};
        fill = {fill.L, fill.T - p, fill.R, fill.B + p};
    } else {
        track = {track.L - p, track.T, track.R + p, track.B};
        fill = {fill.L - p, fill.T, fill.R + p, fill.B};
    }
    const float radius = std::min(trackRect.W(), trackRect.H()) / 2.f * style.roundness;
    g.FillRoundRect(GetColor(kSH), track, radius, &blend);
    g.FillRoundRect(GetColor(kX1), fill, radius, &blend);
    if (style.drawFrame)
        g.DrawRoundRect(GetColor(kFR), track, radius, &blend, style.frameThickness);
}

void IVSliderControl::DrawHandle(ICanvas& g, const IRECT& r) {
    DrawPushableShape(g, shape, r, mouseDown, mouseIsOver, disabled);
}

void IVSliderControl::OnResize() {
    targetRect = LayoutRects(drawRect, false);
    mouseIsOver = false;
    const IRECT& w = widgetBounds;
    const float hs = handleSize, ts = trackSize;
    if (direction == EDirection::Vertical)
        trackRect = {w.MW() - ts, w.T + hs, w.MW() + ts, w.B - hs};
    else
        trackRect = {w.L + hs, w.MH() - ts, w.R - hs, w.MH() + ts};
    SetDirty(false);
}

void IVSliderControl::OnInit() {
    const IParam* param = GetParam(0);
    if (!param)
        return;
    if (labelStr.GetLength() == 0)
        SetLabelStr(param->Name());
    ParamDisplayTextWithUnit(param, valueStr);
}

void IVSliderControl::OnMouseDown(float x, float y, const IMouseMod& mod) {
    if (style.showValue && valueBounds.ContainsPoint(x, y))
        OpenValueEntryInRect(valueBounds);
    else
        ISliderControlBase::OnMouseDown(x, y, mod);
}

void IVSliderControl::OnMouseUp(float x, float y, const IMouseMod& mod) {
    ISliderControlBase::OnMouseUp(x, y, mod);
    SetDirty(true);
}

void IVSliderControl::OnMouseDoubleClick(float x, float y, const IMouseMod&) {
    ResetValueToDefault(ValueSlotAtPoint(x, y));
}

void IVSliderControl::OnMouseOver(float x, float y, const IMouseMod& mod) {
    if (style.showValue && !textEntryDisabled)
        valueMouseOver = valueBounds.ContainsPoint(x, y);
    IControl::OnMouseOver(x, y, mod);
}

void IVSliderControl::OnMouseOut() {
    valueMouseOver = false;
    IControl::OnMouseOut();
}

bool IVSliderControl::ContainsPoint(float x, float y) const {
    if (!textEntryDisabled && valueBounds.ContainsPoint(x, y))
        return true;
    return widgetBounds.ContainsPoint(x, y);
}

void IVSliderControl::SetDirty(bool triggerAction, int) {
    IControl::SetDirty(triggerAction, -1);
    if (const IParam* param = GetParam(0))
        ParamDisplayTextWithUnit(param, valueStr);
}

} // namespace vx::ui
