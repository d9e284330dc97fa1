#pragma once

#include "toolkit/IControl.h"
#include "toolkit/IResourceRecords.h"

namespace vx::ui {

// An SVG image fitted into the control; with a layer it is drawn once per
// size and scale and then copied.
class ISVGControl : public IControl {
public:
    ISVGControl(const IRECT& bounds, const ISVGHandle& svg, bool useLayer = false);

    void Draw(ICanvas& g) override;
    const IOffscreenLayer* GetLayer() const { return layer.get(); }

private:
    bool useLayer;
    ILayerPtr layer;
    ISVGHandle svg;
};

} // namespace vx::ui
