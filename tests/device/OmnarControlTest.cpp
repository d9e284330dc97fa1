#include "device/OmnarControl.h"
#include "device/ParamTable.h"
#include "tests/framework/PluginFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// The editor with its shared state in reach, as the other Parts reach it.
class Editor : public OmnarControl {
public:
    using OmnarControl::mApplyingValues;
    using OmnarControl::mConnected;
    using OmnarControl::mDeviceParamIds;
    using OmnarControl::mDeviceValues;
    using OmnarControl::mDumpWaitArmed;
    using OmnarControl::mDumpWaitTicks;
    using OmnarControl::mFactoryIRNames;
    using OmnarControl::mPollEnabled;
    using OmnarControl::mPresetNumber;
    using OmnarControl::mPresetNumberRestorePending;
    using OmnarControl::mPresetNumberRestoreTicks;
    using OmnarControl::mProgramMap;
    using OmnarControl::mSuppressParamSend;
    using OmnarControl::mUserEditing;
    using OmnarControl::OmnarControl;
};

Bytes ParamChange(int deviceId, int value) {
    return {0xF0, 0x00, 0x51, 0x21, 0x05, 0x50, 0x0C, std::uint8_t(deviceId), std::uint8_t(value),
            0xF7};
}

class OmnarControlTest : public ::testing::Test {
protected:
    // A user edit as the editor delegate makes it: the value, then OnParamChange.
    void Edit(int index, int value) {
        editor->SetParamFromNormalised(index, editor->GetParam(index)->ToNormalised(value));
    }
    int Value(int index) const { return int(editor->GetParam(index)->CurrentValue()); }
    std::vector<Bytes>& Sent() { return host.output->messages; }
    // One tick of the transfer timer, as the main loop would run it.
    void Tick() {
        struct StubTimer : vx::Timer {
            void Stop() override {}
        } timer;
        editor->OnZMK3Timer(timer);
    }

    vx::test::FakeHost host;
    std::unique_ptr<Editor> editor = std::make_unique<Editor>(vx::InstanceInfo{&host});
};

TEST_F(OmnarControlTest, NewObjectIsQuietAtItsDefaults) {
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(editor->NParams(), 151);
    EXPECT_EQ(editor->mPresetNumber, 0);
    EXPECT_FALSE(editor->mConnected);
    EXPECT_FALSE(editor->mUserEditing);
    EXPECT_TRUE(editor->mApplyingValues);
    EXPECT_TRUE(editor->mPollEnabled);
    EXPECT_EQ(editor->mDeviceParamIds[16], 20);
    EXPECT_EQ(editor->mDeviceParamIds[74], 16);
    EXPECT_EQ(editor->mFactoryIRNames[0], "Flat Response");
    EXPECT_EQ(editor->mFactoryIRNames[8], "Isle V30");

    // The object's parameters are the table's, untouched ones included.
    std::array<vx::IParam, omnar::kParamCount> reference;
    std::array<vx::IParam*, omnar::kParamCount> pointers{};
    std::transform(reference.begin(), reference.end(), pointers.begin(),
                   [](vx::IParam& p) { return &p; });
    omnar::SetUpParameters(pointers);
    for (int i = 0; i < omnar::kParamCount; ++i) {
        const vx::IParam& p = *editor->GetParam(i);
        SCOPED_TRACE("parameter " + std::to_string(i));
        EXPECT_STREQ(p.Name(), reference[i].Name());
        EXPECT_EQ(p.Type(), reference[i].Type());
        EXPECT_EQ(p.Min(), reference[i].Min());
        EXPECT_EQ(p.Max(), reference[i].Max());
        EXPECT_EQ(p.CurrentValue(), reference[i].Default());
    }
}

