#include "pages/GroupOps.h"

#include "toolkit/ICanvas.h"

namespace omnar::pages {

void HideGroup(vx::ui::ICanvas& canvas, const char* group, bool hide) {
    canvas.ForEachControlInGroup(group, [hide](vx::ui::IControl* c) { c->Hide(hide); });
}

void DisableGroup(vx::ui::ICanvas& canvas, const char* group, bool disable) {
    canvas.ForEachControlInGroup(group,
                                 [disable](vx::ui::IControl* c) { c->SetDisabled(disable); });
}

void HideTag(vx::ui::ICanvas& canvas, int tag, bool hide) {
    if (vx::ui::IControl* control = canvas.FindControlByTag(tag))
        control->Hide(hide);
}

void DisableTag(vx::ui::ICanvas& canvas, int tag, bool disable) {
    if (vx::ui::IControl* control = canvas.FindControlByTag(tag))
        control->SetDisabled(disable);
}

} // namespace omnar::pages
