#include "tests/devsim/DeviceSim.h"
#include "tests/devsim/GoldenVectors.h"
#include "tests/devsim/SimTestSupport.h"

#include <gtest/gtest.h>

using namespace devsim;
using namespace devsim::test;

namespace {

struct ReplyCase {
    const char* name;
    Bytes request;
    std::vector<Bytes> replies;
};

class DeviceSimReplies : public ::testing::Test {
protected:
    std::vector<Bytes> Send(const Bytes& message) { return sim.Receive(message, now); }
    std::vector<Bytes> SendAll(const std::vector<Bytes>& messages) {
        std::vector<Bytes> replies;
        for (const Bytes& m : messages) {
            for (Bytes& r : Send(m)) {
                replies.push_back(std::move(r));
            }
        }
        return replies;
    }

    DeviceSim sim;
    std::int64_t now = 0;
};

IRImage TestImage(const char* name) {
    IRImage image = SyntheticFactoryIR(3);
    const auto field = TextField(name);
    std::copy(field.begin(), field.end(), image.begin() + kIRNameOffset);
    return image;
}

} // namespace

TEST_F(DeviceSimReplies, AnswersEachRequestAsTheGoldenTableSays) {
    const Bytes presetZero = Of(golden::kSimPresetDumpReplySlot0);
    const ReplyCase cases[] = {
        {"identity", Of(golden::kIdentityRequest), {Of(golden::kIdentityReply)}},
        {"globals", EditorMessage({0x55, 0x0C, 0x00}), {Of(golden::kSimGlobalsReply)}},
        {"setup", EditorMessage({0x55, 0x0C, 0x01}), {Of(golden::kSettingsDumpSetupAtDefaults)}},
        {"program map",
         EditorMessage({0x55, 0x0C, 0x02}),
         {Of(golden::kSettingsDumpProgramMapIdentity)}},
        {"preset dump", EditorMessage({0x40, 0x0C, 0x00}), {presetZero}},
        {"preset select", EditorMessage({0x23, 0x0C, 0x00}), {presetZero}},
        {"param change", Of(golden::kParamChangeLevel100), {}},
        {"IR A high digit",
         EditorMessage({0x50, 0x0C, 0x39, 0x01}),
         {Of(golden::kReplyIRDigitAck)}},
        {"IR B high digit",
         EditorMessage({0x50, 0x0C, 0x3B, 0x00}),
         {Of(golden::kReplyIRDigitAck)}},
        {"globals write", Of(golden::kSettingsDumpGlobalsAtDefaults), {}},
        {"setup write", Of(golden::kSettingsDumpSetupAtDefaults), {Of(golden::kReplyWritten)}},
        {"program map write",
         Of(golden::kSettingsDumpProgramMapIdentity),
         {Of(golden::kReplyWritten)}},
        {"reset all", Of(golden::kFactoryResetAll), {Of(golden::kReplyWritten)}},
        {"reset presets", EditorMessage({0x56, 0x0C, 0x01}), {Of(golden::kReplyWritten)}},
        {"reset settings", EditorMessage({0x56, 0x0C, 0x02}), {Of(golden::kReplyWritten)}},
        {"bulk begin", Of(golden::kBulkBegin), {}},
        {"bulk end", Of(golden::kBulkEnd), {}},
        {"editor closed", Of(golden::kEditorClosed), {}},
        {"edit buffer", Of(golden::kCurrentPresetAtDefaults), {}},
        {"restore preset", AsWrite(presetZero, 0x7F), {Of(golden::kReplyRestored)}},
        {"loader entry", Of(golden::kFirmwareEnter), {Of(golden::kLoaderReady)}},
    };
    for (const ReplyCase& c : cases) {
        DeviceSim fresh;
        EXPECT_EQ(fresh.Receive(c.request, 0), c.replies) << c.name;
    }
}

TEST_F(DeviceSimReplies, ReportsTheChecksumOfEverySlot) {
    sim.MutableState().presets[5][40] ^= 1;
    const auto replies = Send(EditorMessage({0x55, 0x0C, 0x03}));
    ASSERT_EQ(replies.size(), 1u);
    const Bytes& report = replies[0];
    EXPECT_EQ(report[7], 0x03);
    EXPECT_EQ(report[8], golden::kSimPresetDumpReplySlot0[264]);
    EXPECT_EQ(report[9], golden::kSimPresetDumpReplySlot0[265]);
    for (int slot = 0; slot < kPresetCount; ++slot) {
        const auto check = PresetCheck(sim.State().presets[slot]);
        EXPECT_EQ(report[8 + 2 * slot], check[0]) << slot;
        EXPECT_EQ(report[9 + 2 * slot], check[1]) << slot;
    }
}

