// The state the layout leaves the panel in, the saved scale, and closing and
// reopening the panel.

#include "controls/ITextControl.h"
#include "pages/PageNames.h"
#include "pages/PanelScale.h"
#include "platform/sys/Folders.h"
#include "tests/pages/LayoutDump.h"
#include "tests/pages/PagesFixture.h"
#include "toolkit/ICanvas.h"

#include <cstdio>

namespace omnar::test {
namespace {

using namespace omnar::pages;

enum class Seen { Shown, Hidden };
enum class Use { Enabled, Disabled };
struct StartState {
    const char* group;
    Seen seen;
    Use use;
};

const StartState kStartStates[] = {
    {group::kBankA, Seen::Shown, Use::Disabled},
    {group::kBankAPostMid, Seen::Shown, Use::Disabled},
    {group::kFrontPanel, Seen::Shown, Use::Disabled},
    {group::kBankB, Seen::Hidden, Use::Disabled},
    // Hidden by the knob arrangement only, never disabled.
    {group::kBankAPreMid, Seen::Hidden, Use::Enabled},
    {group::kBankBPreMid, Seen::Hidden, Use::Enabled},
    {group::kBankBPostMid, Seen::Hidden, Use::Enabled},
    {group::kNone, Seen::Shown, Use::Enabled},
    {group::kMain, Seen::Shown, Use::Enabled},
    {group::kIR, Seen::Shown, Use::Enabled},
    {group::kAmbience, Seen::Hidden, Use::Enabled},
    {group::kAmbienceTime, Seen::Hidden, Use::Enabled},
    {group::kAnalogSim, Seen::Hidden, Use::Enabled},
    {group::kLevel, Seen::Hidden, Use::Enabled},
    {group::kDrive, Seen::Hidden, Use::Enabled},
    {group::kPreamp, Seen::Hidden, Use::Enabled},
    {group::kCompressor, Seen::Hidden, Use::Enabled},
    {group::kExpander, Seen::Hidden, Use::Enabled},
    {group::kGate, Seen::Hidden, Use::Enabled},
    {group::kDynamics, Seen::Hidden, Use::Enabled},
    {group::kBuzzFilter, Seen::Hidden, Use::Enabled},
    {group::kPunchFilter, Seen::Hidden, Use::Enabled},
    {group::kCrunchFilter, Seen::Hidden, Use::Enabled},
    {group::kLowFilter, Seen::Hidden, Use::Enabled},
    {group::kMidFilter, Seen::Hidden, Use::Enabled},
    {group::kHighFilter, Seen::Hidden, Use::Enabled},
    {group::kAutoFilter, Seen::Hidden, Use::Enabled},
    {group::kChorus, Seen::Hidden, Use::Enabled},
};

TEST_F(PagesFixture, StartsOnTheIRPageWithTheFrontPanelDisabled) {
    Open();
    for (const StartState& row : kStartStates) {
        SCOPED_TRACE(row.group[0] ? row.group : "(no group)");
        const int n = int(LayoutDump(Panel(), row.group).size());
        ASSERT_GT(n, 0);
        int hidden = 0, disabled = 0;
        for (int i = 0; i < Panel().NControls(); ++i)
            if (const vx::ui::IControl* c = Panel().GetControl(i);
                c->GetGroup() == std::string(row.group)) {
                hidden += c->IsHidden();
                disabled += c->IsDisabled();
            }
        EXPECT_EQ(hidden, row.seen == Seen::Hidden ? n : 0);
        EXPECT_EQ(disabled, row.use == Use::Disabled ? n : 0);
    }
    const auto backgrounds = Group(group::kBackground);
    EXPECT_FALSE(backgrounds[0]->IsHidden());
    EXPECT_TRUE(backgrounds[1]->IsHidden());
    EXPECT_TRUE(editor->mLayoutBuilt);
    EXPECT_EQ(editor->mCurrentPage, 0);
}

struct ScaleCase {
    const char* settings; // nullptr: no file
    float scale;
};

const ScaleCase kScaleCases[] = {
    {nullptr, 0.5f},
    {"[audio]\ndriver=0\n", 0.5f},
    {"[GUI]\nsize=3\n", 0.5f},
    {"[GUI]\nscale=0.750000\n", 0.75f},
    {"[gui]\nscale = \"1.0\" \n", 1.f},
    {"[gui]\nscale=2\n", 2.f},
    {"[gui]\nscale=3\n", 3.f},
    {"[gui]\nscale=0.333333\n", 1.f / 3.f}, // the smallest size, as the closing writes it
    {"[gui]\nscale=0\n", 0.5f},
    {"[gui]\nscale=-1\n", 0.5f},
    {"[gui]\nscale=abc\n", 0.5f},
    {"[gui]\nscale=0.75abc\n", 0.5f},
    {"[gui]\nscale=\n", 0.5f},
    {"[gui]\nscale=nan\n", 0.5f},
    {"[gui]\nscale=inf\n", 0.5f},
    {"[gui]\nscale=0.3\n", 0.5f},
    {"[gui]\nscale=3.5\n", 0.5f},
    {"[gui]\nscale=1e30\n", 0.5f},
};

TEST_F(PagesFixture, TheSavedScaleSizesThePanelAndBadOnesGiveTheDefault) {
    for (const ScaleCase& c : kScaleCases) {
        SCOPED_TRACE(c.settings ? c.settings : "(no file)");
        if (c.settings)
            WriteSettings(c.settings);
        Open();
        EXPECT_FLOAT_EQ(Panel().GetDrawScale(), c.scale);
        Close();
        std::remove(sys::SettingsFilePath().c_str()); // the closing wrote the scale back
    }
}

TEST(PanelScale, OnlyWholeNumbersInRangeCount) {
    EXPECT_EQ(ParsePanelScale("1.5"), 1.5f);
    EXPECT_EQ(ParsePanelScale(" 1.5"), kDefaultPanelScale);
    EXPECT_EQ(ParsePanelScale("1,5"), kDefaultPanelScale); // no locale decides the point
    EXPECT_EQ(ParsePanelScale(""), kDefaultPanelScale);
}

TEST_F(PagesFixture, ClosingForgetsThePanelsControls) {
    Open();
    editor->mCurrentPage = 13;
    const auto first = LayoutDump(Panel());
    Close();

    for (const vx::ui::ITextControl* row : editor->mPresetRows)
        EXPECT_EQ(row, nullptr);
    EXPECT_EQ(editor->mPresetListSelector, nullptr);
    EXPECT_EQ(editor->mIRDisplay, nullptr);
    EXPECT_FALSE(editor->mLayoutBuilt);
    // What replies may do while the panel is closed (ASan watches).
    editor->RefreshPresetList();
    editor->ListPresetFolder();
    editor->ShowConnectionStatus();
    editor->ShowPreMidControls();
    editor->ApplyDeviceValue(0x4D, 1);

    Open();
    EXPECT_EQ(editor->mCurrentPage, 0);
    EXPECT_TRUE(editor->mLayoutBuilt);
    ASSERT_NE(editor->mPresetRows[5], nullptr);
    EXPECT_GE(Panel().GetControlIdx(editor->mPresetRows[5]), 0);
    EXPECT_EQ(LayoutDump(Panel()), first);
}

} // namespace
} // namespace omnar::test
