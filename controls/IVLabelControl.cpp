#include "controls/IVLabelControl.h"

#include "toolkit/ICanvas.h"

namespace vx::ui {

IVLabelControl::IVLabelControl(const IRECT& bounds, const char* label, const IVStyle& s)
    : ITextControl(bounds, label, kDefaultText, kColorTransparent, false),
      IVectorBase(s, false, false) {
    text = style.valueText;
    AttachIControl(this);
    SetLabelStr(label);
}

void IVLabelControl::Draw(ICanvas& g) {
    DrawBackground(g, drawRect);
    if (str.GetLength() > 0) {
        if (style.drawShadows && !disabled) {
            IText shadowText = style.valueText;
            shadowText.FGColor = GetColor(kSH);
            g.DrawText(shadowText, str.Get(),
                       drawRect.GetTranslated(style.shadowOffset, style.shadowOffset), &blend);
        }
        g.DrawText(style.valueText, str.Get(), drawRect, &blend);
    }
    if (style.drawFrame)
        g.DrawRect(GetColor(kFR), drawRect, &blend, style.frameThickness);
}

} // namespace vx::ui
