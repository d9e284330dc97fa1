#include "device/Packing.h"
#include "device/ReplyRules.h"
#include "device/TransferMessages.h"
#include "tests/device/DeviceRig.h"
#include "tests/devsim/SimFaults.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

namespace {

using namespace omnar::test;

// "55 0F", "5A", "40 7F": the command and, for requests, their argument.
std::vector<std::string> RequestTrace(const std::vector<Bytes>& sent) {
    std::vector<std::string> trace;
    for (const Bytes& m : sent) {
        char text[16];
        if (m.size() == 9)
            std::snprintf(text, sizeof text, "%02X %02X", m[5], m[7]);
        else
            std::snprintf(text, sizeof text, "%02X", m[5]);
        trace.push_back(text);
    }
    return trace;
}

Bytes Image(const devsim::PresetImage& image) {
    return Bytes(image.begin(), image.end());
}

bool Disabled(DeviceRig& rig, const char* group) {
    bool disabled = true;
    rig.editor->Panel().ForEachControlInGroup(
        group, [&](vx::ui::IControl* control) { disabled = control->IsDisabled(); });
    return disabled;
}

TEST(DeviceLink, IdentityPollLeavesEvery33rdTickWhileNoDeviceAnswers) {
    DeviceRig rig;
    rig.pedal.AddFault(*devsim::ParseFaultRule("drop:55:always").rule);
    std::vector<int> pollTicks;
    for (int tick = 1; tick <= 100; ++tick) {
        const std::size_t before = rig.sent.size();
        rig.Step();
        if (rig.sent.size() > before)
            pollTicks.push_back(tick);
    }
    EXPECT_EQ(pollTicks, (std::vector<int>{33, 66, 99}));
    EXPECT_EQ(RequestTrace(rig.sent), (std::vector<std::string>{"55 0F", "55 0F", "55 0F"}));
    EXPECT_FALSE(rig.editor->mConnected);
}

TEST(DeviceLink, VersionGate) {
    struct Case {
        std::uint8_t version;
        const char* fault;
        bool connects;
        std::string message;
    };
    const Case cases[] = {
        {0x0C, nullptr, true, ""},
        {0x09, nullptr, false, "Please upgrade Omnar to actual version 12."},
        {0x0C, "corrupt:55:always", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.version));
        devsim::SimState state = devsim::FactoryState();
        state.versionByte = c.version;
        DeviceRig rig(true, state);
        if (c.fault)
            rig.pedal.AddFault(*devsim::ParseFaultRule(c.fault).rule);
        int posted = 0;
        for (int i = 0; i < 100 && !rig.editor->mConnected; ++i) {
            rig.Step();
            if (rig.editor->mMessagePending) {
                ++posted;
                EXPECT_EQ(rig.editor->mPendingMessage, c.message);
                rig.editor->mMessagePending = false;
            }
        }
        // The idle work shows what was left for it.
        for (const std::string& box : rig.MessageBoxes()) {
            ++posted;
            EXPECT_EQ(box, c.message);
        }
        EXPECT_EQ(rig.editor->mConnected, c.connects);
        EXPECT_EQ(posted, c.message.empty() ? 0 : 1);
        EXPECT_EQ(Disabled(rig, "bcontrols"), !c.connects);
        EXPECT_EQ(Disabled(rig, "postbcontrolsb"), !c.connects);
        if (c.connects) {
            EXPECT_EQ(RequestTrace(rig.sent)[1], "55 03");
            EXPECT_EQ(rig.editor->TagText(151), "DEVICE: Vorlix Quorbel Omnar");
            EXPECT_EQ(rig.editor->TagText(152), "VERSION: 1.2");
            EXPECT_EQ(rig.editor->TagText(153), "SERIAL: OMN-SIM-000001" + std::string(18, ' '));
        }
    }
}

TEST(DeviceLink, AVersionAboveThe7BitRangeGetsTheEditorText) {
    // Only a message handed over directly can carry it; the wire cannot.
    DeviceRig rig;
    Bytes identity = devsim::BuildDump(0x52, 0x0C, 0x0F, devsim::PresetImage{});
    identity[6] = 130;
    rig.FeedNow(identity);
    EXPECT_FALSE(rig.editor->mConnected);
    EXPECT_FALSE(rig.editor->mMessagePending) << "dropped: not a 7-bit message";
    EXPECT_EQ(omnar::VersionGateMessage(130),
              "Editor version out of date. Please download the most recent version.");
}

