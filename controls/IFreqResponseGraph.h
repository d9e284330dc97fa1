#pragma once

#include "toolkit/IControl.h"

#include <span>
#include <vector>

namespace vx::ui {

// The impulse-response spectrum display. For now it keeps the last block
// handed to it; the analysis and the drawing of the curve come later.
class IFreqResponseGraph : public IControl {
public:
    IFreqResponseGraph(const IRECT& bounds, const IColor& curveColor, int fftSize, int windowType);

    // Copies fftSize samples and asks for a redraw.
    virtual void ProcessBlock(const double* samples);

    void Draw(ICanvas&) override {}

    int FFTSize() const { return static_cast<int>(block.size()); }
    std::span<const double> LastBlock() const { return block; }
    int WindowType() const { return windowType; }
    const IColor& CurveColor() const { return curveColor; }

private:
    IColor curveColor;
    int windowType;
    std::vector<double> block;
};

} // namespace vx::ui
