#pragma once

#include "toolkit/IControl.h"

namespace vx::ui {

// The static transfer curve of the dynamics section on a square decibel grid:
// an expander below the lower break point, unity between the break points and
// a compressor above the upper one. Both axes run from -100 dB to 0 dB.
class IDynamicsResponseGraph : public IControl {
public:
    IDynamicsResponseGraph(const IRECT& bounds, const IColor& curveColor);

    // A threshold's sign is ignored: +20 acts as -20. Each keeps lower <= upper.
    virtual void SetLowerBreakPoint(double dB);
    virtual void SetUpperBreakPoint(double dB);
    virtual void SetLowerSlope(double slope);
    virtual void SetUpperRatio(double ratio);

    void Draw(ICanvas& g) override;

    double LowerBreak() const { return lowerBreak; }
    double UpperBreak() const { return upperBreak; }
    double UpperRatio() const { return upperRatio; }

private:
    void DrawGrid(ICanvas& g);

    double lowerBreak = 0.0;
    double upperBreak = 0.0;
    double lowerSlope = 1.0;
    double upperRatio = 1.0;
    int width;
    int height;
    IColor curveColor;
};

} // namespace vx::ui