TEST(DeviceLink, ConnectingWithAnEmptyLibraryFetchesEverySlot) {
    devsim::SimState state = devsim::FactoryState();
    state.currentSlot = 17;
    state.presets[17][34 + 0] = 99; // Level
    state.presets[17][34 + 19] = 4; // Reverb Extension Factor, range 2..5
    state.globals[1] = 1;           // parameter 89
    state.globals[6] = 1;           // parameter 94
    state.globals[16] = 1;          // parameter 99 "CABINET BYPASS"
    DeviceRig rig(true, state);
    ASSERT_TRUE(rig.Connect());

    std::vector<std::string> expected = {"55 0F", "55 03", "5A"};
    for (int slot = 0; slot < 128; ++slot) {
        char text[8];
        std::snprintf(text, sizeof text, "40 %02X", slot);
        expected.push_back(text);
    }
    expected.insert(expected.end(), {"55 00", "5B", "40 11"});
    EXPECT_EQ(RequestTrace(rig.sent), expected);

    for (int slot = 0; slot < 128; ++slot) {
        EXPECT_EQ(ReadFile(rig.PresetFile(slot)), Image(rig.pedal.State().presets[slot]));
        const auto pair = devsim::PresetCheck(rig.pedal.State().presets[slot]);
        EXPECT_EQ(rig.editor->mPresetChecksums[std::size_t(slot)], pair);
    }
    const auto value = [&](int index) { return rig.editor->GetParam(index)->CurrentValue(); };
    EXPECT_EQ(value(89), 1);
    EXPECT_EQ(value(94), 1);
    EXPECT_EQ(value(99), 1);
    EXPECT_EQ(value(0), 99);
    EXPECT_EQ(value(19), 4);
    EXPECT_EQ(rig.editor->mPresetNumber, 17);
    EXPECT_EQ(rig.editor->TagText(1), "17");
    EXPECT_EQ(rig.editor->TagText(148), "Preset 018" + std::string(22, ' '));
    EXPECT_FALSE(rig.editor->mApplyingValues);
    EXPECT_TRUE(rig.SentWithCommand(0x0550).empty()) << "received values are not echoed";
    EXPECT_FALSE(Disabled(rig, "bcontrols"));
}

TEST(DeviceLink, ALibraryInStepIsNotFetchedAgain) {
    DeviceRig rig;
    std::filesystem::create_directories(rig.home.PresetsFolder());
    for (int slot = 0; slot < 128; ++slot)
        WriteFile(rig.PresetFile(slot), Image(rig.pedal.State().presets[slot]));
    rig.editor->RefreshPresetList();
    ASSERT_TRUE(rig.Connect());
    EXPECT_EQ(RequestTrace(rig.sent),
              (std::vector<std::string>{"55 0F", "55 03", "55 00", "5B", "40 00"}));
}

class ConnectedRig : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(rig.Connect()); }
    void Edit(int index, int value) {
        rig.editor->SetParamFromNormalised(index, rig.editor->GetParam(index)->ToNormalised(value));
    }
    DeviceRig rig;
};

TEST_F(ConnectedRig, EditsReachTheDeviceAndAStoreComesBackAsTheSlotFile) {
    Edit(0, 100);
    Edit(16, 3);
    rig.Step();
    EXPECT_EQ(rig.pedal.State().editBuffer[34 + 0], 100);
    EXPECT_EQ(rig.pedal.State().editBuffer[34 + 16], 3);

    rig.editor->mStorePending = true;
    rig.editor->mBlinkStopArmed = true;
    rig.editor->SendParamMessage(18, 5); // the store button's request
    rig.Steps(2);
    EXPECT_EQ(rig.pedal.State().presets[5][34], 100);
    EXPECT_EQ(ReadFile(rig.PresetFile(5)), Image(rig.pedal.State().presets[5]));
    EXPECT_EQ(rig.editor->mPresetChecksums[5], devsim::PresetCheck(rig.pedal.State().presets[5]));
    EXPECT_FALSE(rig.editor->mStorePending);
    EXPECT_FALSE(rig.editor->mBlinkStopArmed);
    EXPECT_EQ(rig.editor->mPresetNumber, 5);
}

TEST_F(ConnectedRig, KnobBankGoesToTheDeviceAndComesBackOnItsTags) {
    const std::size_t before = rig.sent.size();
    rig.editor->SendParamMessage(19, 1);
    rig.Step();
    EXPECT_TRUE(rig.pedal.State().knobBankB);
    EXPECT_EQ(rig.sent.size(), before + 1) << "no reply, nothing more sent";
    auto& panel = rig.editor->Panel();
    for (const int value : {0, 1, 0}) {
        rig.pedal.InjectParamValue(0x4D, std::uint8_t(value), rig.nowMs);
        rig.Step();
        EXPECT_EQ(rig.editor->mKnobBankB, value == 1);
        EXPECT_EQ(panel.FindControlByTag(64)->IsHidden(), value == 0);
        EXPECT_EQ(panel.FindControlByTag(103)->IsHidden(), value == 0);
    }
}

