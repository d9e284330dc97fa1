#include "toolkit/ISVGControl.h"

#include "toolkit/ICanvas.h"

namespace vx::ui {

ISVGControl::ISVGControl(const IRECT& bounds, const ISVGHandle& svg, bool useLayer)
    : IControl(bounds, -1, nullptr), useLayer(useLayer), svg(svg) {}

void ISVGControl::Draw(ICanvas& g) {
    if (!useLayer) {
        g.DrawSVG(svg, drawRect, &blend, nullptr, nullptr);
        return;
    }
    if (!g.IsLayerCurrent(layer.get())) {
        g.BeginOffscreenLayer(this, drawRect, false);
        g.DrawSVG(svg, drawRect, nullptr, nullptr, nullptr);
        layer = g.FinishOffscreenLayer(); // the old layer and its bitmap go here
    }
    if (layer)
        g.DrawOffscreenLayer(*layer, &blend);
}

} // namespace vx::ui
