// The panel right after the layout: groups, tags, texts, resources.

#include "controls/IBitmapControls.h"
#include "controls/IInvisibleSelectControl.h"
#include "controls/ITextControl.h"
#include "pages/PageBuilder.h"
#include "pages/PageNames.h"
#include "platform/sys/Log.h"
#include "tests/pages/LayoutDump.h"
#include "tests/pages/PagesFixture.h"
#include "tests/support/FakeDelegate.h"
#include "tests/support/TestClock.h"
#include "toolkit/ICanvas.h"

#include <algorithm>
#include <cstring>

namespace omnar::test {
namespace {

using namespace omnar::pages;

struct GroupTable {
    const char* group;
    int controls;
    std::vector<int> tags;
};

// Every group of the panel with its controls and tags in attach order; the
// preset list and the click areas carry no group.
const GroupTable kGroups[] = {
    {group::kBackground, 2, {103}},
    {group::kBankA, 6, {}},
    {group::kBankAPostMid, 1, {}},
    {group::kBankAPreMid, 1, {}},
    {group::kBankB, 5, {}},
    {group::kBankBPostMid, 2, {}},
    {group::kBankBPreMid, 2, {}},
    {group::kFrontPanel, 8, {1, 59, 62, 60, 63, 61}},
    {group::kMain, 7, {102, 148, 154}},
    {group::kAmbience, 16, {79, 80, 81, 82, 83, 84, 85, 45, 46}},
    {group::kAmbienceTime, 4, {47}},
    {group::kAnalogSim, 5, {22, 21}},
    {group::kLevel, 15, {20, 17, 19, 50}},
    {group::kDrive, 23, {86, 87, 88, 89, 90, 91, 92, 93, 94, 95, 49, 48, 34}},
    {group::kPreamp, 5, {54}},
    {group::kCompressor, 8, {9, 10, 11, 12}},
    {group::kExpander, 2, {13}},
    {group::kGate, 2, {}},
    {group::kDynamics, 14, {8, 6}},
    {group::kBuzzFilter, 9, {29, 30}},
    {group::kPunchFilter, 13, {31, 33, 32}},
    {group::kCrunchFilter, 5, {35}},
    {group::kLowFilter, 13, {36, 38, 37}},
    {group::kMidFilter, 13, {39, 41, 40}},
    {group::kHighFilter, 13, {42, 44, 43}},
    {group::kAutoFilter, 13, {51, 52, 53}},
    {group::kChorus, 21, {98, 99, 100, 101, 97}},
    {group::kIR,
     23,
     {66, 67, 105, 106, 23, 24, 25, 26, 27, 28, 65, 68, 69, 70, 71, 72, 73, 74, 75}},
    {group::kFilterLed, 1, {64}},
    {group::kIRDisplay, 1, {}},
    {group::kDevice, 4, {151, 152, 153}},
    {group::kFirmwareBackground, 1, {155}},
    {group::kFirmwareUpdate, 3, {}},
    {group::kFirmware, 2, {150, 149}},
    {group::kCustomIR, 37, {}},
    {group::kGlobalSettings, 31, {}},
    {group::kMidiCC, 18, {}},
    {group::kMidiProgram, 3, {}},
    {group::kMidiProgramOffset0, 2, {}},
    {group::kMidiProgramOffset1, 2, {}},
    {group::kAbout, 3, {}},
    {group::kProgress, 4, {56, 57, 58}},
    {group::kFactoryPreset, 4, {76, 78, 77}},
};

// The layout's own controls without a group: 128 preset rows, the list's
// click area and the one over the display.
constexpr int kUngroupedControls = 130;
// Each of the 12 number boxes attaches its value label after itself.
constexpr int kNumberBoxLabels = 12;

TEST_F(PagesFixture, EachGroupHoldsItsControlsAndTagsInOrder) {
    Open();
    int grouped = 0;
    for (const GroupTable& row : kGroups) {
        SCOPED_TRACE(row.group);
        EXPECT_EQ(int(Group(row.group).size()), row.controls);
        EXPECT_EQ(TagsOf(row.group), row.tags);
        grouped += row.controls;
    }
    EXPECT_EQ(grouped + kUngroupedControls, 497);
    // The background panel comes first, before the layout's controls.
    EXPECT_EQ(Panel().NControls(), 1 + 497 + kNumberBoxLabels);
    EXPECT_EQ(int(LayoutDump(Panel(), "").size()), 1 + kUngroupedControls + kNumberBoxLabels);
}

// 1, 6, 8..13, 17, 19..54, 56..95, 97..103, 105, 106, 148..155: one control each.
std::vector<int> UsedTags() {
    std::vector<int> tags{1, 6, 8, 9, 10, 11, 12, 13, 17};
    for (int t = 19; t <= 54; ++t)
        tags.push_back(t);
    for (int t = 56; t <= 95; ++t)
        tags.push_back(t);
    for (int t = 97; t <= 103; ++t)
        tags.push_back(t);
    tags.push_back(tag::kIRListSlot7);
    tags.push_back(tag::kIRListSlot8);
    for (int t = 148; t <= 155; ++t)
        tags.push_back(t);
    return tags;
}

TEST_F(PagesFixture, TheHundredAndTwoTagsAreCarriedOnceAndOthersFindNothing) {
    Open();
    const std::vector<int> used = UsedTags();
    ASSERT_EQ(used.size(), 102u);
    std::vector<int> found;
    for (int tag = 0; tag <= 1024; ++tag)
        if (Panel().FindControlByTag(tag))
            found.push_back(tag);
    EXPECT_EQ(found, used);
    // Looked up by other code, carried by nothing.
    for (const int tag : {96, 104, 121, 133, 145})
        EXPECT_EQ(Panel().FindControlByTag(tag), nullptr) << tag;
}

TEST_F(PagesFixture, GroupsAndTheWholePanelMatchTheirGoldenDumps) {
    Open();
    for (const GroupTable& row : kGroups)
        EXPECT_EQ(CompareWithGolden(LayoutDump(Panel(), row.group), row.group), "");
    EXPECT_EQ(CompareWithGolden(LayoutDump(Panel(), ""), ""), "");
    EXPECT_EQ(CompareWithGolden(LayoutDump(Panel()), "whole-panel"), "");
}

TEST_F(PagesFixture, ReadoutsStartWithTheirTexts) {
    Open();
    const std::pair<int, const char*> starts[] = {
        {tag::kPresetDisplay, "00"},        {tag::kReverbLevel, "50.00"},
        {tag::kParallelClean, "50.0"},      {tag::kGateRatio, "1:1"},
        {tag::kAnalogSimReadout, "Bypass"}, {tag::kDynamicsThreshold, "Bypass"},
        {tag::kChorusLevel, "Bypass"},      {tag::kChorusFeedback, "0"},
        {tag::kChorusDepth, "0.00"},        {tag::kMasterLevel, "0%"},
        {tag::kCompressorAttack, "5"},      {tag::kCompressorTitle, "COMPRESSOR"}};
    for (const auto& [tag, text] : starts)
        EXPECT_EQ(TagText(tag), text) << tag;
    // The unit under the gate page's RATIO is one blank, not an empty text.
    for (const auto& [tag, text] : std::initializer_list<std::pair<int, const char*>>{
             {tag::kStatusVersion, "Connecting to the device..."},
             {tag::kStatusDevice, ""},
             {tag::kStatusSerial, ""},
             {tag::kProgressTitle, "Loading Presets..."},
             {tag::kProgressText, "0 %"},
             {tag::kFactoryTitle, "Upgrading Factory Presets..."},
             {tag::kFactoryText, "0 %"},
             {tag::kFirmwareText, "0 %"},
             {tag::kIRHint, "CLICK HERE TO EDIT IMPULSE RESPONSE"},
             {tag::kPresetName, "Quorbel Omnar Default Preset Name"}})
        EXPECT_EQ(TagText(tag), text) << tag;
    const auto about = Group(group::kAbout);
    EXPECT_STREQ(static_cast<vx::ui::ITextControl*>(about[1])->GetString(), "v1.2.0");
    const auto level = Group(group::kLevel);
    EXPECT_STREQ(static_cast<vx::ui::ITextControl*>(level[7])->GetString(), " ");
    // The unlit segments sit under the display.
    const auto front = Group(group::kFrontPanel);
    const auto* shadow = dynamic_cast<vx::ui::ITextControl*>(front[1]);
    ASSERT_NE(shadow, nullptr);
    EXPECT_STREQ(shadow->GetString(), "188");
    EXPECT_EQ(Panel().GetControlIdx(shadow) + 1, Panel().GetControlIdx(front[2]));
}

// The library fills every row once the panel stands; its numbers follow the
// patch offset (parameter 91).
TEST_F(PagesFixture, PresetRowsAreNumberedAndRunPastTheListArea) {
    editor->GetParam(91)->Set(1);
    Open();
    EXPECT_STREQ(editor->mPresetRows[0]->GetString(), " 01 ");
    EXPECT_STREQ(editor->mPresetRows[127]->GetString(), " 128 ");
    EXPECT_EQ(editor->mPresetRows[18]->GetRECT().B, 1176.f); // the last row inside the list
    EXPECT_EQ(editor->mPresetRows[19]->GetRECT().T, 1178.f);
    for (const vx::ui::ITextControl* row : editor->mPresetRows)
        EXPECT_STREQ(row->GetGroup(), "");
    ASSERT_NE(editor->mPresetListSelector, nullptr);
    EXPECT_EQ(editor->mPresetListSelector->GetParamIdx(), 80);
    EXPECT_STREQ(editor->mPresetListSelector->GetGroup(), "");
}

TEST_F(PagesFixture, ASecondRunOnAFilledContextChangesNothing) {
    vx::test::RecordingCanvas& panel = Open();
    const auto before = LayoutDump(panel);
    const int decoded = panel.decodeCount;
    const float scale = panel.GetDrawScale();
    panel.ClearCalls();
    WriteSettings("[gui]\nscale=2.0\n");

    editor->LayoutPages(&panel);

    EXPECT_EQ(LayoutDump(panel), before);
    EXPECT_EQ(panel.decodeCount, decoded);
    EXPECT_EQ(panel.GetDrawScale(), scale);
    EXPECT_TRUE(panel.CallsStartingWith("ResizeNativeView").empty());
}

// Decodes the named image as an image of the given size, or not at all (width 0).
class ImageOverrideCanvas : public vx::test::AttachingCanvas {
public:
    ImageOverrideCanvas(vx::ui::ICanvasEditorDelegate& delegate, std::vector<std::string>& events,
                        std::string name, int width)
        : AttachingCanvas(delegate, events, 1920, 1200, 1.f), name(std::move(name)), width(width) {}
    std::unique_ptr<vx::ui::APIBitmap> DecodeImageFile(const char* path, int scale, int location,
                                                       const char* ext) override {
        if (!std::string(path).ends_with("/" + name))
            return AttachingCanvas::DecodeImageFile(path, scale, location, ext);
        ++decodeCount;
        if (width == 0)
            return nullptr;
        return std::unique_ptr<vx::ui::APIBitmap>(MakeBitmap(width, 1200));
    }
    std::string name;
    int width;
};

TEST_F(PagesFixture, BackgroundsAreCentredOnTheFirstOnesWidth) {
    editor->SetMakeGraphicsFunc([this] {
        return std::make_unique<ImageOverrideCanvas>(*editor, events, "background.png", 1000);
    });
    Open();
    const auto backgrounds = Group(group::kBackground);
    ASSERT_EQ(backgrounds.size(), 2u);
    EXPECT_EQ(backgrounds[0]->GetRECT().L, 460.f);
    EXPECT_EQ(backgrounds[0]->GetRECT().W(), 1000.f);
    EXPECT_EQ(backgrounds[1]->GetRECT().L, 460.f); // the red one follows, whatever its width
    EXPECT_TRUE(backgrounds[1]->IsHidden());
}

TEST_F(PagesFixture, AMissingImageLeavesEmptyKnobsAndOneLogLine) {
    std::vector<std::string> logged;
    sys::SetLogSink([&](const std::string& line) { logged.push_back(line); });
    editor->SetMakeGraphicsFunc([this] {
        return std::make_unique<ImageOverrideCanvas>(*editor, events, "knobrotate.png", 0);
    });
    Open();
    sys::SetLogSink({});

    EXPECT_EQ(std::count_if(logged.begin(), logged.end(),
                            [](const std::string& l) {
                                return l.find("knobrotate.png") != std::string::npos;
                            }),
              1);
    const auto bank = Group(group::kBankA);
    ASSERT_EQ(bank.size(), 6u);
    EXPECT_EQ(bank[0]->GetRECT().W(), 0.f);
    EXPECT_EQ(bank[0]->GetRECT().H(), 0.f);
    // The rest of the panel stands, and draws.
    EXPECT_EQ(Group(group::kChorus).size(), 21u);
    EXPECT_EQ(Group(group::kFrontPanel)[0]->GetRECT().W(), 160.f); // the big knob loaded
    Panel().MarkAllControlsDirty();
    for (int i = 0; i < Panel().NControls(); ++i)
        Panel().GetControl(i)->Draw(Panel());
}

TEST_F(PagesFixture, MissingFontsLeaveTheLayoutGoing) {
    editor->SetMakeGraphicsFunc([this] {
        auto canvas = std::make_unique<vx::test::AttachingCanvas>(*editor, events, 1920, 1200, 1.f);
        canvas->fontsRegister = false;
        return canvas;
    });
    Open();
    EXPECT_EQ(Group(group::kChorus).size(), 21u);
    EXPECT_TRUE(editor->mLayoutBuilt);
}

} // namespace
} // namespace omnar::test