TEST_F(DeviceSimReplies, EditsStoreAndSelectPresets) {
    EXPECT_TRUE(Send(Of(golden::kParamChangeLevel100)).empty());
    EXPECT_TRUE(Send(Of(golden::kParamChangeRoomSize64)).empty());
    EXPECT_EQ(sim.State().editBuffer[kPresetValuesOffset + 0], 100);

    const auto stored = Send(Of(golden::kStoreToSlot9));
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0][5], 0x41);
    EXPECT_EQ(stored[0][7], 9);
    EXPECT_EQ(stored[0][kDumpDataOffset + kPresetValuesOffset], 100);
    EXPECT_EQ(NameIn(stored[0], 10), "Preset 001"); // the edit buffer came from slot 0
    EXPECT_EQ(sim.State().currentSlot, 9);
    EXPECT_EQ(sim.State().presets[9], sim.State().editBuffer);

    const auto selected = Send(Of(golden::kPresetSelect5));
    ASSERT_EQ(selected.size(), 1u);
    EXPECT_EQ(NameIn(selected[0], 10), "Preset 006");
    EXPECT_EQ(sim.State().currentSlot, 5);
    EXPECT_EQ(sim.State().editBuffer[kPresetValuesOffset], 64);
}

TEST_F(DeviceSimReplies, EditorWritesChangeTheState) {
    Send(Of(golden::kSettingsDumpGlobalsAtDefaults));
    const PresetImage& globals = sim.State().globals;
    EXPECT_EQ(globals[6], 0); // 2 keeps the pot display mode
    EXPECT_EQ(globals[8], 12);
    EXPECT_EQ(globals[11], 127);
    EXPECT_EQ(globals[13], 127);

    Bytes map(256, 0);
    for (int i = 0; i < 128; ++i) {
        map[i] = static_cast<std::uint8_t>(127 - i);
    }
    Send(BuildDump(0x52, 0x0C, 2, map));
    EXPECT_EQ(sim.State().programMap[0], 127);

    Send(Of(golden::kCurrentPresetAtDefaults));
    EXPECT_EQ(NameIn(Bytes(sim.State().editBuffer.begin(), sim.State().editBuffer.end()), 2), "");
    EXPECT_EQ(NameIn(Bytes(sim.State().presets[0].begin(), sim.State().presets[0].end()), 2),
              "Preset 001");

    DeviceSim acking(FactoryState(), SimOptions{.ackGlobalsWrite = true});
    EXPECT_EQ(acking.Receive(Of(golden::kSettingsDumpGlobalsAtDefaults), 0),
              std::vector<Bytes>{Of(golden::kReplyWritten)});

    Send(Of(golden::kFactoryResetAll));
    EXPECT_EQ(sim.State().globals, DefaultGlobals());
    EXPECT_EQ(sim.State().programMap[0], 0);
}

TEST_F(DeviceSimReplies, UploadedIRComesBackBitExact) {
    const IRImage image = TestImage("My Cab");
    std::vector<Bytes> upload = BuildIRDump(37, image);
    const std::vector<Bytes> acks = SendAll(upload);
    EXPECT_EQ(acks, (std::vector<Bytes>{Of(golden::kReplyIRReady), Of(golden::kReplyIRStored)}));
    ASSERT_TRUE(sim.State().userIRs[37].has_value());
    EXPECT_EQ(*sim.State().userIRs[37], image);

    const auto dump = Send(EditorMessage({0x69, 0x0C, 0x00, 37}));
    EXPECT_EQ(dump, upload);

    const auto names = Send(EditorMessage({0x6A, 0x0C, 0x04}));
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(NameIn(names[0], 8 + 32 * 5), "My Cab");
    EXPECT_EQ(NameIn(names[0], 8), "");
}

