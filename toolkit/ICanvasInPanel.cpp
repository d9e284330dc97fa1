// Makers of the in-panel text entry and popup menu.
#include "toolkit/ICanvas.h"

namespace vx::ui {

void ICanvas::AddTextEntryControl() {
    if (!textEntryControl)
        AttachTextEntryControl(new ITextEntryControl());
}

void ICanvas::AddPopupMenuControl(const IText& text, const IRECT& bounds) {
    if (!popupMenuControl)
        AttachPopupMenuControl(new IPopupMenuControl(-1, text, bounds, bounds));
}

} // namespace vx::ui
