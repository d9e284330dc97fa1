#include "device/OmnarControl.h"
#include "tests/devsim/DeviceSim.h"
#include "tests/framework/PluginFixtures.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using devsim::Bytes;

class Editor : public OmnarControl {
public:
    using OmnarControl::mApplyingValues;
    using OmnarControl::mConnected;
    using OmnarControl::mDeviceParamIds;
    using OmnarControl::mPresetNumber;
    using OmnarControl::mProgramMap;
    using OmnarControl::OmnarControl;
};

// The editor's builders on one side, the simulated pedal on the other: what
// the editor sends is handed to the pedal, whose replies are kept.
class EditorAndPedal : public ::testing::Test {
protected:
    EditorAndPedal() {
        editor->mConnected = true;
        editor->mApplyingValues = false;
    }

    // Hands every message sent since the last call to the pedal.
    std::vector<Bytes> Deliver() {
        std::vector<Bytes> replies;
        for (const Bytes& message : host.output->messages) {
            nowMs += 10;
            for (Bytes& reply : pedal.Receive(message, nowMs))
                replies.push_back(std::move(reply));
        }
        host.output->messages.clear();
        return replies;
    }
    void Edit(int index, int value) {
        editor->SetParamFromNormalised(index, editor->GetParam(index)->ToNormalised(value));
    }
    std::uint8_t EditBufferValue(int index) const {
        return pedal.State().editBuffer[devsim::kPresetValuesOffset + std::size_t(index)];
    }

    vx::test::FakeHost host;
    std::unique_ptr<Editor> editor = std::make_unique<Editor>(vx::InstanceInfo{&host});
    devsim::DeviceSim pedal;
    std::int64_t nowMs = 0;
};

TEST_F(EditorAndPedal, IdentityRequestIsAnsweredWithTheSerial) {
    editor->SendIdentityRequest();
    const std::vector<Bytes> replies = Deliver();
    ASSERT_EQ(replies.size(), 1u);
    ASSERT_EQ(replies[0].size(), 267u);
    EXPECT_EQ(replies[0][5], 0x52);
    EXPECT_EQ(replies[0][7], 0x0F);
    EXPECT_EQ(std::string(replies[0].begin() + 232, replies[0].begin() + 246), "OMN-SIM-000001");
}

TEST_F(EditorAndPedal, UserEditsReachTheEditBufferAndAStoreKeepsThem) {
    Edit(0, 100);  // Level, device id 0
    Edit(16, 3);   // Reverb Room Size, device id 20
    Edit(73, 127); // High Freq, device id 77
    EXPECT_TRUE(Deliver().empty());
    EXPECT_EQ(EditBufferValue(0), 100);
    EXPECT_EQ(EditBufferValue(16), 3);
    EXPECT_EQ(EditBufferValue(73), 127);

    // The store request of the pages: ParamChange of device id 18 with the slot.
    editor->SendParamMessage(editor->mDeviceParamIds[76], 9);
    const std::vector<Bytes> replies = Deliver();
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0][5], 0x41);
    EXPECT_EQ(replies[0][7], 9);
    EXPECT_EQ(pedal.State().presets[9][devsim::kPresetValuesOffset], 100);
    EXPECT_EQ(pedal.State().currentSlot, 9);
}

TEST_F(EditorAndPedal, CurrentPresetReplacesTheEditBufferWithTheEditorsValues) {
    editor->mConnected = false; // values set quietly, then sent as one dump
    Edit(5, 77);
    Edit(40, 1);
    editor->mPresetNumber = 4;
    editor->SendCurrentPreset();
    EXPECT_TRUE(Deliver().empty());
    EXPECT_EQ(EditBufferValue(5), 77);
    EXPECT_EQ(EditBufferValue(40), 1);
    EXPECT_EQ(EditBufferValue(0), 64);
    // No panel: the name fields travel blank.
    EXPECT_EQ(pedal.State().editBuffer[devsim::kPresetNameOffset], ' ');
    EXPECT_EQ(pedal.State().editBuffer[192], ' ');
    EXPECT_EQ(pedal.State().presets[4], devsim::DefaultPreset(4)) << "a 0x20 dump stores nothing";
}

TEST_F(EditorAndPedal, PresetSelectAndRequestsAnswerWithTheSlot) {
    editor->SendPresetSelect(12);
    editor->SendPresetDumpRequest(13);
    const std::vector<Bytes> replies = Deliver();
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_EQ(replies[0][7], 12);
    EXPECT_EQ(replies[1][7], 13);
    EXPECT_EQ(pedal.State().currentSlot, 12);
}

TEST_F(EditorAndPedal, SettingsWritesChangeTheTablesAndAreConfirmed) {
    for (int i = 0; i < 128; ++i)
        editor->mProgramMap[std::size_t(i)] = 127 - i;
    Edit(101, 20); // first entry of the CC table
    editor->SendSettingsDump(1);
    editor->SendSettingsDump(2);
    const std::vector<Bytes> replies = Deliver();
    const Bytes written{0xF0, 0x00, 0x51, 0x21, 0x05, 0x57, 0xF7};
    EXPECT_EQ(replies, (std::vector<Bytes>{written, written}));
    EXPECT_EQ(pedal.State().ccTable[0], 20);
    EXPECT_EQ(pedal.State().ccTable[7], 7);
    EXPECT_EQ(pedal.State().programMap[0], 127);
    EXPECT_EQ(pedal.State().programMap[127], 0);
}

TEST_F(EditorAndPedal, GlobalsWriteIsTakenWithoutAReply) {
    Edit(96, 20); // TUNER FREQUENCY, d8
    Edit(99, 1);  // CABINET BYPASS, d16
    editor->SendSettingsDump(0);
    EXPECT_TRUE(Deliver().empty());
    EXPECT_EQ(pedal.State().globals[8], 20);
    EXPECT_EQ(pedal.State().globals[16], 1);
}

TEST_F(EditorAndPedal, BulkModeOpensAndClosesTheBulkExchange) {
    editor->SendBulkMode(1);
    Deliver();
    EXPECT_TRUE(pedal.State().bulkOpen);
    editor->SendBulkMode(0);
    Deliver();
    EXPECT_FALSE(pedal.State().bulkOpen);
}

TEST_F(EditorAndPedal, IRRequestsAreAnswered) {
    editor->SendIRNamesRequest(32); // the factory names
    editor->SendIRDumpRequest(384);
    const std::vector<Bytes> replies = Deliver();
    ASSERT_EQ(replies.size(), 12u); // the names, then first, nine middle and last IR part
    EXPECT_EQ(replies[0][5], 0x6B);
    EXPECT_EQ(std::string(replies[0].begin() + 8, replies[0].begin() + 15), "Quorbel");
    EXPECT_EQ(replies[1][5], 0x60);
    EXPECT_EQ(replies[1][7] * 128 + replies[1][8], 384);
    EXPECT_EQ(replies.back()[5], 0x66);
}

TEST_F(EditorAndPedal, EveryOtherBuilderIsAValidMessageThePedalTakes) {
    editor->SendSettingsRequest(3);
    editor->SendEditorClosed();
    const std::vector<Bytes> replies = Deliver();
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0][7], 3);
    for (const devsim::TraceEntry& entry : pedal.Trace())
        EXPECT_EQ(entry.text.find("ignored"), std::string::npos) << entry.text;
}

} // namespace
