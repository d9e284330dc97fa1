#include "controls/IFreqResponseGraph.h"

#include <algorithm>

namespace vx::ui {

IFreqResponseGraph::IFreqResponseGraph(const IRECT& bounds, const IColor& color, int fftSize,
                                       int window)
    : IControl(bounds), curveColor(color), windowType(window),
      block(static_cast<std::size_t>(std::max(fftSize, 0)), 0.0) {}

void IFreqResponseGraph::ProcessBlock(const double* samples) {
    if (!samples)
        return;
    std::copy_n(samples, block.size(), block.begin());
    SetDirty(false);
}

} // namespace vx::ui