TEST_F(ConnectedRig, DeviceValuesAreAppliedWithoutEcho) {
    const std::size_t before = rig.sent.size();
    rig.pedal.InjectParamValue(7, 12, rig.nowMs);
    rig.pedal.InjectParamValue(96, 20, rig.nowMs); // tuner frequency
    rig.Step();
    EXPECT_EQ(rig.editor->GetParam(7)->CurrentValue(), 12);
    EXPECT_EQ(rig.editor->GetParam(96)->CurrentValue(), 20);
    EXPECT_EQ(rig.editor->mDeviceValues[7], 12);
    EXPECT_EQ(rig.sent.size(), before);
}

TEST_F(ConnectedRig, IRNamesChainThroughTheFourBlocksOfAPage) {
    auto image = devsim::BlankIRImage();
    const std::string name = "Fat Cab";
    std::copy(name.begin(), name.end(), image.begin() + 4);
    rig.pedal.MutableState().userIRs[33] = image;
    for (const auto& [first, blocks] :
         {std::pair{0, std::vector<int>{0, 1, 2, 3}}, std::pair{4, std::vector<int>{4, 5, 6, 7}}}) {
        const std::size_t from = rig.sent.size();
        rig.editor->SendIRNamesRequest(first);
        rig.Steps(3);
        std::vector<int> asked;
        for (const Bytes& m : rig.SentWithCommand(0x056A, from))
            asked.push_back(m[7]);
        EXPECT_EQ(asked, blocks);
    }
    EXPECT_EQ(std::string(rig.editor->mIRListRows[0]->GetString()), "Empty Slot 1");
    EXPECT_EQ(std::string(rig.editor->mIRListRows[1]->GetString()), "Fat Cab");
    EXPECT_EQ(std::string(rig.editor->mIRListRows[31]->GetString()), "Empty Slot 32");
}

TEST_F(ConnectedRig, APresetPlayingUserIRsFetchesAThenBByteExact) {
    auto& state = rig.pedal.MutableState();
    state.userIRs[3] = devsim::SyntheticFactoryIR(1);
    auto& preset = state.presets[40];
    preset[34 + 40] = 1; // IR A on, number 3
    preset[34 + 54] = 3;
    preset[34 + 41] = 1; // IR B on, number 9: an empty slot
    preset[34 + 56] = 9;
    const std::size_t from = rig.sent.size();
    rig.editor->SendPresetSelect(40);
    ASSERT_TRUE(rig.RunUntil([&] { return FileExists(rig.home.UserIRFolder() + "010.dat"); }, 20));
    std::vector<int> fetched;
    for (const Bytes& m : rig.SentWithCommand(0x0569, from))
        fetched.push_back(m[7] * 128 + m[8]);
    EXPECT_EQ(fetched, (std::vector<int>{3, 9}));
    EXPECT_EQ(ReadFile(rig.home.UserIRFolder() + "004.dat"),
              Bytes(state.userIRs[3]->begin(), state.userIRs[3]->end()));
    const auto blank = devsim::BlankIRImage();
    EXPECT_EQ(ReadFile(rig.home.UserIRFolder() + "010.dat"), Bytes(blank.begin(), blank.end()));
    EXPECT_EQ(omnar::TransferCheck(omnar::Pack8To7(blank)), (omnar::CheckPair{0x05, 0x35}));
}

TEST_F(ConnectedRig, AnIRUploadWaitsForTheDeviceBeforeItsMiddleParts) {
    rig.pedal.AddFault(*devsim::ParseFaultRule("delay=1000:60").rule);
    rig.editor->mIRUploadSlot = 21;
    OmnarControl::Name name{};
    std::copy_n("Upload", 6, name.begin());
    rig.editor->NormalizeAndPackIR(name, 21, true);
    const std::size_t from = rig.sent.size();
    rig.Steps(8);
    EXPECT_EQ(rig.SentWithCommand(0x0560, from).size(), 1u);
    EXPECT_TRUE(rig.SentWithCommand(0x0565, from).empty()) << "no middle part before 'c'";
    ASSERT_TRUE(rig.RunUntil([&] { return rig.pedal.State().userIRs[21].has_value(); }, 30));
    rig.Step();
    std::vector<std::size_t> sizes;
    for (std::size_t i = from; i < rig.sent.size(); ++i)
        sizes.push_back(rig.sent[i].size());
    EXPECT_EQ(sizes,
              (std::vector<std::size_t>{269, 264, 264, 264, 264, 264, 264, 264, 264, 264, 235}));
    EXPECT_EQ(ReadFile(rig.home.UserIRFolder() + "022.dat"),
              Bytes(rig.pedal.State().userIRs[21]->begin(), rig.pedal.State().userIRs[21]->end()));
    EXPECT_TRUE(rig.MessageBoxes().empty());
    EXPECT_EQ(rig.editor->mAwaited, decltype(rig.editor->mAwaited)::None);
}