TEST_F(DeviceSimReplies, EmptyAndFactoryIRsStillAnswer) {
    const auto blank = Send(Of(golden::kIRDumpRequestSlot200));
    ASSERT_EQ(blank.size(), 11u);
    EXPECT_EQ(Bytes(blank.back().end() - 3, blank.back().end() - 1),
              Of(golden::kBlankIRTransferCheck));

    const auto factory = Send(EditorMessage({0x69, 0x0C, 0x03, 0x06})); // IR 390
    ASSERT_EQ(factory.size(), 11u);
    EXPECT_EQ(factory, BuildIRDump(390, sim.State().factoryIRs[6]));

    const auto names = Send(Of(golden::kIRNamesRequest32));
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(NameIn(names[0], 8), "Quorbel");
    EXPECT_EQ(NameIn(names[0], 8 + 32 * 7), "Isle V30");
    const auto after = Send(EditorMessage({0x6A, 0x0C, 33}));
    EXPECT_EQ(NameIn(after[0], 8), "");
}

TEST_F(DeviceSimReplies, BadUploadsAreRefused) {
    std::vector<Bytes> upload = BuildIRDump(3, TestImage("x"));
    Bytes wrongSize = upload[0];
    wrongSize[11] ^= 1;
    EXPECT_EQ(Send(wrongSize), std::vector<Bytes>{Of(golden::kReplyError)});

    upload.back()[upload.back().size() - 2] ^= 1;
    EXPECT_EQ(SendAll(upload),
              (std::vector<Bytes>{Of(golden::kReplyIRReady), Of(golden::kReplyError)}));
    EXPECT_FALSE(sim.State().userIRs[3].has_value());

    std::vector<Bytes> longOne = BuildIRDump(3, TestImage("x"));
    longOne.insert(longOne.begin() + 2, longOne[1]);
    EXPECT_EQ(SendAll(longOne),
              (std::vector<Bytes>{Of(golden::kReplyIRReady), Of(golden::kReplyError)}));

    std::vector<Bytes> shortOne = BuildIRDump(3, TestImage("x"));
    shortOne.erase(shortOne.begin() + 4);
    EXPECT_EQ(SendAll(shortOne),
              (std::vector<Bytes>{Of(golden::kReplyIRReady), Of(golden::kReplyError)}));
}

TEST_F(DeviceSimReplies, RestoreWritesAreAcknowledged) {
    Bytes preset = Of(golden::kSimPresetDumpReplySlot0);
    preset[7] = 12;
    EXPECT_EQ(Send(AsWrite(preset, 0x7F)), std::vector<Bytes>{Of(golden::kReplyRestored)});
    Bytes spoilt = AsWrite(preset, 0x7F);
    spoilt[100] ^= 1;
    EXPECT_EQ(Send(spoilt), std::vector<Bytes>{Of(golden::kReplyRestoreRefused)});

    const IRImage image = TestImage("Restored");
    std::vector<Bytes> parts = BuildIRDump(44, image);
    parts.front() = AsWrite(parts.front(), 0x77);
    for (std::size_t i = 1; i + 1 < parts.size(); ++i) {
        parts[i] = AsWrite(parts[i], 0x78);
    }
    parts.back() = AsWrite(parts.back(), 0x79);
    EXPECT_EQ(SendAll(parts),
              (std::vector<Bytes>{Of(golden::kReplyRestoreStep), Of(golden::kReplyIRRestored)}));
    EXPECT_EQ(*sim.State().userIRs[44], image);

    parts.back()[parts.back().size() - 3] ^= 1;
    EXPECT_EQ(SendAll(parts), (std::vector<Bytes>{Of(golden::kReplyRestoreStep),
                                                  Of(golden::kReplyIRRestoreRefused)}));

    // Acknowledgements only answer restore writes.
    EXPECT_TRUE(Send(Of(golden::kBulkEnd)).empty());
}

