#pragma once

// Pages are control groups, not objects: these show, hide, enable and
// disable a whole group, or one control by its tag. A group or tag that no
// control carries is passed over.

namespace vx::ui {
class ICanvas;
}

namespace omnar::pages {

void HideGroup(vx::ui::ICanvas& canvas, const char* group, bool hide);
void DisableGroup(vx::ui::ICanvas& canvas, const char* group, bool disable);
void HideTag(vx::ui::ICanvas& canvas, int tag, bool hide);
void DisableTag(vx::ui::ICanvas& canvas, int tag, bool disable);

} // namespace omnar::pages
