// What a parameter change sends to the pedal and what it records: the
// ParamChange rules, the chorus rule's held value, the edited indicator and
// the jack rows' MIDI mapping texts.

#include "pages/PageNames.h"
#include "tests/pages/EditFixture.h"

#include <algorithm>

namespace omnar::test {
namespace {

using namespace omnar::pages;

// ParamChange of device parameter `id` to `value`.
std::string ParamChange(int id, int value) {
    return HexBytes({0xF0, 0x00, 0x51, 0x21, 0x05, 0x50, 0x0C, uint8_t(id), uint8_t(value), 0xF7});
}

class ParamSendTest : public EditFixture {
protected:
    // Only the ParamChange messages of what was sent.
    std::vector<std::string> TakeParamChanges() {
        std::vector<std::string> all = TakeSent();
        std::erase_if(all,
                      [](const std::string& m) { return !m.starts_with("F0 00 51 21 05 50"); });
        return all;
    }
};

TEST_F(ParamSendTest, AChangedValueGoesOnceAndAnEqualOneNotAgain) {
    Connect();
    Set(0, 10);
    Set(0, 10);
    Set(20, 5); // editor 20 is device 24
    EXPECT_EQ(TakeParamChanges(), (std::vector{ParamChange(0, 10), ParamChange(24, 5)}));
    EXPECT_EQ(editor->mDeviceValues[0], 10);
}

TEST_F(ParamSendTest, UserIRDigitsGoAgainUnchangedEvenWhileBlocked) {
    Connect();
    editor->mSuppressParamSend = true;
    for (int index : {53, 54, 55, 56}) {
        Set(index, 0);
        Set(index, 0);
        const std::string message = ParamChange(index + 4, 0);
        EXPECT_EQ(TakeParamChanges(), (std::vector{message, message})) << index;
    }
}

TEST_F(ParamSendTest, AppliedValuesAreStoredButNeitherSentNorSwitching) {
    Connect();
    editor->ShowGate();
    editor->mApplyingValues = true;
    Set(0, 20);
    Set(53, 0);
    EXPECT_TRUE(TakeParamChanges().empty());
    EXPECT_EQ(editor->mDeviceValues[0], 20);
    EXPECT_EQ(editor->mCurrentPage, 1);
}

TEST_F(ParamSendTest, WithoutADeviceOnlyTheTwoOnSwitchesAreRecorded) {
    const auto before = editor->mDeviceValues;
    const struct {
        int index, value, recorded;
    } cases[] = {{0, 30, before[0]}, {60, 5, 1}, {65, 9, 1}, {60, 0, 0}, {65, 0, 0}};
    for (const auto& c : cases) {
        Set(c.index, c.value);
        EXPECT_EQ(editor->mDeviceValues[std::size_t(c.index)], c.recorded) << c.index;
    }
    EXPECT_TRUE(TakeSent().empty());
}

// The depth needs a level to be heard: the level goes first, the depth at
// the next tick, once.
TEST_F(ParamSendTest, ChorusDepthWithoutLevelRaisesItAndFollowsAtTheNextTick) {
    Connect();
    Set(66, 0);
    TakeSent();
    Set(68, 50);
    EXPECT_EQ(TakeParamChanges(), (std::vector{ParamChange(70, 64)}));
    EXPECT_EQ(Value(66), 64);
    EXPECT_TRUE(editor->mSuppressParamSend);
    Tick();
    EXPECT_EQ(TakeParamChanges(), (std::vector{ParamChange(72, 50)}));
    Tick();
    EXPECT_TRUE(TakeParamChanges().empty());
}

TEST_F(ParamSendTest, OfTwoChangesHeldInATickOnlyTheLatestGoes) {
    Connect();
    editor->mSuppressParamSend = true;
    Set(1, 10);
    Set(1, 11);
    EXPECT_TRUE(TakeParamChanges().empty());
    Tick();
    EXPECT_EQ(TakeParamChanges(), (std::vector{ParamChange(1, 11)}));
}

TEST_F(ParamSendTest, HeldValuesAreDroppedWhenTheDeviceGoesAway) {
    Connect();
    editor->mSuppressParamSend = true;
    Set(1, 10);
    editor->mConnected = false;
    Tick();
    EXPECT_TRUE(TakeParamChanges().empty());
}

const vx::ui::IColor kUnchanged(255, 0, 255, 255);
const vx::ui::IColor kEdited(100, 255, 255, 255);

TEST_F(ParamSendTest, TheDisplayColourTellsAnEditedPresetAndClearsWhenChangedBack) {
    Connect();
    for (int index : {50, 2})
        Set(index, Value(index) == 0 ? 1 : 0); // the device's copy takes the values
    std::copy_n(editor->mDeviceValues.begin(), 74, editor->mStoredPresetValues.begin());
    const auto colour = [this] { return Tag(tag::kPresetDisplay)->GetText().FGColor; };
    for (int index : {50, 2}) {
        const int old = Value(index);
        Set(index, old + 1);
        ASSERT_EQ(Value(index), old + 1);
        EXPECT_EQ(colour(), kEdited) << index;
        EXPECT_TRUE(editor->mPresetEdited) << index;
        Set(index, old);
        EXPECT_EQ(colour(), kUnchanged) << index;
        // An edit of the first 38 values stays an edit for the idle watch.
        EXPECT_EQ(editor->mPresetEdited, index <= 37) << index;
    }
    EXPECT_EQ(editor->mLastChangeIndex, 2);
}

TEST_F(ParamSendTest, EditTrackingRecordsOnlyTheFirstThirtyEightWhileEditing) {
    Set(37, 3);
    EXPECT_EQ(editor->mLastChangeIndex, 37);
    EXPECT_EQ(editor->mLastChangeValue, 3);
    Set(38, 4);
    EXPECT_EQ(editor->mLastChangeIndex, 37);
    editor->mUserEditing = false;
    Set(1, 5);
    EXPECT_EQ(editor->mLastChangeIndex, 37);
}

struct MappingCase {
    std::vector<std::pair<int, int>> settings; // parameter, value, in order
    int row;
    std::array<std::string, 3> texts;
};

TEST_F(ParamSendTest, JackRowsDescribeTheirMidiMessage) {
    const MappingCase cases[] = {
        {{{115, 0}, {134, 0}, {135, 0}, {136, 7}}, 0, {"CH 1 - CC 7", "MIDI Volume", ""}},
        {{{115, 0}, {135, 1}}, 0, {"CH 1 AFTERTOUCH", "", ""}},
        {{{113, 0}, {117, 3}, {118, 2}}, 1, {"CH 4 PITCH BEND", "", ""}},
        {{{115, 1}, {144, 60}, {143, 1}}, 2, {"CH 1 NOTE C3", "", ""}},
        {{{115, 1}, {147, 2}}, 3, {"START/STOP", "", ""}},
        {{{113, 1}, {126, 3}}, 4, {"START/STOP", "", ""}},
        {{{113, 1}, {128, 15}, {130, 4}}, 5, {"CH 16 PRG. CHANGE", "", ""}},
        {{{115, 1}, {141, 0}, {144, 7}, {143, 6}}, 2, {"CH 1 - CC 7", "MIDI Volume", "PEDAL"}},
    };
    for (const MappingCase& c : cases) {
        for (const auto& [index, value] : c.settings)
            Set(index, value);
        EXPECT_EQ(editor->mMappingTexts[std::size_t(c.row)], c.texts) << "row " << c.row;
    }
}

TEST_F(ParamSendTest, AModePastSixEmptiesAndRowSixDoesNothing) {
    editor->mMappingTexts[2] = {"x", "y", "z"};
    Set(115, 1);
    if (editor->GetParam(143)->Max() >= 7) {
        Set(143, 7);
        EXPECT_EQ(editor->mMappingTexts[2], (std::array<std::string, 3>{}));
    }
    const auto before = editor->mMappingTexts;
    editor->ShowMidiMappingText(6);
    editor->ShowMidiMappingText(-1);
    EXPECT_EQ(editor->mMappingTexts, before);
}

// The jack pages carry none of these controls: every setting must pass
// through without a control to reach and without sending.
TEST_F(ParamSendTest, JackSettingsReachNoMissingControl) {
    Connect();
    for (int index = 113; index < 151; ++index) {
        const vx::IParam* param = editor->GetParam(index);
        for (double value : {param->Min(), param->Max(), param->Min()})
            Set(index, value);
    }
    EXPECT_TRUE(TakeParamChanges().empty());
}

} // namespace
} // namespace omnar::test
