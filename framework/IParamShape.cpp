#include "framework/IParamShape.h"

#include <cmath>

namespace vx {

std::unique_ptr<IParam::Shape> IParam::ShapeLinear::Clone() const {
    return std::make_unique<ShapeLinear>(*this);
}

double IParam::ShapeLinear::NormalisedToValue(double normalised, const IParam& param) const {
    return param.Min() + normalised * (param.Max() - param.Min());
}

double IParam::ShapeLinear::ValueToNormalised(double value, const IParam& param) const {
    return (value - param.Min()) / (param.Max() - param.Min());
}

std::unique_ptr<IParam::Shape> IParam::ShapePowCurve::Clone() const {
    return std::make_unique<ShapePowCurve>(*this);
}

int IParam::ShapePowCurve::DisplayKind() const {
    if (m_power > 2.5)
        return 6;
    if (m_power > 1.5)
        return 4;
    if (m_power < 0.4)
        return 5;
    if (m_power < 0.6666666666666666)
        return 3;
    return 0;
}

double IParam::ShapePowCurve::NormalisedToValue(double normalised, const IParam& param) const {
    return param.Min() + (param.Max() - param.Min()) * std::pow(normalised, m_power);
}

double IParam::ShapePowCurve::ValueToNormalised(double value, const IParam& param) const {
    return std::pow((value - param.Min()) / (param.Max() - param.Min()), 1.0 / m_power);
}

std::unique_ptr<IParam::Shape> IParam::ShapeExp::Clone() const {
    return std::make_unique<ShapeExp>(*this);
}

void IParam::ShapeExp::Init(const IParam& param) {
    const double lowest = param.Min() > 0.0 ? param.Min() : 1e-8;
    m_add = std::log(lowest);
    m_mul = std::log(param.Max() / lowest);
}

double IParam::ShapeExp::NormalisedToValue(double normalised, const IParam&) const {
    return std::exp(normalised * m_mul + m_add);
}

double IParam::ShapeExp::ValueToNormalised(double value, const IParam&) const {
    return (std::log(value) - m_add) / m_mul;
}

} // namespace vx
