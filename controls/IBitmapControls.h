#pragma once

#include "controls/IButtonControlBase.h"
#include "controls/IKnobControlBase.h"
#include "controls/ISliderControlBase.h"
#include "controls/ISwitchControlBase.h"
#include "controls/ITextControl.h"
#include "toolkit/IBitmapControl.h"

namespace vx::ui {

// One frame of the strip centred in the bounds.
IRECT FrameCentredIn(const IRECT& bounds, const IBitmapHandle& bitmap);
// One frame of the strip with its top left at (x, y).
IRECT FrameAt(float x, float y, const IBitmapHandle& bitmap);
// The strip loaded again at ceil(screen scale); the old one when that fails.
IBitmapHandle RefetchBitmap(const IControl& control, const IBitmapHandle& bitmap);

// A knob whose frame follows the value.
class IBKnobControl : public IKnobControlBase, public IBitmapBase {
public:
    IBKnobControl(const IRECT& bounds, const IBitmapHandle& bitmap, int paramIdx = -1,
                  EDirection direction = EDirection::Vertical, double gearing = 4.0);

    void OnRescale() override { bitmap = RefetchBitmap(*this, bitmap); }
    void Draw(ICanvas& g) override { DrawBitmap(g); }
};

// A knob drawn by rotating one bitmap over 300 degrees.
class IBKnobRotaterControl : public IBKnobControl {
public:
    static constexpr double kSweepDegrees = 300.0;

    IBKnobRotaterControl(const IRECT& bounds, const IBitmapHandle& bitmap, int paramIdx = -1)
        : IBKnobControl(bounds, bitmap, paramIdx, EDirection::Vertical, 4.0) {}

    void Draw(ICanvas& g) override;
    double Angle() const { return GetValue(0) * kSweepDegrees - kSweepDegrees / 2.0; }
};

// A button that runs its action on press and again on release; it never
// changes its own value.
class IBButtonControl : public IButtonControlBase, public IBitmapBase {
public:
    IBButtonControl(float x, float y, const IBitmapHandle& bitmap,
                    IActionFunction action = nullptr);
    IBButtonControl(const IRECT& bounds, const IBitmapHandle& bitmap,
                    IActionFunction action = nullptr);

    void OnMouseDown(float, float, const IMouseMod&) override { SetDirty(true, -1); }
    void OnMouseUp(float, float, const IMouseMod&) override { SetDirty(true, -1); }
    void OnRescale() override { bitmap = RefetchBitmap(*this, bitmap); }
    void Draw(ICanvas& g) override { DrawBitmap(g); }
};

// A switch stepping one frame per click, wrapping after the last.
class IBSwitchControl : public ISwitchControlBase, public IBitmapBase {
public:
    IBSwitchControl(float x, float y, const IBitmapHandle& bitmap, int paramIdx = -1);
    IBSwitchControl(const IRECT& bounds, const IBitmapHandle& bitmap, int paramIdx = -1);

    void OnMouseDown(float x, float y, const IMouseMod& mod) override;
    void OnRescale() override { bitmap = RefetchBitmap(*this, bitmap); }
    void Draw(ICanvas& g) override { DrawBitmap(g); }
};

// A handle bitmap over an optional track bitmap.
class IBSliderControl : public ISliderControlBase, public IBitmapBase {
public:
    IBSliderControl(const IRECT& bounds, const IBitmapHandle& handleBitmap,
                    const IBitmapHandle& trackBitmap = IBitmapHandle(), int paramIdx = -1,
                    EDirection direction = EDirection::Vertical, double gearing = 4.0);
    IBSliderControl(float x, float y, float trackLength, const IBitmapHandle& handleBitmap,
                    const IBitmapHandle& trackBitmap = IBitmapHandle(), int paramIdx = -1,
                    EDirection direction = EDirection::Vertical, double gearing = 4.0);

    void OnResize() override;
    void OnRescale() override { bitmap = RefetchBitmap(*this, bitmap); }
    void Draw(ICanvas& g) override;
    // Where the handle is drawn at the value; a negative value means the current one.
    IRECT GetHandleBounds(double value = -1.0) const;

private:
    IBitmapHandle trackBitmap;
};

// A line of text drawn from a bitmap font strip that begins with the space.
class IBTextControl : public ITextControl, public IBitmapBase {
public:
    IBTextControl(const IRECT& bounds, const IBitmapHandle& fontBitmap, const IText& text = IText(),
                  const char* str = "", int charWidth = 6, int charHeight = 12, int charSpacing = 0,
                  bool multiLine = false, bool verticalCentre = true, int blendType = 0);

    void OnRescale() override { bitmap = RefetchBitmap(*this, bitmap); }
    void Draw(ICanvas& g) override;

private:
    int charWidth;
    int charHeight;
    int charSpacing;
    bool multiLine;
    bool verticalCentre;
};

// A meter strip fed by delegate messages of levels.
class IBMeterControl : public IBitmapControl {
public:
    // The record a message carries: control tag, channel count, first channel,
    // then per channel a pair of floats whose second is the level.
    static constexpr int kHeaderBytes = 12;
    static constexpr int kPairBytes = 8;

    IBMeterControl(float x, float y, const IBitmapHandle& bitmap, float rangeA = -60.f,
                   float rangeB = 0.f, int scalingMode = 1);

    void OnDelegateMessage(int msgTag, int dataSize, const void* data) override;
    // The value a level shows.
    double LevelToValue(float level) const;

private:
    float rangeA;
    float rangeB;
    int scalingMode; // 1 logarithmic, otherwise linear
};

} // namespace vx::ui