namespace omnar::test {
namespace {

using namespace omnar::pages;

// A tag taken twice is a fault of the layout: debug builds stop on it, and
// the refused control never comes back to the caller.
TEST(PageBuilder, ARefusedTagStopsDebugBuildsAndGivesNull) {
    vx::test::FakeDelegate delegate;
    vx::test::RecordingCanvas canvas(delegate);
    const PageStyles styles = PageStyles::Make();
    PageBuilder builder(canvas, styles);
    ASSERT_NE(builder.Text({0, 0, 10, 10}, "first", styles.caption, 5, "g"), nullptr);
    EXPECT_DEBUG_DEATH(
        EXPECT_EQ(builder.Text({0, 0, 10, 10}, "second", styles.caption, 5, "g"), nullptr),
        "used twice");
    EXPECT_EQ(canvas.NControls(), 1);
}

// The panel's buttons keep their click splash; their work waits for its end.
TEST(PageBuilder, AButtonsWorkRunsOnceItsSplashHasEnded) {
    vx::test::TestClock clock;
    vx::test::FakeDelegate delegate;
    vx::test::RecordingCanvas canvas(delegate);
    const PageStyles styles = PageStyles::Make();
    PageBuilder builder(canvas, styles);
    int runs = 0;
    vx::ui::IControl* button =
        builder.Button({10, 10, 110, 60}, "IMPORT", styles.pageButton, 7, "g", [&] { ++runs; });
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(canvas.FindControlByTag(7), button);

    vx::ui::IMouseInfo click;
    click.x = 60;
    click.y = 35;
    click.ms.L = true;
    canvas.OnMouseDown({click});
    canvas.OnMouseUp({click});
    button->Animate();
    EXPECT_EQ(runs, 0);
    clock.Advance(60);
    button->Animate();
    EXPECT_EQ(runs, 0) << "ran inside the splash";
    clock.Advance(60);
    button->Animate();
    EXPECT_EQ(runs, 1);
    button->Animate();
    EXPECT_EQ(runs, 1);
}

} // namespace
} // namespace omnar::test