TEST_F(OmnarControlTest, ParamChangeReachesTheDeviceOnlyWhenItShould) {
    struct Case {
        const char* what;
        bool connected;
        bool applying;
        bool changed;
        int index;
        Bytes sent; // empty: nothing
        bool stored;
    };
    // One row per way the decision is carried out; the decision itself has
    // its own table in ParamSendTest.
    constexpr int kNew = 99;
    const Case cases[] = {
        {"user edit of a preset value", true, false, true, 16, ParamChange(20, kNew), true},
        {"no device", false, false, true, 5, {}, false},
        {"program applying values", true, true, true, 5, {}, true},
        {"user IR digit goes again", true, false, false, 53, ParamChange(57, kNew), false},
        {"not a preset value", true, false, true, 101, {}, false},
    };
    constexpr int kOld = 7;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        editor = nullptr;
        editor = std::make_unique<Editor>(vx::InstanceInfo{&host});
        Sent().clear();
        editor->mConnected = c.connected;
        editor->mApplyingValues = c.applying;
        editor->mDeviceValues.fill(kOld);
        if (!c.changed)
            editor->mDeviceValues[std::size_t(c.index)] = kNew;

        Edit(c.index, kNew);

        EXPECT_EQ(Sent(), c.sent.empty() ? std::vector<Bytes>{} : std::vector<Bytes>{c.sent});
        EXPECT_EQ(editor->mDeviceValues[std::size_t(c.index)],
                  c.stored || !c.changed ? kNew : kOld);
        // Every preset value shown brings the preset number back later.
        EXPECT_EQ(editor->mPresetNumberRestorePending, c.index < omnar::kPresetValueCount);
    }
}

TEST_F(OmnarControlTest, ChorusDepthRaisesTheSilentLevelAndHoldsSendsForOneTick) {
    editor->mConnected = true;
    editor->mApplyingValues = false;
    ASSERT_EQ(Value(66), 0);

    Edit(68, 30);

    // The level goes out; the depth waits behind the block it set.
    EXPECT_EQ(Sent(), std::vector<Bytes>{ParamChange(70, 64)});
    EXPECT_EQ(Value(66), 64);
    EXPECT_EQ(editor->mDeviceValues[66], 64);
    EXPECT_EQ(editor->mDeviceValues[68], 30);
    EXPECT_TRUE(editor->mSuppressParamSend);

    Sent().clear();
    Edit(0, 10);
    EXPECT_TRUE(Sent().empty()) << "held back within the tick";
    Edit(53, 0);
    EXPECT_EQ(Sent(), std::vector<Bytes>{ParamChange(57, 0)}) << "IR digits ignore the block";

    Sent().clear();
    Tick();
    EXPECT_FALSE(editor->mSuppressParamSend);
    EXPECT_EQ(Sent(), (std::vector<Bytes>{ParamChange(0, 10), ParamChange(72, 30)}))
        << "what the block held goes at the next tick, once";
    Sent().clear();
    Tick();
    EXPECT_TRUE(Sent().empty());
    Edit(0, 11);
    EXPECT_EQ(Sent(), std::vector<Bytes>{ParamChange(0, 11)});

    // With a level already up, the depth goes out on its own.
    Sent().clear();
    Edit(68, 40);
    EXPECT_EQ(Sent(), std::vector<Bytes>{ParamChange(72, 40)});
    EXPECT_EQ(Value(66), 64);
}

TEST_F(OmnarControlTest, PresetDumpRequestArmsTheWatchdog) {
    editor->mDumpWaitTicks = 5;
    editor->SendPresetDumpRequest(3);
    const Bytes request{0xF0, 0x00, 0x51, 0x21, 0x05, 0x40, 0x0C, 3, 0xF7};
    EXPECT_EQ(Sent(), std::vector<Bytes>{request});
    EXPECT_TRUE(editor->mDumpWaitArmed);
    EXPECT_EQ(editor->mDumpWaitTicks, 0);
}

TEST_F(OmnarControlTest, SettingsDumpOfAnUnknownTypeSendsNothing) {
    editor->SendSettingsDump(3);
    editor->SendSettingsDump(-1);
    EXPECT_TRUE(Sent().empty());
}

TEST_F(OmnarControlTest, ATimerTickWithoutTransfersSendsNothing) {
    Tick();
    EXPECT_TRUE(Sent().empty());
}

TEST_F(OmnarControlTest, DeviceMidiIsNotEchoed) {
    editor->PushCallbackMidiMsg(vx::IMidiMsg{0, 0xB0, 7, 100});
    struct StubTimer : vx::Timer {
        void Stop() override {}
    } uiTimer;
    editor->OnUITimer(uiTimer);
    EXPECT_TRUE(Sent().empty()) << "no MIDI thru";
}

} // namespace
