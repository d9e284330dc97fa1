#pragma once

#include "controls/IButtonControlBase.h"
#include "controls/IKnobControlBase.h"
#include "controls/ISliderControlBase.h"
#include "controls/ISwitchControlBase.h"
#include "toolkit/IResourceRecords.h"

#include <initializer_list>
#include <vector>

namespace vx::ui {

// A width or height of an SVG; 0 for one that failed to load.
float SVGWidth(const ISVGHandle& svg);
float SVGHeight(const ISVGHandle& svg);

// What replaces an SVG's paint while it is drawn, by state and hover.
struct ISVGColors {
    enum EMode { kNone = 0, kFill = 1, kStroke = 2 };
    IColor off{255, 0, 0, 0};
    IColor on{255, 0, 0, 0};
    IColor offOver{255, 0, 0, 0};
    IColor onOver{255, 0, 0, 0};
    int mode = kNone;

    void Draw(ICanvas& g, const ISVGHandle& svg, const IControl& control, bool on) const;
};

// A momentary button showing an off and an on image.
class ISVGButtonControl : public IButtonControlBase {
public:
    ISVGButtonControl(const IRECT& bounds, IActionFunction action, const ISVGHandle& offImage,
                      const ISVGHandle& onImage);
    ISVGButtonControl(const IRECT& bounds, IActionFunction action, const ISVGHandle& image,
                      const IColor (&colors)[4], int mode);

    void Draw(ICanvas& g) override;

private:
    ISVGHandle offImage;
    ISVGHandle onImage;
    ISVGColors colors;
};

// A two-state switch showing an off and an on image.
class ISVGToggleControl : public ISwitchControlBase {
public:
    ISVGToggleControl(const IRECT& bounds, IActionFunction action, const ISVGHandle& offImage,
                      const ISVGHandle& onImage);
    ISVGToggleControl(const IRECT& bounds, int paramIdx, const ISVGHandle& offImage,
                      const ISVGHandle& onImage);
    ISVGToggleControl(const IRECT& bounds, IActionFunction action, const ISVGHandle& image,
                      const IColor (&colors)[4], int mode);
    ISVGToggleControl(const IRECT& bounds, int paramIdx, const ISVGHandle& image,
                      const IColor (&colors)[4], int mode);

    void Draw(ICanvas& g) override;

private:
    ISVGHandle offImage;
    ISVGHandle onImage;
    ISVGColors colors;
};

// A knob that rotates one image from -135 to 135 degrees.
class ISVGKnobControl : public IKnobControlBase {
public:
    ISVGKnobControl(const IRECT& bounds, const ISVGHandle& image, int paramIdx = -1);

    void Draw(ICanvas& g) override;
    void SetSVG(const ISVGHandle& image);
    double Angle() const { return startAngle + (endAngle - startAngle) * GetValue(0); }

private:
    ISVGHandle svg;
    float startAngle = -135.f;
    float endAngle = 135.f;
};

// One image per state; a state past the images shows the last one.
class ISVGSwitchControl : public ISwitchControlBase {
public:
    ISVGSwitchControl(const IRECT& bounds, std::initializer_list<ISVGHandle> images,
                      int paramIdx = -1, IActionFunction action = nullptr);

    void Draw(ICanvas& g) override;
    // The image shown now, or -1 for none.
    int ImageIndex() const;

private:
    std::vector<ISVGHandle> svgs;
};

// A handle image moving over a track image.
class ISVGSliderControl : public ISliderControlBase {
public:
    ISVGSliderControl(const IRECT& bounds, const ISVGHandle& handleImage,
                      const ISVGHandle& trackImage, int paramIdx = -1,
                      EDirection direction = EDirection::Vertical, double gearing = 4.0);

    void OnResize() override;
    void Draw(ICanvas& g) override;
    // Where the handle is drawn at the value; a negative value means the current one.
    IRECT GetHandleBounds(double value = -1.0) const;
    const IRECT& GetTrackImageBounds() const { return trackImageBounds; }

private:
    bool Drawable() const;

    IRECT trackImageBounds;
    IRECT handleBoundsAtMax;
    ISVGHandle handleSVG;
    ISVGHandle trackSVG;
};

} // namespace vx::ui