TEST_F(ConnectedRig, ARefusedIRUploadSaysError) {
    rig.pedal.AddFault(*devsim::ParseFaultRule("nak:60").rule);
    OmnarControl::Name name{};
    rig.editor->mIRUploadSlot = 2;
    rig.editor->NormalizeAndPackIR(name, 2, true);
    const std::size_t from = rig.sent.size();
    rig.Steps(10);
    EXPECT_EQ(rig.MessageBoxes(), std::vector<std::string>{"ERROR!"});
    EXPECT_EQ(rig.sent.size(), from + 1) << "nothing after the refused first part";
    EXPECT_TRUE(rig.editor->mConnected);
}

TEST(DeviceLink, ASlotThatKeepsFailingItsCheckIsSkippedAndLeftFlagged) {
    DeviceRig rig;
    // Slot 2 is the third request; its three re-requests fail as well.
    for (int occurrence = 3; occurrence <= 6; ++occurrence)
        rig.pedal.AddFault(
            *devsim::ParseFaultRule("corrupt:40:" + std::to_string(occurrence)).rule);
    ASSERT_TRUE(rig.Connect());
    EXPECT_FALSE(FileExists(rig.PresetFile(2)));
    EXPECT_TRUE(rig.editor->mSlotChanged[2]);
    EXPECT_EQ(ReadFile(rig.PresetFile(3)), Image(rig.pedal.State().presets[3]));
    EXPECT_EQ(rig.SentWithCommand(0x0540).size(), 128u + 3u + 1u);
}

TEST_F(ConnectedRig, MalformedOrOutOfRangeMessagesChangeNothing) {
    Bytes index200 = devsim::BuildParamValue(7, 12);
    index200[7] = 200;
    Bytes nineBytes = devsim::BuildParamValue(7, 12);
    nineBytes.erase(nineBytes.begin() + 8);
    Bytes highByte = devsim::BuildParamValue(7, 12);
    highByte[8] = 0x8C;
    std::vector<Bytes> hugeIR = devsim::BuildIRDump(6, devsim::SyntheticFactoryIR(1));
    hugeIR[0][9] = hugeIR[0][10] = hugeIR[0][11] = 0x7F;
    std::vector<Bytes> orphans = devsim::BuildIRDump(6, devsim::SyntheticFactoryIR(1));
    orphans.erase(orphans.begin());
    // A legal last IR part of 42 bytes: no preset name.
    const omnar::DeviceMessage lastPart = omnar::BuildIRDumpLast(Bytes(32, 'N'), {1, 2});
    const Bytes last42(lastPart.Bytes().begin(), lastPart.Bytes().end());
    const double level = rig.editor->GetParam(7)->CurrentValue();
    const double list = rig.editor->GetParam(80)->CurrentValue();
    const std::size_t sent = rig.sent.size();
    std::vector<Bytes> inputs = {index200,
                                 nineBytes,
                                 highByte,
                                 devsim::BuildParamValue(80, 3),
                                 devsim::BuildShortReply('q'),
                                 last42,
                                 Bytes{},
                                 Bytes{0xF0}};
    inputs.insert(inputs.end(), hugeIR.begin(), hugeIR.end());
    inputs.insert(inputs.end(), orphans.begin(), orphans.end());
    for (const Bytes& input : inputs) {
        if (input.empty())
            rig.editor->ProcessSysEx({0, 0, nullptr});
        else
            rig.Feed(input);
    }
    rig.Steps(3);
    EXPECT_EQ(rig.editor->GetParam(7)->CurrentValue(), level);
    EXPECT_EQ(rig.editor->GetParam(80)->CurrentValue(), list);
    EXPECT_FALSE(FileExists(rig.home.UserIRFolder() + "007.dat"));
    EXPECT_EQ(rig.editor->TagText(104), "");
    EXPECT_EQ(rig.sent.size(), sent);
    EXPECT_TRUE(rig.MessageBoxes().empty());
    EXPECT_TRUE(rig.editor->mConnected);
}

TEST_F(ConnectedRig, ABurstOfElevenMessagesInOneTickIsTakenWholeInOrder) {
    const auto image = devsim::SyntheticFactoryIR(6);
    const std::vector<Bytes> parts = devsim::BuildIRDump(8, image);
    ASSERT_EQ(parts.size(), 11u);
    for (std::size_t i = 0; i + 1 < parts.size(); ++i)
        rig.Feed(parts[i]);
    rig.FeedNow(parts.back());
    EXPECT_EQ(ReadFile(rig.home.UserIRFolder() + "009.dat"), Bytes(image.begin(), image.end()));
}

} // namespace
