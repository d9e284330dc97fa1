#pragma once

#include "controls/IKnobControlBase.h"
#include "toolkit/IVectorBase.h"

namespace vx::ui {

// A rotary control drawn as arcs: a fixed background arc, a glow and the
// value arc from the anchor angle. Angles in degrees, 0 up, clockwise.
class IVKnobControl : public IKnobControlBase, public IVectorBase {
public:
    // The background arc's end and every arc's thickness do not follow the
    // constructor: the knob always draws them so.
    static constexpr float kBackgroundEndAngle = 135.f;
    static constexpr float kArcThickness = 18.f;
    static constexpr float kGlowThickness = 30.6f;
    static constexpr float kRadiusFraction = 0.9f;

    IVKnobControl(const IRECT& bounds, int paramIdx, const char* label = "",
                  const IVStyle& style = kDefaultStyle, bool valueIsEditable = false,
                  float startAngle = -135.f, float endAngle = 135.f, float anchorAngle = -135.f,
                  double gearing = 4.0, float trackSize = 2.f, bool valueInWidget = false,
                  EDirection direction = EDirection::Vertical);
    IVKnobControl(const IRECT& bounds, IActionFunction action, const char* label = "",
                  const IVStyle& style = kDefaultStyle, bool valueIsEditable = false,
                  float startAngle = -135.f, float endAngle = 135.f, float anchorAngle = -135.f,
                  double gearing = 4.0, float trackSize = 2.f, bool valueInWidget = false,
                  EDirection direction = EDirection::Vertical);

    void OnMouseDown(float x, float y, const IMouseMod& mod) override;
    void OnMouseUp(float x, float y, const IMouseMod& mod) override;
    void OnMouseDoubleClick(float x, float y, const IMouseMod& mod) override;
    void OnMouseOver(float x, float y, const IMouseMod& mod) override;
    void OnMouseOut() override;
    void OnResize() override;
    void OnInit() override;
    void Draw(ICanvas& g) override;
    bool ContainsPoint(float x, float y) const override;
    void SetDirty(bool triggerAction = true, int valIdx = -1) override;
    IRECT KnobDragArea() const override;
    void DrawControlBody(ICanvas& g) override;
    virtual void DrawIndicatorTrack(ICanvas& g, float angle, float cx, float cy, float radius);
    virtual void DrawPointer(ICanvas& g, float angle, float cx, float cy, float radius);

    float TrackSize() const { return trackSize; }
    // The arcs' radius for the current widget rectangle.
    float ArcRadius() const;

private:
    void SetUp(const IVStyle& style, bool valueIsEditable, float trackSize, bool valueInWidget);
    bool ValueClicked(float x, float y) const {
        return style.showValue && valueBounds.ContainsPoint(x, y);
    }

    float innerPointerFrac = 0.1f;
    float outerPointerFrac = 1.f;
    float pointerThickness = 2.5f;
    float startAngle;
    float endAngle;
    float anchorAngle;
    bool valueMouseOver = false;
};

} // namespace vx::ui
