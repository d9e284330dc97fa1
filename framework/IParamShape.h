#pragma once

#include "framework/IParam.h"

#include <memory>

namespace vx {

// Maps a parameter's real value to and from 0..1. Neither direction clamps;
// the parameter steps and clamps around the mapping.
class IParam::Shape {
public:
    virtual ~Shape() = default;
    virtual std::unique_ptr<Shape> Clone() const = 0;
    // Runs once the parameter's range is final.
    virtual void Init(const IParam&) {}
    // Only reported in the JSON description; it changes no mapping.
    virtual int DisplayKind() const = 0;
    virtual double NormalisedToValue(double normalised, const IParam& param) const = 0;
    virtual double ValueToNormalised(double value, const IParam& param) const = 0;

protected:
    Shape() = default;
    Shape(const Shape&) = default;
    Shape& operator=(const Shape&) = default;
};

class IParam::ShapeLinear final : public IParam::Shape {
public:
    std::unique_ptr<Shape> Clone() const override;
    int DisplayKind() const override { return 0; }
    double NormalisedToValue(double normalised, const IParam& param) const override;
    double ValueToNormalised(double value, const IParam& param) const override;
};

class IParam::ShapePowCurve final : public IParam::Shape {
public:
    explicit ShapePowCurve(double power) : m_power(power) {}
    std::unique_ptr<Shape> Clone() const override;
    int DisplayKind() const override;
    double NormalisedToValue(double normalised, const IParam& param) const override;
    double ValueToNormalised(double value, const IParam& param) const override;
    double Power() const { return m_power; }

private:
    double m_power;
};

// Equal ratios of the value take equal steps of the normalised value.
class IParam::ShapeExp final : public IParam::Shape {
public:
    std::unique_ptr<Shape> Clone() const override;
    // A lower bound of 0 or less maps as 1e-8, since the logarithm needs a positive value.
    void Init(const IParam& param) override;
    int DisplayKind() const override { return 1; }
    double NormalisedToValue(double normalised, const IParam& param) const override;
    double ValueToNormalised(double value, const IParam& param) const override;

private:
    double m_mul = 1.0;
    double m_add = 1.0;
};

} // namespace vx
