#pragma once

#include "controls/ISwitchControlBase.h"
#include "framework/VxString.h"
#include "toolkit/IVectorBase.h"

namespace vx::ui {

// A pressable vector shape that steps through its states and shows the
// parameter's display text.
class IVSwitchControl : public ISwitchControlBase, public IVectorBase {
public:
    IVSwitchControl(const IRECT& bounds, int paramIdx = -1, const char* label = "",
                    const IVStyle& style = kDefaultStyle, bool valueInButton = false);
    IVSwitchControl(const IRECT& bounds, IActionFunction action, const char* label,
                    const IVStyle& style, int numStates, bool valueInButton);

    void Draw(ICanvas& g) override;
    void DrawControlBody(ICanvas& g) override;
    void OnResize() override;
    bool ContainsPoint(float x, float y) const override;
    void SetDirty(bool triggerAction = true, int valIdx = -1) override;
    void OnMouseOut() override;
    void OnInit() override;

protected:
    // The parameter's display text of its current value; kept as is without one.
    void RefreshValueStr();
};

// A two-state switch showing its own off or on text.
class IVToggleControl : public IVSwitchControl {
public:
    IVToggleControl(const IRECT& bounds, int paramIdx = -1, const char* label = "",
                    const IVStyle& style = kDefaultStyle, const char* offText = "OFF",
                    const char* onText = "ON");
    IVToggleControl(const IRECT& bounds, IActionFunction action, const char* label,
                    const IVStyle& style, const char* offText, const char* onText,
                    bool initialState);

    void DrawControlBody(ICanvas& g) override;
    void DrawValue(ICanvas& g, bool mouseOver) override;

private:
    bool IsOn() const { return GetValue(0) > 0.5; }

    VxString offText;
    VxString onText;
};

// A track whose handle slides, in 100 ms, to the slot of the new state.
class IVSlideSwitchControl : public IVSwitchControl {
public:
    static constexpr int kSlideMs = 100;

    IVSlideSwitchControl(const IRECT& bounds, int paramIdx = -1, const char* label = "",
                         const IVStyle& style = kDefaultStyle, bool valueInButton = false,
                         EDirection direction = EDirection::Horizontal);
    // initialState is normalised: 0 the first state, 1 the last. The action
    // runs once each slide has finished.
    IVSlideSwitchControl(const IRECT& bounds, IActionFunction action, const char* label,
                         const IVStyle& style, bool valueInButton, EDirection direction,
                         int numStates, int initialState);

    void Draw(ICanvas& g) override;
    void DrawControlBody(ICanvas& g) override;
    virtual void DrawHandle(ICanvas& g, const IRECT& r);
    virtual void DrawTrack(ICanvas& g, const IRECT& r);
    void OnResize() override;
    void SetDirty(bool triggerAction = true, int valIdx = -1) override;
    void OnAnimationFinished() override;

    const IRECT& GetStartRect() const { return startRect; }
    const IRECT& GetEndRect() const { return endRect; }
    const IRECT& GetHandleRect() const { return handleRect; }

private:
    static void SlideAction(IControl* caller);
    void SlideStep();
    void UpdateRects();
    IRECT Slot(int k, int n) const;

    IRECT startRect;
    IRECT endRect;
    IRECT handleRect;
    EDirection direction;
};

} // namespace vx::ui
