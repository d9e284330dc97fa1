// Which front-panel knobs show for each bank and arrangement.

#include "controls/IBitmapControls.h"
#include "pages/PageNames.h"
#include "tests/pages/PagesFixture.h"
#include "toolkit/ICanvas.h"

#include <set>

namespace omnar::test {
namespace {

using namespace omnar::pages;

const char* const kKnobGroups[] = {group::kBankA, group::kBankAPreMid, group::kBankAPostMid,
                                   group::kBankB, group::kBankBPreMid, group::kBankBPostMid};

// The knob groups with at least one control shown.
std::set<std::string> ShownKnobGroups(vx::ui::ICanvas& canvas) {
    std::set<std::string> shown;
    for (const char* name : kKnobGroups)
        canvas.ForEachControlInGroup(name, [&](vx::ui::IControl* c) {
            if (!c->IsHidden())
                shown.insert(name);
        });
    return shown;
}

int ShownBitmapKnobs(vx::ui::ICanvas& canvas) {
    int n = 0;
    for (int i = 0; i < canvas.NControls(); ++i)
        if (dynamic_cast<vx::ui::IBKnobRotaterControl*>(canvas.GetControl(i)))
            n += !canvas.GetControl(i)->IsHidden();
    return n;
}

struct ArrangementCase {
    uint8_t preMidMode;
    bool bankB;
    std::set<std::string> shown;
};

// Only the value 1 means pre-mid.
const ArrangementCase kArrangements[] = {
    {0, false, {group::kBankA, group::kBankAPostMid}},
    {1, false, {group::kBankA, group::kBankAPreMid}},
    {0, true, {group::kBankB, group::kBankBPostMid}},
    {1, true, {group::kBankB, group::kBankBPreMid}},
    {2, true, {group::kBankB, group::kBankBPostMid}},
};

TEST_F(PagesFixture, EachFlagPairShowsOneBankAndOneMidArrangement) {
    Open();
    EXPECT_EQ(ShownKnobGroups(Panel()), kArrangements[0].shown); // as the layout leaves it
    for (const ArrangementCase& c : kArrangements) {
        SCOPED_TRACE(std::to_string(c.preMidMode) + (c.bankB ? " bank B" : " bank A"));
        editor->mPreMidMode = c.preMidMode;
        editor->mKnobBankB = c.bankB;
        editor->ShowPreMidControls();
        EXPECT_EQ(ShownKnobGroups(Panel()), c.shown);
        EXPECT_EQ(ShownBitmapKnobs(Panel()), 8); // seven bank knobs and the level knob
    }
}

TEST_F(PagesFixture, TogglingTheBankTwiceReturnsAndKeepsDisabledKnobsDisabled) {
    Open();
    editor->mPreMidMode = 1;
    editor->ShowPreMidControls();
    const auto before = ShownKnobGroups(Panel());
    for (int i = 0; i < 2; ++i) {
        editor->mKnobBankB = !editor->mKnobBankB;
        editor->ShowPreMidControls();
    }
    EXPECT_EQ(ShownKnobGroups(Panel()), before);
    for (const vx::ui::IControl* c : Group(group::kBankA))
        EXPECT_TRUE(c->IsDisabled());
    for (const vx::ui::IControl* c : Group(group::kBankAPreMid))
        EXPECT_FALSE(c->IsDisabled());
}

TEST_F(PagesFixture, TheDevicesBankValueSwitchesTheKnobsOnlyWithAPanel) {
    Open();
    editor->ApplyDeviceValue(0x4D, 1);
    EXPECT_EQ(ShownKnobGroups(Panel()),
              (std::set<std::string>{group::kBankB, group::kBankBPostMid}));
    EXPECT_FALSE(Panel().FindControlByTag(tag::kRedBackground)->IsHidden());
    editor->ApplyDeviceValue(0x4D, 0);
    EXPECT_EQ(ShownKnobGroups(Panel()),
              (std::set<std::string>{group::kBankA, group::kBankAPostMid}));
    EXPECT_TRUE(Panel().FindControlByTag(tag::kRedBackground)->IsHidden());
}

} // namespace
} // namespace omnar::test
