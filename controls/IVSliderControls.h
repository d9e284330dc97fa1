#pragma once

#include "controls/ISliderControlBase.h"
#include "framework/VxString.h"
#include "toolkit/IVectorBase.h"

#include <initializer_list>
#include <memory>
#include <vector>

namespace vx::ui {

// A slider with a round handle (its size is a radius) over an optional track.
class IVSliderControl : public ISliderControlBase, public IVectorBase {
public:
    IVSliderControl(const IRECT& bounds, int paramIdx = -1, const char* label = "",
                    const IVStyle& style = kDefaultStyle, bool valueIsEditable = false,
                    double gearing = 4.0, float handleSize = 8.f, float trackSize = 2.f,
                    float handleOffsetX = 0.f, float handleOffsetY = 0.f,
                    EDirection direction = EDirection::Vertical, bool handleInsideTrack = false);
    IVSliderControl(const IRECT& bounds, IActionFunction action, const char* label = "",
                    const IVStyle& style = kDefaultStyle, bool valueIsEditable = false,
                    double gearing = 4.0, float handleSize = 8.f, float trackSize = 2.f,
                    float handleOffsetX = 0.f, float handleOffsetY = 0.f,
                    EDirection direction = EDirection::Vertical, bool handleInsideTrack = false);

    void Draw(ICanvas& g) override;
    void DrawControlBody(ICanvas& g) override { DrawWidget(g); }
    virtual void DrawWidget(ICanvas& g);
    virtual void DrawTrack(ICanvas& g, const IRECT& filled);
    virtual void DrawHandle(ICanvas& g, const IRECT& r);
    void OnResize() override;
    void OnInit() override;
    void OnMouseDown(float x, float y, const IMouseMod& mod) override;
    void OnMouseUp(float x, float y, const IMouseMod& mod) override;
    void OnMouseDoubleClick(float x, float y, const IMouseMod& mod) override;
    void OnMouseOver(float x, float y, const IMouseMod& mod) override;
    void OnMouseOut() override;
    bool ContainsPoint(float x, float y) const override;
    void SetDirty(bool triggerAction = true, int valIdx = -1) override;

    // The handle's centre at the current value.
    void HandleCentre(float& cx, float& cy) const;

private:
    void SetUp(const IVStyle& style, bool valueIsEditable, float trackSize);
    IRECT FilledPart() const;

    bool handleInsideTrack;
    bool valueMouseOver = false;
    float handleOffsetX;
    float handleOffsetY;
};

// Several value slots, one bar each, with optional names, steps and a base value.
class IVTrackControlBase : public IControl, public IVectorBase {
public:
    IVTrackControlBase(const IRECT& bounds, const char* label, const IVStyle& style,
                       std::initializer_list<int> params, int stepCount = 0,
                       EDirection direction = EDirection::Vertical,
                       const char* const* trackNames = nullptr, int nNames = 0);

    void Draw(ICanvas& g) override;
    virtual void DrawWidget(ICanvas& g);
    void DrawBackground(ICanvas& g, const IRECT& r) override;
    void DrawControlBody(ICanvas& g) override { DrawWidget(g); }
    virtual void DrawTrack(ICanvas& g, const IRECT& r, int i);
    virtual void DrawTrackBackground(ICanvas& g, const IRECT& r, int i);
    virtual void DrawTrackName(ICanvas& g, const IRECT& r, int i);
    virtual void DrawTrackValue(ICanvas& g, const IRECT& r, int i);
    virtual void DrawPeak(ICanvas& g, const IRECT& r);
    virtual void MakeTrackRects(const IRECT& bounds);
    virtual void MakeStepRects(const IRECT& bounds, int steps);

    void OnMouseOver(float x, float y, const IMouseMod& mod) override;
    void OnMouseOut() override;
    void OnResize() override;
    int ValueSlotAtPoint(float x, float y) const override;

    int NTracks() const { return static_cast<int>(trackBounds.size()); }
    const IRECT& GetTrackBounds(int i) const { return trackBounds[static_cast<size_t>(i)]; }
    const std::vector<IRECT>& GetStepBounds() const { return stepBounds; }
    void SetTrackGap(float gap) { trackGap = gap; }
    void SetBaseValue(double value) { baseValue = value; }
    void SetHighlightedTrack(int i) { highlightedTrack = i; }
    void SetZeroValueStep(bool on) { zeroValueStep = on; }
    int GetMouseOverTrack() const { return mouseOverTrack; }

protected:
    // Where the fill of track r at value v ends, from the base or the start.
    IRECT FillOf(const IRECT& r, double v) const;

    EDirection direction;
    std::vector<IRECT> trackBounds;
    std::vector<IRECT> stepBounds;
    std::vector<std::unique_ptr<VxString>> trackNames;
    int stepCount;
    float trackGap = 0.f;
    float peakSize = 1.f;
    int highlightedTrack = -1;
    int mouseOverTrack = -1;
    double baseValue = 0.0;
    bool drawTrackFrame = true;
    bool zeroValueStep = true;
};

// Value slots sharing one track, set by triangular handles that never cross.
class IVRangeSliderControl : public IVTrackControlBase {
public:
    IVRangeSliderControl(const IRECT& bounds, std::initializer_list<int> params,
                         const char* label = "", const IVStyle& style = kDefaultStyle,
                         EDirection direction = EDirection::Vertical, float handleSize = 8.f,
                         float trackSize = 2.f);

    void Draw(ICanvas& g) override;
    void DrawWidget(ICanvas& g) override;
    void DrawTrack(ICanvas& g, const IRECT& r, int i) override;
    void MakeTrackRects(const IRECT& bounds) override;
    void OnMouseDown(float x, float y, const IMouseMod& mod) override;
    void OnMouseUp(float x, float y, const IMouseMod& mod) override;
    void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) override;
    void OnMouseOver(float x, float y, const IMouseMod& mod) override;
    void OnMouseOut() override;

    IRECT HandleBounds(int i) const;
    int GetActiveHandle() const { return activeHandle; }

private:
    float Along(const IRECT& r, double v) const;

    int activeHandle = -1;
    float handleSize;
    bool mouseDown = false;
};

} // namespace vx::ui
