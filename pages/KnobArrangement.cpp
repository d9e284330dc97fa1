// Which knobs of the front panel show: bank A or B, and in each the punch
// (pre-mid) or the mid (post-mid) knobs, swapped in place.

#include "device/OmnarControl.h"
#include "pages/GroupOps.h"
#include "pages/PageNames.h"
#include "toolkit/ICanvas.h"

using namespace omnar::pages;

namespace {

constexpr const char* kKnobGroups[] = {group::kBankA,       group::kBankB,
                                       group::kBankAPreMid, group::kBankAPostMid,
                                       group::kBankBPreMid, group::kBankBPostMid};

struct Arrangement {
    const char* bank;
    const char* midKnobs;
};

// Only the flag value 1 counts as pre-mid.
Arrangement ChooseArrangement(uint8_t preMidMode, bool bankB) {
    const bool preMid = preMidMode == 1;
    if (bankB)
        return {group::kBankB, preMid ? group::kBankBPreMid : group::kBankBPostMid};
    return {group::kBankA, preMid ? group::kBankAPreMid : group::kBankAPostMid};
}

} // namespace

// Leaves the disabled state alone: knobs disabled until a device answers stay so.
void OmnarControl::ShowPreMidControls() {
    if (vx::ui::ICanvas* canvas = GetGraphics())
        ArrangeKnobs(*canvas);
}

void OmnarControl::ArrangeKnobs(vx::ui::ICanvas& canvas) {
    canvas.AssertMainThread();
    for (const char* name : kKnobGroups)
        HideGroup(canvas, name, true);
    const Arrangement shown = ChooseArrangement(mPreMidMode, mKnobBankB);
    HideGroup(canvas, shown.bank, false);
    HideGroup(canvas, shown.midKnobs, false);
}
