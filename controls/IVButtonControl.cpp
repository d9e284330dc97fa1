#include "controls/IVButtonControl.h"

#include "toolkit/ICanvas.h"

namespace vx::ui {

IVButtonControl::IVButtonControl(const IRECT& bounds, IActionFunction action, const char* label,
                                 const IVStyle& s, bool labelInButton, bool valueInButton,
                                 EVShape buttonShape)
    : IButtonControlBase(bounds, std::move(action)), IVectorBase(s, labelInButton, valueInButton) {
    text = style.valueText;
    shape = buttonShape;
    AttachIControl(this);
    SetLabelStr(label);
}

void IVButtonControl::Draw(ICanvas& g) {
    DrawBackground(g, drawRect);
    DrawControlBody(g);
    DrawLabel(g);
    DrawValue(g, false);
}

void IVButtonControl::DrawControlBody(ICanvas& g) {
    DrawPushableShape(g, shape, widgetBounds, GetValue(0) != 0.0, mouseIsOver, disabled);
}

void IVButtonControl::OnResize() {
    targetRect = LayoutRects(drawRect, true);
    mouseIsOver = false;
    SetDirty(false);
}

bool IVButtonControl::ContainsPoint(float x, float y) const {
    return widgetBounds.ContainsPoint(x, y);
}

} // namespace vx::ui
