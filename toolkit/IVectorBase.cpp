#include "toolkit/IVectorBase.h"

#include "toolkit/ICanvas.h"
#include "toolkit/IControl.h"

#include <algorithm>
#include <cmath>

namespace vx::ui {

namespace {

// A w x h rectangle around the area's centre; at least 1 wide, square when h <= 0.
IRECT CentredIn(const IRECT& area, float w, float h) {
    w = std::max(1.f, w);
    if (h <= 0.f)
        h = w;
    return {area.MW() - w / 2.f, area.MH() - h / 2.f, area.MW() + w / 2.f, area.MH() + h / 2.f};
}

} // namespace

IVectorBase::IVectorBase(const IVStyle& s, bool labelInWidget, bool valueInWidget)
    : labelInWidget(labelInWidget), valueInWidget(valueInWidget) {
    SetStyle(s);
}

void IVectorBase::SetStyle(const IVStyle& s) {
    style = s;
    OnAppearanceChanged();
}

const IBlendSetting* IVectorBase::OwnerBlend() const {
    return owner ? &owner->GetBlend() : nullptr;
}

bool IVectorBase::OwnerAnimating() const {
    return owner && owner->GetAnimationFunction();
}

void IVectorBase::DrawBackground(ICanvas& g, const IRECT& r) {
    g.FillRect(GetColor(kBG), r, OwnerBlend());
}

void IVectorBase::DrawLabel(ICanvas& g) {
    if (labelBounds.H() != 0.f && style.showLabel && labelStr.GetLength() > 0)
        g.DrawText(style.labelText, labelStr.Get(), labelBounds, OwnerBlend());
}

void IVectorBase::DrawValue(ICanvas& g, bool mouseOver) {
    if (mouseOver)
        g.FillRect(kColorTranslucent, valueBounds, nullptr);
    if (style.showValue && valueStr.GetLength() > 0)
        g.DrawText(style.valueText, valueStr.Get(), valueBounds, OwnerBlend());
}

IRECT IVectorBase::DrawPushableShape(ICanvas& g, EVShape s, const IRECT& r, bool pressed,
                                     bool mouseOver, bool disabled) {
    switch (s) {
    case EVShape::Rectangle:
    case EVShape::AllRounded:
        return DrawPushableRectangle(g, r, pressed, mouseOver, disabled);
    case EVShape::EndsRounded:
        return DrawPushableRectangle(g, r, pressed, mouseOver, disabled, true, true, false, false);
    case EVShape::Ellipse:
        DrawPushableEllipse(g, r, pressed, mouseOver, disabled);
        return {};
    case EVShape::Triangle:
        return DrawPushableTriangle(g, r, pressed, mouseOver, disabled, style.angle);
    }
    return {};
}

IRECT IVectorBase::MeasureIn(const char* str, const IText& text) const {
    IRECT t;
    if (owner && owner->GetUI() && str && *str)
        owner->GetUI()->MeasureText(text, str, t);
    return t;
}

IRECT IVectorBase::LayoutLabel(const IRECT& parent) {
    if (!style.showLabel || labelStr.GetLength() == 0) {
        labelBounds = {};
        return parent;
    }
    const IRECT t = MeasureIn(labelStr.Get(), style.labelText);
    switch (style.labelPosition) {
    case 0:
        labelBounds = CentredIn({parent.L, parent.T, parent.R, parent.T + t.H()}, t.W(), t.H());
        break;
    case 1:
        labelBounds = CentredIn({parent.R - t.W(), parent.T, parent.R, parent.B}, t.W(), t.H());
        break;
    case 2:
        labelBounds = CentredIn({parent.L, parent.B - t.H(), parent.R, parent.B}, t.W(), t.H());
        break;
    case 3:
        labelBounds = CentredIn({parent.L, parent.T, parent.L + t.W(), parent.B}, t.W(), t.H());
        break;
    default:
        break;
    }
    // A label wider than its control keeps to the control: the text then
    // shrinks to fit rather than spilling past the clip.
    if (labelBounds.Empty())
        return parent;
    labelBounds.L = std::max(labelBounds.L, parent.L);
    labelBounds.R = std::min(labelBounds.R, parent.R);
    IRECT clickable = parent;
    switch (style.labelPosition) {
    case 0:
        clickable.T += labelBounds.H();
        break;
    case 1:
        clickable.R -= labelBounds.W();
        break;
    case 2:
        clickable.B -= labelBounds.H();
        break;
    case 3:
        clickable.L += labelBounds.W();
        break;
    default:
        break;
    }
    return clickable;
}

IRECT IVectorBase::LayoutRects(const IRECT& parent, bool hasHandle) {
    IRECT clickable = parent;
    if (!labelInWidget)
        clickable = LayoutLabel(parent);

    const float frac = style.widgetFrac;
    if (style.showValue && !valueInWidget) {
        const IRECT t = MeasureIn(valueStr.Get(), style.valueText);
        const float vw = t.W() * valueDisplayFrac;
        const float cx = clickable.MW(), cy = clickable.MH();
        const IRECT& c = clickable;
        switch (style.valueText.vAlign) {
        case 1:
            valueBounds = {cx - vw, cy - t.H() / 2.f, cx + vw, cy + t.H() / 2.f};
            widgetBounds = c.GetScaledAboutCentre(frac);
            break;
        case 2:
            valueBounds = {cx - vw, c.B - t.H(), cx + vw, c.B};
            widgetBounds = IRECT(c.L, c.T, c.R, c.B - t.H()).GetScaledAboutCentre(frac);
            break;
        case 0:
            valueBounds = {cx - vw, c.T, cx + vw, c.T + t.H()};
            widgetBounds = IRECT(c.L, c.T + t.H(), c.R, c.B).GetScaledAboutCentre(frac);
            break;
        default:
            break;
        }
    } else {
        widgetBounds = clickable.GetScaledAboutCentre(frac);
    }
    if (hasHandle)
        widgetBounds = HandleArea(clickable).GetScaledAboutCentre(frac);
    if (labelInWidget)
        labelBounds = widgetBounds;
    if (valueInWidget)
        valueBounds = widgetBounds;
    return clickable;
}

IRECT IVectorBase::HandleArea(const IRECT& r) const {
    IRECT h = r;
    if (style.drawFrame)
        h = h.GetPadded(-style.frameThickness / 2.f);
    if (style.drawShadows) {
        h.L += style.shadowOffset;
        h.R -= style.shadowOffset;
        h.B -= style.shadowOffset;
    }
    return h;
}

IRECT IVectorBase::DrawPushableRectangle(ICanvas& g, const IRECT& r, bool pressed, bool mouseOver,
                                         bool disabled, bool rtl, bool rtr, bool rbl, bool rbr) {
    const float so = style.shadowOffset;
    const IRECT handle = HandleArea(r);
    const IRECT centre = handle.GetPadded(-so);
    const IRECT shadow = handle.GetTranslated(so, so);
    const IRECT pressedFace{handle.L + so, handle.T + so, handle.R, handle.B};
    const float radius = std::min(handle.W(), handle.H()) / 2.f * style.roundness;
    const float tl = rtl ? radius : 0.f, tr = rtr ? radius : 0.f;
    const float bl = rbl ? radius : 0.f, br = rbr ? radius : 0.f;
    const float c = disabled ? -0.25f : 0.f;
    const IBlendSetting* blend = OwnerBlend();
    auto fill = [&](const IColor& color, const IRECT& area, const IBlendSetting* b) {
        g.FillRoundRectCorners(color, area, tl, tr, bl, br, b);
    };

    if (pressed) {
        if (style.emboss) {
            fill(GetColor(kPR), handle, blend);
            fill(GetColor(kSH), handle, blend);
            fill(GetColor(kFG).WithContrast(c), pressedFace, nullptr);
            fill(GetColor(kPR), centre, blend);
        } else {
            fill(GetColor(kPR).WithContrast(c), handle, nullptr);
        }
        if (OwnerAnimating())
            DrawSplash(g, handle);
    } else {
        if (style.drawShadows)
            fill(GetColor(kSH), shadow, blend);
        if (style.emboss) {
            fill(GetColor(kPR).WithContrast(c), handle, nullptr);
            fill(GetColor(kSH).WithContrast(c), shadow, nullptr);
            fill(GetColor(kFG).WithContrast(c), centre, nullptr);
            if (mouseOver)
                fill(GetColor(kHL), centre, blend);
        } else {
            fill(GetColor(kFG).WithContrast(c), handle, nullptr);
            if (mouseOver)
                fill(GetColor(kHL), handle, blend);
        }
    }
    if (style.drawFrame)
        g.DrawRoundRectCorners(GetColor(kFR), handle, tl, tr, bl, br, blend, style.frameThickness);
    return handle;
}

void IVectorBase::DrawPushableEllipse(ICanvas& g, const IRECT& r, bool pressed, bool mouseOver,
                                      bool disabled) {
    const float so = style.shadowOffset;
    const IRECT centre = r.GetPadded(-so);
    const IRECT shadow = r.GetTranslated(so, so);
    const IRECT pressedFace{r.L + so, r.T + so, r.R, r.B};
    const float c = disabled ? -0.25f : 0.f;
    const IBlendSetting* blend = OwnerBlend();

    if (!disabled && !pressed && style.drawShadows)
        g.FillEllipse(GetColor(kSH), shadow, nullptr);
    if (pressed) {
        if (style.emboss) {
            g.FillEllipse(GetColor(kPR), r, blend);
            g.FillEllipse(GetColor(kSH), r, blend);
            g.FillEllipse(GetColor(kFG).WithContrast(c), pressedFace, nullptr);
            g.FillEllipse(GetColor(kPR).WithContrast(c), centre, nullptr);
        } else {
            g.FillEllipse(GetColor(kPR).WithContrast(c), r, nullptr);
        }
        if (OwnerAnimating())
            DrawSplash(g, r);
    } else if (style.emboss) {
        g.FillEllipse(GetColor(kPR).WithContrast(c), r, nullptr);
        g.FillEllipse(GetColor(kSH).WithContrast(c), shadow, nullptr);
        g.FillEllipse(GetColor(kFG).WithContrast(c), centre, nullptr);
        if (mouseOver)
            g.FillEllipse(GetColor(kHL), centre, blend);
    } else {
        g.FillEllipse(GetColor(kFG).WithContrast(c), r, nullptr);
        if (mouseOver)
            g.FillEllipse(GetColor(kHL), r, blend);
    }
    if (style.drawFrame)
        g.DrawEllipse(GetColor(kFR), r, blend, style.frameThickness);
}

IRECT IVectorBase::DrawPushableTriangle(ICanvas& g, const IRECT& r, bool pressed, bool mouseOver,
                                        bool disabled, float angle) {
    const IRECT handle = HandleArea(r);
    const float cx = handle.MW(), cy = handle.MH();
    const float a = angle / 180.f * 3.14159265f;
    const float ca = std::cos(a), sa = std::sin(a);
    float x[3] = {handle.L, cx, handle.R};
    float y[3] = {handle.B, handle.T, handle.B};
    for (int i = 0; i < 3; ++i) {
        const float dx = x[i] - cx, dy = y[i] - cy;
        x[i] = cx + dx * ca - dy * sa;
        y[i] = cy + dx * sa + dy * ca;
    }
    const float c = disabled ? -0.25f : 0.f;
    const IBlendSetting* blend = OwnerBlend();
    auto fill = [&](const IColor& color, float ox, float oy, const IBlendSetting* b) {
        g.FillTriangle(color, x[0] + ox, y[0] + oy, x[1] + ox, y[1] + oy, x[2] + ox, y[2] + oy, b);
    };

    if (pressed) {
        fill(GetColor(kPR).WithContrast(c), 0.f, 0.f, nullptr);
    } else {
        if (style.drawShadows)
            fill(GetColor(kSH), style.shadowOffset, style.shadowOffset, blend);
        fill(GetColor(kFG).WithContrast(c), 0.f, 0.f, nullptr);
    }
    if (mouseOver)
        fill(GetColor(kHL), 0.f, 0.f, blend);
    if (pressed && OwnerAnimating())
        DrawSplash(g, IRECT());
    if (style.drawFrame)
        g.DrawTriangle(GetColor(kFR), x[0], y[0], x[1], y[1], x[2], y[2], blend,
                       style.frameThickness);
    return handle;
}

void IVectorBase::DrawSplash(ICanvas& g, const IRECT& clip) {
    g.PathClipToRect(clip);
    g.FillCircle(GetColor(kHL), splashX, splashY, splashRadius, nullptr);
    g.PathClipToRect(IRECT());
}

} // namespace vx::ui
