// The page methods on the real panel: which effect groups show, the
// dynamics curve, the display hint and the recorded page.

#include "controls/IDynamicsResponseGraph.h"
#include "pages/PageNames.h"
#include "tests/pages/LayoutDump.h"
#include "tests/pages/PagesFixture.h"
#include "toolkit/ICanvas.h"

#include <algorithm>

namespace omnar::test {
namespace {

using namespace omnar::pages;

// The twenty effect groups the page methods switch.
const char* const kEffectGroups[] = {
    group::kAnalogSim,    group::kGate,       group::kDynamics,    group::kExpander,
    group::kCompressor,   group::kIR,         group::kIRDisplay,   group::kAmbience,
    group::kAmbienceTime, group::kBuzzFilter, group::kPunchFilter, group::kCrunchFilter,
    group::kLowFilter,    group::kMidFilter,  group::kHighFilter,  group::kDrive,
    group::kPreamp,       group::kLevel,      group::kAutoFilter,  group::kChorus};

// What each page of kPageMethods shows, in the same order.
struct PageShows {
    bool curve;
    bool hint;
    std::vector<const char*> groups;
};

const PageShows kShows[] = {
    {true, true, {group::kGate}},
    {true, true, {group::kDynamics, group::kCompressor}},
    {false, true, {group::kIRDisplay, group::kAmbience}},
    {false, false, {group::kIR, group::kIRDisplay}},
    {false, true, {group::kAnalogSim, group::kIRDisplay}},
    {false, true, {group::kIRDisplay}},
    {false, true, {group::kBuzzFilter, group::kIRDisplay}},
    {false, true, {group::kPunchFilter, group::kIRDisplay}},
    {false, true, {group::kCrunchFilter, group::kIRDisplay}},
    {false, true, {group::kLowFilter, group::kIRDisplay}},
    {false, true, {group::kMidFilter, group::kIRDisplay}},
    {false, true, {group::kHighFilter, group::kIRDisplay}},
    {false, true, {group::kIRDisplay, group::kDrive}},
    {false, true, {group::kIRDisplay, group::kPreamp}},
    {true, true, {group::kLevel}},
    {false, true, {group::kIRDisplay, group::kAutoFilter}},
    {false, true, {group::kIRDisplay, group::kChorus}},
};
static_assert(std::size(kShows) == std::size(kPageMethods));

class PageSwitchFixture : public PagesFixture {
protected:
    // The effect groups with every control visible; the others must be wholly hidden.
    std::vector<std::string> VisibleGroups() {
        std::vector<std::string> visible;
        for (const char* name : kEffectGroups) {
            const int hidden = HiddenIn(name);
            if (hidden == 0)
                visible.push_back(name);
            else
                EXPECT_EQ(hidden, int(Group(name).size())) << name << " is half shown";
        }
        return visible;
    }
    bool HintShown() { return !Panel().FindControlByTag(tag::kIRHint)->IsHidden(); }
    bool CurveShown() { return !editor->mDynamicsGraph->IsHidden(); }
    // The controls without a group stay as the layout left them.
    void ExpectUngroupedUntouched(const std::vector<std::string>& before) {
        EXPECT_EQ(LayoutDump(Panel(), ""), before);
    }
};

TEST_F(PageSwitchFixture, EachPageMethodShowsItsGroupsCurveAndHint) {
    Open();
    const auto ungrouped = LayoutDump(Panel(), "");
    for (std::size_t i = 0; i < std::size(kPageMethods); ++i) {
        const PageMethod& m = kPageMethods[i];
        const PageShows& c = kShows[i];
        SCOPED_TRACE(m.name);
        for (int round = 0; round < 2; ++round) { // a repeated call ends the same
            (editor.get()->*m.method)();
            EXPECT_EQ(editor->mCurrentPage, m.page);
            EXPECT_EQ(CurveShown(), c.curve);
            EXPECT_EQ(HintShown(), c.hint);
            std::vector<std::string> want(c.groups.begin(), c.groups.end());
            std::vector<std::string> got = VisibleGroups();
            std::sort(want.begin(), want.end());
            std::sort(got.begin(), got.end());
            EXPECT_EQ(got, want);
        }
        ExpectUngroupedUntouched(ungrouped);
    }
    // No page method ever shows the expander's group.
    EXPECT_EQ(HiddenIn(group::kExpander), 2);
}

TEST_F(PageSwitchFixture, DynamicsTakesTheCompressorRatioInSinglePrecision) {
    Open();
    const struct {
        double value;
        double ratio;
    } cases[] = {{0, 1.0}, {64, double(64.f / 127.f * 19.f + 1.f)}, {127, 20.0}};
    for (const auto& c : cases) {
        editor->GetParam(25)->Set(c.value);
        editor->ShowDynamics();
        EXPECT_EQ(editor->mDynamicsGraph->UpperRatio(), c.ratio) << c.value;
    }
    editor->GetParam(25)->Set(64);
    editor->ShowDynamics();
    EXPECT_NEAR(editor->mDynamicsGraph->UpperRatio(), 10.57, 0.005);
}

TEST_F(PageSwitchFixture, HideAndShowControlsKeepThePageAndTheHint) {
    Open();
    editor->ShowChorus();
    editor->HideControls();
    EXPECT_EQ(editor->mCurrentPage, 17);
    EXPECT_TRUE(VisibleGroups().empty());
    EXPECT_FALSE(CurveShown());
    EXPECT_TRUE(HintShown());

    editor->ShowIR();
    editor->ShowControls();
    EXPECT_EQ(editor->mCurrentPage, 4);
    EXPECT_EQ(VisibleGroups().size(), std::size(kEffectGroups));
    EXPECT_TRUE(CurveShown());
    EXPECT_FALSE(HintShown());
}

TEST_F(PageSwitchFixture, DisableAllControlsTwiceLeavesItsGroupsEnabled) {
    Open();
    const auto ungrouped = LayoutDump(Panel(), "");
    // Disabled before: the disabled state is not remembered.
    Group(group::kDrive)[0]->SetDisabled(true);
    editor->DisableAllControls(true);
    EXPECT_EQ(DisabledIn(group::kMain), 7);
    EXPECT_EQ(DisabledIn(group::kDrive), 23);
    EXPECT_EQ(DisabledIn(group::kChorus), 0); // not one of its groups
    editor->DisableAllControls(false);
    EXPECT_EQ(DisabledIn(group::kMain), 0);
    EXPECT_EQ(DisabledIn(group::kDrive), 0);
    ExpectUngroupedUntouched(ungrouped);
}

TEST_F(PageSwitchFixture, WithoutAPanelEveryMethodDoesNothing) {
    for (const PageMethod& m : kPageMethods)
        (editor.get()->*m.method)();
    editor->HideControls();
    editor->ShowControls();
    editor->DisableAllControls(true);
    EXPECT_EQ(editor->mCurrentPage, 0);

    Open();
    Close(); // the panel gone, its pointers forgotten
    for (const PageMethod& m : kPageMethods)
        (editor.get()->*m.method)();
    EXPECT_EQ(editor->mCurrentPage, 0);
}

} // namespace
} // namespace omnar::test
