#pragma once

#include "toolkit/IMouse.h"
#include "toolkit/IRECT.h"
#include "toolkit/ISharedTypes.h"

namespace vx {
class IParam;
}

namespace vx::ui {

class IControl;

// Shift or control asks for fine adjustment.
inline bool FineAdjustRequested(const IMouseMod& mod) {
    return mod.S || mod.C;
}

// The parameter exists, is stepped and has a step above 0.
bool HasStep(const IParam* param);

// Rounds to the step (halves away from zero) and clamps to the range.
double SnapToStep(const IParam& param, double real);

// The real value of a normalised one, snapped to the step.
double ConstrainedReal(const IParam& param, double normalised);

// The normalised value of a real one, clamped to 0..1.
double NormalisedOf(const IParam& param, double real);

// A normalised value moved onto the parameter's step; unchanged without a step.
double ConstrainNormalised(const IParam* param, double normalised);

// The value one wheel event gives: one step per event on a stepped parameter
// (none for a delta of 0), else the delta in hundredths (thousandths when fine).
double WheelValue(const IControl& control, const IMouseMod& mod, float delta);

// Moves a drag's running value by the pointer's travel over the area's length
// (up and right raise it) divided by the gearing, ten times finer under fine
// adjustment, and keeps it in 0..1. An area without extent measures nothing:
// false, and the value stays rather than turning NaN.
bool AdvanceDrag(double& dragValue, const IRECT& area, EDirection direction, double gearing,
                 float dX, float dY, const IMouseMod& mod);

} // namespace vx::ui