TEST_F(DeviceSimReplies, FirmwareIsReassembledAndTheDeviceReboots) {
    Bytes firmware(1000);
    for (std::size_t i = 0; i < firmware.size(); ++i) {
        firmware[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    const auto messages = FirmwareMessages(firmware);
    EXPECT_EQ(Send(Of(golden::kFirmwareEnter)), std::vector<Bytes>{Of(golden::kLoaderReady)});
    EXPECT_TRUE(Send(Of(golden::kIdentityRequest)).empty()); // the loader ignores editor commands
    EXPECT_EQ(SendAll(messages), std::vector<Bytes>{Of(golden::kLoaderDone)});
    EXPECT_EQ(sim.State().firmware, firmware);
    EXPECT_EQ(sim.State().firmwareUpdates, 1);

    now = 1999;
    EXPECT_TRUE(Send(Of(golden::kIdentityRequest)).empty());
    now = 2000;
    EXPECT_EQ(Send(Of(golden::kIdentityRequest)), std::vector<Bytes>{Of(golden::kIdentityReply)});
}

TEST_F(DeviceSimReplies, SpoiltFirmwareEndsTheLoader) {
    auto messages = FirmwareMessages(Bytes(700, 0x5A));
    messages.back()[messages.back().size() - 2] ^= 1;
    Send(Of(golden::kFirmwareEnter));
    EXPECT_EQ(SendAll(messages), std::vector<Bytes>{Of(golden::kLoaderError)});
    EXPECT_FALSE(sim.State().loaderActive);
    EXPECT_TRUE(sim.State().firmware.empty());
    EXPECT_EQ(Send(Of(golden::kIdentityRequest)), std::vector<Bytes>{Of(golden::kIdentityReply)});
}

TEST(DeviceSimInjection, InjectedMessagesComeOutWithTheNextPoll) {
    DeviceSim sim;
    sim.InjectParamValue(0, 99, 10);
    sim.InjectParamValue(0x4D, 1, 10);
    sim.InjectPresetChange(7, 10);
    sim.InjectRaw({0xF0, 0x00, 0x51, 0x21, 0x05, 0x71, 0xF7}, 20);
    const auto first = sim.Poll(10);
    ASSERT_EQ(first.size(), 3u);
    EXPECT_EQ(first[0], Of(golden::kParamValueLevel99));
    EXPECT_EQ(first[1], Of(golden::kParamValueKnobBankB));
    EXPECT_EQ(first[2][7], 7);
    EXPECT_EQ(sim.State().currentSlot, 7);
    EXPECT_TRUE(sim.State().knobBankB);
    EXPECT_EQ(sim.Poll(20), std::vector<Bytes>{Of(golden::kReplyRestored)});
    ASSERT_EQ(sim.Trace().size(), 4u);
    EXPECT_TRUE(sim.Trace()[3].outgoing);
    EXPECT_EQ(sim.Trace()[0].text, "ParamValue index 0 value 99");
}

TEST(DeviceSimFixes, RefusedRestorePartsReservedBytesAndTheDumpVersion) {
    // A refused first restore part is answered like the other restore refusals.
    DeviceSim sim;
    Bytes first = BuildIRDump(3, SyntheticFactoryIR(1)).front();
    first[11] ^= 1; // a packed size other than 2785
    EXPECT_EQ(sim.Receive(AsWrite(first, 0x77), 0), std::vector<Bytes>{BuildShortReply('~')});

    // Reserved bytes of a type-0 write are not stored, so never echoed.
    const Bytes globals = Of(golden::kSettingsDumpGlobalsAtDefaults);
    PresetImage data{};
    std::copy_n(globals.begin() + 8, data.size(), data.begin());
    const std::size_t reserved[] = {14, 15, 18, 100, 255};
    for (const std::size_t d : reserved)
        data[d] = 0x55;
    sim.Receive(BuildDump(0x52, 0x0C, 0, data), 0);
    const auto reply = sim.Receive(EditorMessage({0x55, 0x0C, 0x00}), 0);
    ASSERT_EQ(reply.size(), 1u);
    for (const std::size_t d : reserved)
        EXPECT_EQ(reply[0][8 + d], DefaultGlobals()[d]) << d;

    // Another firmware version shows in the settings replies, never in preset dumps.
    SimState state = FactoryState();
    state.versionByte = 0x0E;
    DeviceSim newer(state);
    const auto dump = newer.Receive(EditorMessage({0x40, 0x0C, 0x05}), 0);
    ASSERT_EQ(dump.size(), 1u);
    EXPECT_EQ(dump[0][6], 0x0C);
    const auto settings = newer.Receive(EditorMessage({0x55, 0x0C, 0x00}), 0);
    ASSERT_EQ(settings.size(), 1u);
    EXPECT_EQ(settings[0][6], 0x0E);
}
