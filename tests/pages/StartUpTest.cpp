// The state the layout leaves the panel in, the saved scale, and closing and
// reopening the panel.

#include "controls/IDynamicsResponseGraph.h"
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

// How many of a group's controls start hidden and disabled; kAll for every one.
constexpr int kAll = -1;
struct StartState {
    const char* group;
    int hidden;
    int disabled;
};

const StartState kStartStates[] = {
    {group::kBankA, 0, kAll},
    {group::kBankAPostMid, 0, kAll},
    {group::kFrontPanel, 0, kAll},
    {group::kBankB, kAll, kAll},
    // Hidden by the knob arrangement only, never disabled.
    {group::kBankAPreMid, kAll, 0},
    {group::kBankBPreMid, kAll, 0},
    {group::kBankBPostMid, kAll, 0},
    // The background panel and the number boxes' labels (under hidden boxes)
    // aside; the preset rows below the list's 19 wait hidden.
    {group::kNone, 12 + 128 - 19, 0},
    // The dynamics curve, the hint and the notice.
    {group::kMain, 3, 0},
    // Both user slots' value knobs, IMPORT and LIST buttons.
    {group::kIR, 0, 6},
    {group::kIRDisplay, 0, 0},
    {group::kDevice, 0, 0},
    {group::kFilterLed, kAll, 0},
    {group::kAmbience, kAll, 0},
    {group::kAmbienceTime, kAll, 0},
    {group::kAnalogSim, kAll, 0},
    {group::kLevel, kAll, 0},
    {group::kDrive, kAll, 0},
    {group::kPreamp, kAll, 0},
    {group::kCompressor, kAll, 0},
    {group::kExpander, kAll, 0},
    {group::kGate, kAll, 0},
    {group::kDynamics, kAll, 0},
    {group::kBuzzFilter, kAll, 0},
    {group::kPunchFilter, kAll, 0},
    {group::kCrunchFilter, kAll, 0},
    {group::kLowFilter, kAll, 0},
    {group::kMidFilter, kAll, 0},
    {group::kHighFilter, kAll, 0},
    {group::kAutoFilter, kAll, 0},
    {group::kChorus, kAll, 0},
    {group::kFirmwareBackground, kAll, 0},
    {group::kFirmwareUpdate, kAll, 0},
    {group::kFirmware, kAll, 0},
    {group::kCustomIR, kAll, 0},
    {group::kGlobalSettings, kAll, 0},
    {group::kMidiCC, kAll, 0},
    {group::kMidiProgram, kAll, 0},
    {group::kMidiProgramOffset0, kAll, 0},
    {group::kMidiProgramOffset1, kAll, 0},
    {group::kAbout, kAll, 0},
    {group::kProgress, kAll, 0},
    {group::kFactoryPreset, kAll, 0},
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
        EXPECT_EQ(hidden, row.hidden == kAll ? n : row.hidden);
        EXPECT_EQ(disabled, row.disabled == kAll ? n : row.disabled);
    }
    const auto backgrounds = Group(group::kBackground);
    EXPECT_FALSE(backgrounds[0]->IsHidden());
    EXPECT_TRUE(backgrounds[1]->IsHidden());
    for (const int tag : {tag::kIRHint, tag::kStandaloneNotice, tag::kFilterLed})
        EXPECT_TRUE(Panel().FindControlByTag(tag)->IsHidden()) << tag;
    ASSERT_NE(editor->mDynamicsGraph, nullptr);
    EXPECT_TRUE(editor->mDynamicsGraph->IsHidden());
    for (const int tag :
         {tag::kIRKnobSlot7, tag::kIRKnobSlot8, tag::kIRImportSlot7, tag::kIRImportSlot8})
        EXPECT_TRUE(Panel().FindControlByTag(tag)->IsDisabled()) << tag;
    EXPECT_TRUE(editor->mLayoutBuilt);
    EXPECT_EQ(editor->mCurrentPage, 0);
    for (int n = 0; n < 128; ++n)
        EXPECT_EQ(editor->mProgramMap[std::size_t(n)], n);
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
