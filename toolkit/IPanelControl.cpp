#include "toolkit/IPanelControl.h"

#include "toolkit/ICanvas.h"

namespace vx::ui {

IPanelControl::IPanelControl(const IRECT& bounds, const IFillPattern& fill, bool drawFrame,
                             IContainerFunc attach, IContainerFunc resize)
    : IContainerBase(bounds, std::move(attach), std::move(resize)), fill(fill),
      drawFrame(drawFrame ? 1 : 0) {
    ignoreMouse = true;
}

void IPanelControl::Draw(ICanvas& g) {
    g.PathReset();
    g.PathAddRect(drawRect);
    g.PathFillCurrent(fill, {IFillStyle::Winding, false}, &blend);
    if (drawFrame == 1)
        g.DrawRect(kColorLightGray, drawRect, &blend, 1.f);
}

} // namespace vx::ui
