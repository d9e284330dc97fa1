#pragma once

#include "toolkit/IContainerBase.h"
#include "toolkit/IDrawingRecords.h"

namespace vx::ui {

// A filled container, optionally framed in light gray; it ignores the mouse.
class IPanelControl : public IContainerBase {
public:
    IPanelControl(const IRECT& bounds, const IFillPattern& fill, bool drawFrame = false,
                  IContainerFunc attach = nullptr, IContainerFunc resize = nullptr);
    IPanelControl(const IRECT& bounds, const IColor& color, bool drawFrame = false,
                  IContainerFunc attach = nullptr, IContainerFunc resize = nullptr)
        : IPanelControl(bounds, IFillPattern(color), drawFrame, std::move(attach),
                        std::move(resize)) {}

    void Draw(ICanvas& g) override;
    const IFillPattern& Fill() const { return fill; }

private:
    IFillPattern fill;
    int drawFrame;
};

} // namespace vx::ui
