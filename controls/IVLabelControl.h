#pragma once

#include "controls/ITextControl.h"
#include "toolkit/IVectorBase.h"

namespace vx::ui {

// A text label in the vector style: background, text with an optional drop
// shadow, optional frame. The text shown is the text control's, not the label.
class IVLabelControl : public ITextControl, public IVectorBase {
public:
    IVLabelControl(const IRECT& bounds, const char* label = "",
                   const IVStyle& style = kDefaultStyle);

    void Draw(ICanvas& g) override;
};

} // namespace vx::ui
