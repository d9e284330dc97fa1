#include "controls/StepConstraint.h"

#include "framework/IParam.h"
#include "framework/IParamShape.h"
#include "toolkit/IControl.h"

#include <algorithm>
#include <cmath>

namespace vx::ui {

bool HasStep(const IParam* param) {
    return param && param->Stepped() && param->Step() > 0.0;
}

double SnapToStep(const IParam& param, double real) {
    if (HasStep(&param))
        real = param.Step() * std::round(real / param.Step());
    return std::clamp(real, param.Min(), param.Max());
}

double ConstrainedReal(const IParam& param, double normalised) {
    return SnapToStep(param, param.GetShape().NormalisedToValue(normalised, param));
}

double NormalisedOf(const IParam& param, double real) {
    return std::clamp(param.GetShape().ValueToNormalised(real, param), 0.0, 1.0);
}

double ConstrainNormalised(const IParam* param, double normalised) {
    if (!HasStep(param))
        return normalised;
    return NormalisedOf(*param, ConstrainedReal(*param, normalised));
}

double WheelValue(const IControl& control, const IMouseMod& mod, float delta) {
    const double current = control.GetValue(0);
    const IParam* param = control.GetParam(0);
    if (!HasStep(param))
        return current + delta * (FineAdjustRequested(mod) ? 0.001 : 0.01);
    if (delta == 0.f)
        return current;
    double real = ConstrainedReal(*param, current);
    real += delta > 0.f ? param->Step() : -param->Step();
    return NormalisedOf(*param, SnapToStep(*param, real));
}

bool AdvanceDrag(double& dragValue, const IRECT& area, EDirection direction, double gearing,
                 float dX, float dY, const IMouseMod& mod) {
    const double g = FineAdjustRequested(mod) ? gearing * 10.0 : gearing;
    const bool vertical = direction == EDirection::Vertical;
    const double length =
        vertical ? double(area.T) - double(area.B) : double(area.R) - double(area.L);
    if (length == 0.0 || g == 0.0)
        return false;
    dragValue = std::clamp(dragValue + (vertical ? dY : dX) / length / g, 0.0, 1.0);
    return true;
}

} // namespace vx::ui
