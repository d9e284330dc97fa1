// The preset list and the impulse-response lists, driven by the gestures of
// their click areas on the real layout.

#include "controls/IFreqResponseGraph.h"
#include "controls/IInvisibleSelectControl.h"
#include "controls/ITextControl.h"
#include "pages/PageNames.h"
#include "tests/pages/EditFixture.h"
#include "toolkit/ICanvas.h"

#include <cstdio>
#include <filesystem>

namespace omnar::test {
namespace {

using namespace omnar::pages;
using Area = vx::ui::IInvisibleSelectControl3;

constexpr int kVisibleRows = 19;

class ListsTest : public EditFixture {
protected:
    // The point of a row's middle along an area, rows counted from the top.
    static std::pair<float, float> RowPoint(const Area& area, int row, int rows) {
        const vx::ui::IRECT& r = area.GetRECT();
        return {r.MW(), r.T + (float(row) + 0.5f) * r.H() / float(rows)};
    }
    void ClickPresetRow(int row, const vx::ui::IMouseMod& mod = {}) {
        const auto [x, y] = RowPoint(*editor->mPresetListSelector, row, kVisibleRows);
        editor->mPresetListSelector->OnMouseDown(x, y, mod);
    }
    void Wheel(float delta, const vx::ui::IMouseMod& mod = {}) {
        const auto [x, y] = RowPoint(*editor->mPresetListSelector, 3, kVisibleRows);
        editor->mPresetListSelector->OnMouseWheel(x, y, mod, delta);
    }
    vx::ui::IColor RowColour(int row) {
        return editor->mPresetRows[std::size_t(row)]->GetText().FGColor;
    }
    // A click through the panel's own dispatch at a button's middle; its
    // work runs once the press's splash has ended.
    void ClickOn(int tag) {
        vx::ui::IControl* button = Tag(tag);
        const vx::ui::IRECT& r = button->GetRECT();
        vx::ui::IMouseInfo info;
        info.x = r.MW();
        info.y = r.MH();
        info.ms.L = true;
        Panel().OnMouseDown({info});
        Panel().OnMouseUp({info});
        EXPECT_EQ(button->GetValue(), 1.0) << "the click did not reach tag " << tag;
        button->OnAnimationFinished();
    }
    // A user IR in the library whose response is one spike at `at`.
    void StoreUserIR(int number, const std::string& name, std::size_t at) {
        const std::string folder = dataHome.UserIRFolder();
        std::filesystem::create_directories(folder);
        std::vector<double> samples(1200, 0.0);
        samples[at] = 0.8;
        WriteFile(IRSlotFile(folder, number), IRSlotImage(name, samples));
    }
};

TEST_F(ListsTest, ScrollingPlacesTheRowsFiftyApartFromTheTop) {
    Set(79, 109);
    EXPECT_EQ(editor->mPresetListOffset, 0);
    EXPECT_FALSE(editor->mPresetRows[0]->IsHidden());
    EXPECT_FLOAT_EQ(editor->mPresetRows[0]->GetRECT().T, 228.f);
    EXPECT_FLOAT_EQ(editor->mPresetRows[3]->GetRECT().T, 378.f);
    Set(79, 0);
    EXPECT_EQ(editor->mPresetListOffset, 109);
    for (int row = 0; row < 109; ++row)
        ASSERT_TRUE(editor->mPresetRows[std::size_t(row)]->IsHidden()) << row;
    EXPECT_FALSE(editor->mPresetRows[109]->IsHidden());
    EXPECT_FLOAT_EQ(editor->mPresetRows[109]->GetRECT().T, 228.f);
}

TEST_F(ListsTest, TheWheelStepsOneWithShiftOrControlElseThreeWithinTheEnds) {
    vx::ui::IMouseMod shift, control;
    shift.S = true;
    control.C = true;
    const struct {
        int start;
        float delta;
        vx::ui::IMouseMod mod;
        int offset;
    } cases[] = {{50, -1.f, {}, 53},     {50, 1.f, {}, 47},   {50, -1.f, shift, 51},
                 {50, 1.f, control, 49}, {1, 1.f, {}, 0},     {108, -1.f, {}, 109},
                 {0, 1.f, shift, 0},     {109, -1.f, {}, 109}};
    for (const auto& c : cases) {
        Set(79, 109 - c.start);
        Wheel(c.delta, c.mod);
        EXPECT_EQ(editor->mPresetListOffset, c.offset) << c.start << " by " << c.delta;
        EXPECT_EQ(Value(79), 109 - c.offset);
    }
}

TEST_F(ListsTest, AClickHighlightsTheRowAndSelectsItsPreset) {
    Connect();
    Set(79, 109 - 10);
    TakeSent();
    ClickPresetRow(2);
    ClickPresetRow(4);
    EXPECT_EQ(editor->mHighlightedRow, 14);
    EXPECT_EQ(RowColour(14), vx::ui::IColor(255, 100, 255, 255));
    EXPECT_EQ(RowColour(12), vx::ui::IColor(150, 100, 255, 255));
    EXPECT_EQ(TakeSent(), (std::vector<std::string>{"F0 00 51 21 05 23 0C 0C F7",
                                                    "F0 00 51 21 05 23 0C 0E F7"}));
}

TEST_F(ListsTest, InSaveTargetModeAClickChoosesTheStoreSlot) {
    Connect();
    editor->mStorePending = true;
    ClickPresetRow(5);
    EXPECT_EQ(TakeSent(), (std::vector<std::string>{"F0 00 51 21 05 50 0C 12 05 F7"}));
    EXPECT_TRUE(editor->mBlinkStopArmed);
}

// The bottom edge reports one row past the last; at the end of the list that
// would be preset 128.
TEST_F(ListsTest, APressOnTheBottomEdgeSelectsTheLastRow) {
    Connect();
    Set(79, 0);
    TakeSent();
    const vx::ui::IRECT& r = editor->mPresetListSelector->GetRECT();
    editor->mPresetListSelector->OnMouseDown(r.MW(), r.B, {});
    EXPECT_EQ(editor->mHighlightedRow, 127);
    EXPECT_EQ(TakeSent(), (std::vector<std::string>{"F0 00 51 21 05 23 0C 7F F7"}));
}

TEST_F(ListsTest, WithoutADeviceAClickOnlyHighlights) {
    ClickPresetRow(1);
    EXPECT_EQ(editor->mHighlightedRow, 1 + editor->mPresetListOffset);
    EXPECT_TRUE(TakeSent().empty());
}

TEST_F(ListsTest, TheIRSelectorShowsTheSlotAndMovesTheSlider) {
    const struct {
        int value;
        const char* shown;
        double slider;
    } cases[] = {{0, "00", 1.0}, {64, "40", 1.0 - 64.0 / 127.0}, {127, "80", 0.0}};
    for (const auto& c : cases) {
        Set(14, c.value);
        EXPECT_EQ(TagText(tag::kPresetDisplay), c.shown) << c.value;
        EXPECT_NEAR(Tag(tag::kIRSlider)->GetValue(), c.slider, 1e-6) << c.value;
    }
}

TEST_F(ListsTest, IRModeEnablesTheUserControlsAndNamesTheIR) {
    editor->mFactoryIRNames[7] = "factory seven";
    editor->mFactoryIRNames[8] = "factory eight";
    const struct {
        int index, knob, import, name;
        const char* factory;
    } slots[] = {{40, tag::kIRKnobSlot7, tag::kIRImportSlot7, 74, "factory seven"},
                 {41, tag::kIRKnobSlot8, tag::kIRImportSlot8, 75, "factory eight"}};
    for (const auto& s : slots) {
        Set(s.index, 1);
        EXPECT_FALSE(Tag(s.knob)->IsDisabled());
        EXPECT_FALSE(Tag(s.import)->IsDisabled());
        Set(s.index, 0);
        EXPECT_TRUE(Tag(s.knob)->IsDisabled());
        EXPECT_TRUE(Tag(s.import)->IsDisabled());
        EXPECT_EQ(TagText(s.name), s.factory);
    }
}

// The MSB and LSB together reach 16383; only the 288 IRs there are count.
TEST_F(ListsTest, UserIRNumbersPastTheNamesAreRecordedButNotLookedUp) {
    editor->mUserIRFocusA = true;
    Set(40, 1);
    Set(53, 2);
    Set(54, 44); // 300
    EXPECT_EQ(editor->mUserIRNumberA, 300);
    EXPECT_FALSE(editor->mIRPreviewPending);
}

// A filled row whose name the library does not know yet asks the device.
TEST_F(ListsTest, TheRowCheckAsksForAnUnknownIRUnlessImporting) {
    const struct {
        const char* row;
        bool importing;
        bool asks;
    } cases[] = {
        {"new name", false, true}, {"Empty Slot 6", false, false}, {"new name", true, false}};
    editor->mUserIRFocusB = true;
    Set(41, 1);
    Set(55, 0);
    for (const auto& c : cases) {
        editor->mIRPreviewPending = false;
        editor->mIRImportBusy = c.importing;
        editor->mIRListRows[5]->SetString(c.row);
        Set(56, 5);
        EXPECT_EQ(editor->mUserIRNumberB, 5);
        EXPECT_EQ(editor->mIRPreviewPending, c.asks) << c.row << " importing " << c.importing;
    }
}

TEST_F(ListsTest, TheSlotAreaAndTheVerticalSelectorSetTheIRSelector) {
    const vx::ui::IRECT& r = editor->mIRListSelect->GetRECT();
    editor->mIRListSelect->OnMouseDown(r.MW(), r.B, {}); // past the last row: slot 8
    EXPECT_EQ(Value(14), 127);
    Set(82, 127);
    EXPECT_EQ(Value(14), 0);
    Set(82, 0);
    EXPECT_EQ(Value(14), 127);
    editor->ShowGate();
    Set(83, 1);
    EXPECT_EQ(editor->mCurrentPage, 4);
}

TEST_F(ListsTest, TheCustomBankAsksTheDeviceForItsNames) {
    editor->mConnected = true; // before the identity the request waits for it
    Set(86, 2);
    EXPECT_EQ(editor->mIRListPage, 2);
    EXPECT_EQ(TakeSent(), (std::vector<std::string>{"F0 00 51 21 05 6A 0C 08 F7"}));
}

TEST_F(ListsTest, ACustomListClickAssignsTheIRToTheSlotBeingEdited) {
    Set(86, 1);
    editor->mUserIRFocusA = true;
    Area& left = *editor->mCustomIRSelectLeft;
    const vx::ui::IRECT& r = left.GetRECT();
    left.OnMouseDown(r.MW(), r.B, {}); // the bottom edge: row 15
    EXPECT_EQ(editor->mUserIRNumberA, 32 + 15);
    Area& right = *editor->mCustomIRSelectRight;
    const auto [x, y] = RowPoint(right, 2, 16);
    editor->mUserIRFocusA = false;
    editor->mUserIRFocusB = true;
    right.OnMouseDown(x, y, {});
    EXPECT_EQ(editor->mUserIRNumberB, 32 + 16 + 2);
    EXPECT_EQ(editor->mCurrentPage, 4);
}

TEST_F(ListsTest, ADoubleClickPastTheUserIRsImportsNothing) {
    Set(86, 8); // the factory bank: 256..287
    Area& left = *editor->mCustomIRSelectLeft;
    const auto [x, y] = RowPoint(left, 0, 16);
    left.OnMouseDoubleClick(x, y, {});
    EXPECT_TRUE(Panel().fileDialogStartNames.empty());
    Set(86, 0);
    left.OnMouseDoubleClick(x, y, {}); // the dialog is cancelled
    EXPECT_EQ(Panel().fileDialogStartNames.size(), 1u);
    EXPECT_FALSE(editor->mIRImportBusy);
}

// The LIST beside each user slot's IMPORT: usable while the slot plays a
// user IR, it opens the pedal's list on the bank of that IR, asks the pedal
// for the bank's names, and a row clicked then assigns its IR to that slot.
TEST_F(ListsTest, TheListButtonOpensTheCustomListForItsSlot) {
    Connect();
    const vx::ui::IColor highlighted(255, 200, 200, 200);
    const struct {
        int mode, msb, lsb, list, name;
        const char* msbChange;
    } slots[] = {{40, 53, 54, tag::kIRListSlot7, 74, "F0 00 51 21 05 50 0C 39 01 F7"},
                 {41, 55, 56, tag::kIRListSlot8, 75, "F0 00 51 21 05 50 0C 3B 01 F7"}};
    for (const auto& s : slots) {
        SCOPED_TRACE(s.mode);
        Set(s.mode, 0);
        EXPECT_TRUE(Tag(s.list)->IsDisabled());
        Set(s.mode, 1);
        ASSERT_FALSE(Tag(s.list)->IsDisabled());
        Set(s.msb, 1);
        Set(s.lsb, 12); // IR 140: bank 5's row 13
        std::snprintf(editor->mIRNames[131].data(), editor->mIRNames[131].size(), "Deep Cab");
        TakeSent();

        ClickOn(s.list);
        EXPECT_EQ(HiddenIn(group::kCustomIR), 0);
        EXPECT_EQ(editor->mUserIRFocusA, s.mode == 40);
        EXPECT_EQ(editor->mUserIRFocusB, s.mode == 41);
        EXPECT_EQ(editor->mIRListPage, 4);
        EXPECT_EQ(TakeSent(), std::vector<std::string>{"F0 00 51 21 05 6A 0C 10 F7"});
        EXPECT_EQ(editor->mIRListRows[12]->GetText().FGColor, highlighted);

        const auto [x, y] = RowPoint(*editor->mCustomIRSelectLeft, 3, 16); // IR 131
        editor->mCustomIRSelectLeft->OnMouseDown(x, y, {});
        EXPECT_EQ(s.mode == 40 ? editor->mUserIRNumberA : editor->mUserIRNumberB, 131);
        EXPECT_EQ(TakeSent(), std::vector<std::string>{s.msbChange});
        EXPECT_EQ(TagText(s.name), "Deep Cab");
        editor->OnCloseCustomIRList();
    }
}

// Slot 7 blends into the display from selector value 96 on, slot 8 from
// 112: a MODE switch redraws it whenever its slot is part of the blend.
TEST_F(ListsTest, IRModeRedrawsTheDisplayWhileItsSlotIsBlendedIn) {
    StoreUserIR(0, "Seven", 5);
    StoreUserIR(1, "Eight", 9);
    Set(53, 0);
    Set(54, 0);
    Set(55, 0);
    Set(56, 1);
    const struct { int selector, mode; } cases[] = {{100, 40}, {111, 40}, {120, 41}};
    for (const auto& c : cases) {
        Set(c.mode, 0);
        Set(14, c.selector);
        const auto before = editor->mIRDisplay->LastBlock();
        const std::vector<double> factory(before.begin(), before.end());
        Set(c.mode, 1);
        const auto after = editor->mIRDisplay->LastBlock();
        EXPECT_NE(std::vector<double>(after.begin(), after.end()), factory)
            << "selector " << c.selector << ", mode parameter " << c.mode;
        Set(c.mode, 0);
    }
}

} // namespace
} // namespace omnar::test
