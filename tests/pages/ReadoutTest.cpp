// What a changed parameter shows: its value label, the page it brings up,
// the dynamics curve, and the three filter pages' readouts.

#include "controls/IDynamicsResponseGraph.h"
#include "controls/ITextControl.h"
#include "pages/PageNames.h"
#include "tests/pages/EditFixture.h"

namespace omnar::test {
namespace {

using namespace omnar::pages;

constexpr int kNoSwitch = 0;

struct Readout {
    int index;
    int value;
    int tag;
    const char* text;
    int page; // kNoSwitch: the page stays
};

const Readout kReadouts[] = {
    {0, 127, tag::kMasterLevel, "100%", 15},
    {0, 64, tag::kMasterLevel, "50%", 15},
    {1, 0, tag::kPreampGain, "1", 13},
    {1, 127, tag::kPreampGain, "100", 13},
    {4, 64, tag::kPresence, "50", 13},
    {5, 0, tag::kDrive, "1", 13},
    {6, 64, tag::kLowGain, "0.0", 10},
    {6, 0, tag::kLowGain, "-12.0", 10},
    {8, 0, tag::kReverbLevel, "Bypass", 3},
    {8, 127, tag::kReverbLevel, "100", 3},
    {9, 0, tag::kGateThreshold, "Bypass", kNoSwitch},
    {9, 64, tag::kGateThreshold, "-64.5", kNoSwitch},
    {9, 127, tag::kGateThreshold, "-30.0", kNoSwitch},
    {10, 0, tag::kDynamicsThreshold, "Bypass", 2},
    {10, 127, tag::kDynamicsThreshold, "-60.0dB", 2},
    {15, 0, tag::kAnalogSimReadout, "100", 5},
    {15, 64, tag::kAnalogSimReadout, "Bypass", 5},
    {15, 127, tag::kAnalogSimReadout, "100", 5},
    {16, 0, tag::kReverbTime, "100", kNoSwitch},
    {16, 127, tag::kReverbTime, "600", kNoSwitch},
    {17, 127, tag::kReverbDecay, "100", kNoSwitch},
    {25, 127, tag::kCompressorRatio, "20.0:1", 2},
    {26, 0, tag::kCompressorOutputGain, "-30.00", kNoSwitch},
    {26, 64, tag::kCompressorOutputGain, "0.00", kNoSwitch},
    {26, 127, tag::kCompressorOutputGain, "18.00", kNoSwitch},
    {27, 127, tag::kCompressorAttack, "100.0", kNoSwitch},
    {28, 0, tag::kCompressorRelease, "10.0", kNoSwitch},
    {29, 127, tag::kExpanderRatio, "1:12.0", kNoSwitch},
    {36, 127, tag::kParallelClean, "100", kNoSwitch},
    {37, 127, tag::kGateRatio, "10.0:1", kNoSwitch},
    {39, 127, tag::kGateRelease, "1000.0", kNoSwitch},
    {42, 64, tag::kIRReadoutSlot7, "0.00", kNoSwitch},
    {43, 127, tag::kIRReadoutSlot8, "12.00", kNoSwitch},
    {48, 64, tag::kLowQuality, "1.0", kNoSwitch},
    {48, 127, tag::kLowQuality, "2.0", kNoSwitch},
    {61, 0, tag::kAutoFilterLevel, "-100", 16},
    {61, 64, tag::kAutoFilterLevel, "Bypass", 16},
    {62, 127, tag::kAutoFilterAttack, "100", 16},
    {63, 0, tag::kAutoFilterRelease, "0", 16},
    {66, 0, tag::kChorusLevel, "Bypass", kNoSwitch},
    {66, 127, tag::kChorusLevel, "100%", kNoSwitch},
    {67, 127, tag::kChorusFrequency, "6.00", kNoSwitch},
    {68, 127, tag::kChorusDepth, "100", 17},
    {69, 64, tag::kChorusDelay, "50", kNoSwitch},
    {70, 0, tag::kChorusFeedback, "-100", kNoSwitch},
    {72, 0, tag::kLowFrequency, "40", 10},
    {72, 64, tag::kLowFrequency, "120", 10},
    {72, 127, tag::kLowFrequency, "200", 10},
};

using ReadoutTest = EditFixture;

TEST_F(ReadoutTest, EachValueWritesItsLabelAndBringsUpItsPage) {
    for (const Readout& r : kReadouts) {
        editor->ShowGate(); // page 1, which no row switches to
        Set(r.index, r.value);
        EXPECT_EQ(TagText(r.tag), r.text) << r.index << " at " << r.value;
        EXPECT_EQ(editor->mCurrentPage, r.page == kNoSwitch ? 1 : r.page)
            << r.index << " at " << r.value;
    }
}

TEST_F(ReadoutTest, PresetValuesShowOnTheDisplayExceptTheQuietOnes) {
    for (int index : {14, 40, 41, 57, 60}) {
        static_cast<vx::ui::ITextControl*>(Tag(tag::kPresetDisplay))->SetString("xx");
        Set(index, 5);
        EXPECT_EQ(TagText(tag::kPresetDisplay).substr(0, 2), index == 14 ? "03" : "xx") << index;
    }
    for (int index : {0, 33, 61, 73}) {
        Set(index, 127);
        EXPECT_EQ(TagText(tag::kPresetDisplay), "127") << index;
        Set(index, 7);
        EXPECT_EQ(TagText(tag::kPresetDisplay), "07") << index;
    }
}

TEST_F(ReadoutTest, AnalogSimCaptionsFollowTheSideOfTheCentre) {
    for (const auto& [value, caption] :
         {std::pair{0, "DIGITAL SMOOTH"}, {64, "SMOOTHING"}, {127, "ANALOG SMOOTH"}}) {
        Set(15, value);
        EXPECT_EQ(TagText(tag::kAnalogSimCaption), caption) << value;
    }
}

// The curve keeps levels of its own; a graph given the same dB must agree.
TEST_F(ReadoutTest, TheDynamicsCurveFollowsGateThresholdAndRatios) {
    vx::ui::IDynamicsResponseGraph reference({0, 0, 100, 100}, vx::ui::IColor());
    Set(10, 0);
    Set(9, 127);
    reference.SetUpperBreakPoint(0.0);
    reference.SetLowerBreakPoint(-30.0);
    EXPECT_DOUBLE_EQ(editor->mDynamicsGraph->LowerBreak(), reference.LowerBreak());
    Set(10, 127);
    reference.SetUpperBreakPoint(-60.0);
    EXPECT_DOUBLE_EQ(editor->mDynamicsGraph->UpperBreak(), reference.UpperBreak());
    Set(25, 127); // the compressor page shows its ratio
    EXPECT_DOUBLE_EQ(editor->mDynamicsGraph->UpperRatio(), 20.0);
}

struct FilterCase {
    int index;
    int value;
    int tag;
    const char* text;
};

TEST_F(ReadoutTest, MidFrequencyRoundsToTensThenToTwentiesInKilohertz) {
    const FilterCase cases[] = {
        {13, 0, tag::kMidFrequency, "200"},    {13, 64, tag::kMidFrequency, "500"},
        {13, 65, tag::kMidFrequency, "540"},   {13, 84, tag::kMidFrequency, "980"},
        {13, 85, tag::kMidFrequency, "1.00k"}, {13, 127, tag::kMidFrequency, "2.00k"},
        {73, 0, tag::kHighFrequency, "1.0k"},  {73, 64, tag::kHighFrequency, "4.5k"},
        {73, 127, tag::kHighFrequency, "8.0k"}};
    for (const FilterCase& c : cases) {
        Set(c.index, c.value);
        EXPECT_EQ(TagText(c.tag), c.text) << c.index << " at " << c.value;
    }
    EXPECT_EQ(editor->mCurrentPage, 12);
}

TEST_F(ReadoutTest, PunchReadoutsOnlyInThePreMidArrangement) {
    editor->ShowGate();
    Set(11, 65);
    EXPECT_EQ(editor->mCurrentPage, 1);
    editor->SelectAmpMode(1);
    for (const auto& [value, text] : {std::pair{65, "535"}, {84, "984"}}) {
        Set(11, value);
        EXPECT_EQ(TagText(tag::kPunchFrequency), text) << value;
    }
    EXPECT_EQ(editor->mCurrentPage, 8);
}

// Quality depends on the gain beside it: below the centre it widens.
TEST_F(ReadoutTest, QualityReadoutsWidenWithACut) {
    editor->SelectAmpMode(1);
    const struct {
        int gainIndex, gain, qIndex, q, tag;
        const char* text;
    } cases[] = {
        {3, 64, 45, 64, tag::kPunchQuality, "0.6"},  {3, 0, 45, 64, tag::kPunchQuality, "0.6"},
        {3, 64, 45, 127, tag::kPunchQuality, "2.6"}, {3, 0, 45, 127, tag::kPunchQuality, "10.3"},
        {7, 64, 49, 127, tag::kHighQuality, "1.4"},  {7, 0, 49, 127, tag::kHighQuality, "5.6"}};
    for (const auto& c : cases) {
        Set(c.gainIndex, c.gain);
        Set(c.qIndex, c.q);
        EXPECT_EQ(TagText(c.tag), c.text) << c.qIndex << " with gain " << c.gain;
    }
}

} // namespace
} // namespace omnar::test
