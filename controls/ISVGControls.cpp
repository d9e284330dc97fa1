#include "controls/ISVGControls.h"

#include "toolkit/ICanvas.h"
#include "toolkit/svg/SvgImage.h"

#include <algorithm>

namespace vx::ui {

float SVGWidth(const ISVGHandle& svg) {
    return svg.image ? svg.image->width : 0.f;
}

float SVGHeight(const ISVGHandle& svg) {
    return svg.image ? svg.image->height : 0.f;
}

namespace {

ISVGColors ColorsFrom(const IColor (&c)[4], int mode) {
    return {c[0], c[1], c[2], c[3], mode};
}

} // namespace

void ISVGColors::Draw(ICanvas& g, const ISVGHandle& svg, const IControl& control, bool isOn) const {
    const bool over = control.GetMouseIsOver();
    const IColor& c = isOn ? (over ? onOver : on) : (over ? offOver : off);
    const IColor* stroke = mode == kStroke ? &c : nullptr;
    const IColor* fill = mode == kFill ? &c : nullptr;
    g.DrawSVG(svg, control.GetRECT(), &control.GetBlend(), stroke, fill);
}

ISVGButtonControl::ISVGButtonControl(const IRECT& bounds, IActionFunction action,
                                     const ISVGHandle& off, const ISVGHandle& on)
    : IButtonControlBase(bounds, std::move(action)), offImage(off), onImage(on) {}

ISVGButtonControl::ISVGButtonControl(const IRECT& bounds, IActionFunction action,
                                     const ISVGHandle& image, const IColor (&c)[4], int mode)
    : IButtonControlBase(bounds, std::move(action)), offImage(image), onImage(image),
      colors(ColorsFrom(c, mode)) {}

void ISVGButtonControl::Draw(ICanvas& g) {
    const bool on = GetValue(0) > 0.5;
    colors.Draw(g, on ? onImage : offImage, *this, on);
}

ISVGToggleControl::ISVGToggleControl(const IRECT& bounds, IActionFunction action,
                                     const ISVGHandle& off, const ISVGHandle& on)
    : ISwitchControlBase(bounds, -1, std::move(action), 2), offImage(off), onImage(on) {}

ISVGToggleControl::ISVGToggleControl(const IRECT& bounds, int paramIdx, const ISVGHandle& off,
                                     const ISVGHandle& on)
    : ISwitchControlBase(bounds, paramIdx, nullptr, 2), offImage(off), onImage(on) {}

ISVGToggleControl::ISVGToggleControl(const IRECT& bounds, IActionFunction action,
                                     const ISVGHandle& image, const IColor (&c)[4], int mode)
    : ISwitchControlBase(bounds, -1, std::move(action), 2), offImage(image), onImage(image),
      colors(ColorsFrom(c, mode)) {}

ISVGToggleControl::ISVGToggleControl(const IRECT& bounds, int paramIdx, const ISVGHandle& image,
                                     const IColor (&c)[4], int mode)
    : ISwitchControlBase(bounds, paramIdx, nullptr, 2), offImage(image), onImage(image),
      colors(ColorsFrom(c, mode)) {}

void ISVGToggleControl::Draw(ICanvas& g) {
    const bool on = GetValue(0) > 0.5;
    colors.Draw(g, on ? onImage : offImage, *this, on);
}

ISVGKnobControl::ISVGKnobControl(const IRECT& bounds, const ISVGHandle& image, int paramIdx)
    : IKnobControlBase(bounds, paramIdx, nullptr, EDirection::Vertical, 4.0), svg(image) {}

void ISVGKnobControl::Draw(ICanvas& g) {
    if (!svg.IsValid())
        return;
    g.DrawRotatedSVG(svg, drawRect.MW(), drawRect.MH(), drawRect.W(), drawRect.H(), Angle(),
                     &blend);
}

void ISVGKnobControl::SetSVG(const ISVGHandle& image) {
    svg = image;
    SetDirty(false, -1);
}

ISVGSwitchControl::ISVGSwitchControl(const IRECT& bounds, std::initializer_list<ISVGHandle> images,
                                     int paramIdx, IActionFunction action)
    : ISwitchControlBase(bounds, paramIdx, std::move(action), static_cast<int>(images.size())),
      svgs(images) {}

int ISVGSwitchControl::ImageIndex() const {
    if (svgs.empty())
        return -1;
    // A parameter with more states than images shows the last image past them.
    const int i = static_cast<int>((numStates - 1) * GetValue(0) + 0.5);
    return std::clamp(i, 0, static_cast<int>(svgs.size()) - 1);
}

void ISVGSwitchControl::Draw(ICanvas& g) {
    const int i = ImageIndex();
    if (i >= 0)
        g.DrawSVG(svgs[static_cast<size_t>(i)], drawRect, &blend);
}

ISVGSliderControl::ISVGSliderControl(const IRECT& bounds, const ISVGHandle& handle,
                                     const ISVGHandle& track, int paramIdx, EDirection dir,
                                     double gear)
    : ISliderControlBase(bounds, paramIdx, dir, gear, 0.f), handleSVG(handle), trackSVG(track) {}

bool ISVGSliderControl::Drawable() const {
    return SVGWidth(handleSVG) > 0.f && SVGHeight(handleSVG) > 0.f && SVGWidth(trackSVG) > 0.f &&
           SVGHeight(trackSVG) > 0.f;
}

void ISVGSliderControl::OnResize() {
    const IRECT& r = drawRect;
    // An image without size would divide by zero: the travel is the whole control.
    if (!Drawable()) {
        trackImageBounds = handleBoundsAtMax = {};
        trackRect = r;
        SetDirty(false, -1);
        return;
    }
    const float tW = SVGWidth(trackSVG), tH = SVGHeight(trackSVG);
    const float hW = SVGWidth(handleSVG), hH = SVGHeight(handleSVG);
    if (direction == EDirection::Horizontal) {
        const float w = std::max(1.f, r.W());
        float th = r.W() * tH / tW;
        if (!(th > 0.f))
            th = w;
        trackImageBounds = {r.MW() - w / 2.f, r.MH() - th / 2.f, r.MW() + w / 2.f,
                            r.MH() + th / 2.f};
        float hh = hH / tH * th;
        if (!(hh > 0.f))
            hh = hW;
        const float hw = std::max(1.f, hh * hW / hH);
        const float cy = trackImageBounds.MH();
        handleBoundsAtMax = {trackImageBounds.R - hw, cy - hh / 2.f, trackImageBounds.R,
                             cy + hh / 2.f};
        trackRect = {trackImageBounds.L + hw, trackImageBounds.T, trackImageBounds.R,
                     trackImageBounds.B};
    } else {
        const float tw = std::max(1.f, r.H() * tW / tH);
        trackImageBounds = {r.MW() - tw / 2.f, r.T, r.MW() + tw / 2.f, r.B};
        const float hh = hH / tH * r.H();
        const float hw = std::max(1.f, r.H() * hW / tH);
        handleBoundsAtMax = {r.MW() - hw / 2.f, r.T, r.MW() + hw / 2.f, r.T + hh};
        trackRect = {trackImageBounds.L, trackImageBounds.T + hh, trackImageBounds.R,
                     trackImageBounds.B};
    }
    SetDirty(false, -1);
}

IRECT ISVGSliderControl::GetHandleBounds(double value) const {
    if (value < 0.0)
        value = GetValue(0);
    const float away = 1.f - static_cast<float>(value);
    if (direction == EDirection::Horizontal)
        return handleBoundsAtMax.GetTranslated(-away * trackRect.W(), 0.f);
    return handleBoundsAtMax.GetTranslated(0.f, away * trackRect.H());
}

void ISVGSliderControl::Draw(ICanvas& g) {
    if (!Drawable())
        return;
    g.DrawSVG(trackSVG, trackImageBounds, &blend);
    g.DrawSVG(handleSVG, GetHandleBounds(), &blend);
}

} // namespace vx::ui
