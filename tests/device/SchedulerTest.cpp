#include "device/Packing.h"
#include "device/TransferMessages.h"
#include "tests/device/DeviceRig.h"
#include "tests/devsim/SimFaults.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace omnar::test;

using devsim::Concat;

void LoadBank(RigEditor& editor, const Bytes& bank, int count) {
    std::copy(bank.begin(), bank.end(), editor.mBankBuffer.begin());
    editor.mBankLength = int(bank.size());
    editor.mRestoreIndex = 0;
    editor.mRestoreCount = count;
    editor.mRestoreActive = editor.mRestoreReady = editor.mBulkBeginPending = true;
}

Bytes PresetReply(int slot, const devsim::PresetImage& image) {
    return devsim::BuildDump(0x41, 0x1F, std::uint8_t(slot), image);
}

TEST(Scheduler, RestoreWritesPresetsAndIRsThenTheDeviceIsFoundAgain) {
    DeviceRig rig;
    ASSERT_TRUE(rig.Connect());
    devsim::PresetImage preset = devsim::DefaultPreset(3);
    preset[2] = 'R';
    const auto ir = devsim::SyntheticFactoryIR(4);
    std::vector<Bytes> irParts = devsim::BuildIRDump(12, ir);
    irParts.back()[irParts.back().size() - 2] ^= 0x21; // a stale check in the file
    LoadBank(*rig.editor, Concat({PresetReply(3, preset), Concat(irParts)}), 12);
    const std::size_t from = rig.sent.size();
    ASSERT_TRUE(rig.RunUntil([&] { return !rig.editor->mRestoreActive; }, 60));
    rig.Step();

    std::vector<int> commands;
    std::vector<int> middleTicks;
    for (std::size_t i = from; i < rig.sent.size() && commands.size() < 14; ++i) {
        commands.push_back(rig.sent[i][5]);
        if (rig.sent[i][5] == 0x78)
            middleTicks.push_back(rig.sentTicks[i]);
    }
    EXPECT_EQ(commands, (std::vector<int>{0x5A, 0x7F, 0x77, 0x78, 0x78, 0x78, 0x78, 0x78, 0x78,
                                          0x78, 0x78, 0x78, 0x79, 0x5B}));
    for (std::size_t i = 1; i < middleTicks.size(); ++i)
        EXPECT_EQ(middleTicks[i], middleTicks[i - 1] + 1) << "one middle part a tick";
    EXPECT_EQ(rig.pedal.State().presets[3], preset);
    ASSERT_TRUE(rig.pedal.State().userIRs[12].has_value());
    EXPECT_EQ(*rig.pedal.State().userIRs[12], ir);
    EXPECT_EQ(rig.MessageBoxes(), std::vector<std::string>{"Finished successfully!"});
    EXPECT_FALSE(rig.editor->mConnected) << "found again by the poll";
    ASSERT_TRUE(rig.Connect());
    EXPECT_EQ(ReadFile(rig.PresetFile(3)), Bytes(preset.begin(), preset.end()));
}

TEST(Scheduler, AcknowledgementsOfARestore) {
    struct Case {
        std::uint8_t reply;
        std::vector<bool> readyAfter; // after each of the three replies
        bool done;
        std::vector<std::string> boxes;
        std::size_t bulkEnds; // a finished or refused restore lets the pedal out of bulk mode
    };
    const Case cases[] = {
        {0x71, {true, true, false}, true, {}, 1},
        {0x73, {true, true, false}, false, {}, 0},
        {0x72, {false}, false, {"Communication error!"}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.reply));
        DeviceRig rig;
        ASSERT_TRUE(rig.Connect());
        rig.pedal.AddFault(*devsim::ParseFaultRule("drop:7F:always").rule);
        const auto image = devsim::DefaultPreset(0);
        LoadBank(*rig.editor,
                 Concat({PresetReply(0, image), PresetReply(1, image), PresetReply(2, image)}), 3);
        const std::size_t from = rig.sent.size();
        for (const bool ready : c.readyAfter) {
            ASSERT_TRUE(rig.RunUntil(
                [&] { return rig.editor->mAwaited == decltype(rig.editor->mAwaited)::RestoreAck; },
                5));
            rig.FeedNow(devsim::BuildShortReply(c.reply));
            EXPECT_EQ(rig.editor->mRestoreReady, ready);
        }
        EXPECT_EQ(rig.editor->mRestoreDone, c.done);
        EXPECT_EQ(rig.editor->mRestoreActive, c.reply == 0x73);
        EXPECT_EQ(rig.SentWithCommand(0x055B, from).size(), c.bulkEnds);
        EXPECT_EQ(rig.MessageBoxes(), c.boxes);
    }
}

TEST(Scheduler, StrayAcknowledgementsChangeNothing) {
    DeviceRig rig;
    ASSERT_TRUE(rig.Connect());
    std::filesystem::path library = rig.home.PresetsFolder();
    const std::size_t files = std::distance(std::filesystem::directory_iterator(library), {});
    const std::size_t from = rig.sent.size();
    for (const std::uint8_t reply : {'q', '}', 's', 'r', '~', 'c'})
        rig.FeedNow(devsim::BuildShortReply(reply));
    rig.Steps(3);
    EXPECT_EQ(std::size_t(std::distance(std::filesystem::directory_iterator(library), {})), files);
    EXPECT_EQ(rig.sent.size(), from);
    EXPECT_TRUE(rig.MessageBoxes().empty());
    EXPECT_TRUE(rig.editor->mConnected);
}

TEST(Scheduler, BackupCollectsPresetsThenTheUserIRsTheyPlay) {
    devsim::SimState state = devsim::FactoryState();
    state.presets[10][34 + 40] = 1; // IR A: 7
    state.presets[10][34 + 54] = 7;
    state.presets[20][34 + 41] = 1; // IR B: 2
    state.presets[20][34 + 56] = 2;
    state.presets[30][34 + 40] = 1; // IR A: 300, beyond the backup
    state.presets[30][34 + 53] = 2;
    state.presets[30][34 + 54] = 44;
    state.userIRs.resize(devsim::kUserIRCount);
    state.userIRs[2] = devsim::SyntheticFactoryIR(1);
    state.userIRs[7] = devsim::SyntheticFactoryIR(2);
    DeviceRig rig(true, state);
    ASSERT_TRUE(rig.Connect());
    const std::string path = rig.home.Folder() + "/backup.z3b";
    rig.editor->mBankExportPath = VxString(path.c_str());
    rig.editor->mBackupActive = rig.editor->mBackupReady = true;
    ASSERT_TRUE(rig.RunUntil([&] { return !rig.editor->mBackupActive; }, 800));

    std::vector<Bytes> expected;
    for (int slot = 0; slot < 128; ++slot)
        expected.push_back(devsim::BuildDump(0x41, 0x0C, std::uint8_t(slot), state.presets[slot]));
    for (const int n : {2, 7})
        for (Bytes& part : devsim::BuildIRDump(n, *state.userIRs[std::size_t(n)]))
            expected.push_back(std::move(part));
    EXPECT_EQ(ReadFile(path), Concat(expected));
    EXPECT_EQ(rig.MessageBoxes(), std::vector<std::string>{"Finished successfully!"});
}

TEST(Scheduler, ABackupWithoutUserIRsFinishesTwoTicksAfterTheLastPreset) {
    DeviceRig rig;
    ASSERT_TRUE(rig.Connect());
    const std::string path = rig.home.Folder() + "/plain.z3b";
    rig.editor->mBankExportPath = VxString(path.c_str());
    rig.editor->mBackupActive = rig.editor->mBackupReady = true;
    ASSERT_TRUE(rig.RunUntil(
        [&] { return rig.editor->mBackupPresetIndex == 128 && rig.editor->mBackupReady; }, 800));
    const int lastReply = rig.ticks;
    ASSERT_TRUE(rig.RunUntil([&] { return !rig.editor->mBackupActive; }, 5));
    EXPECT_EQ(rig.ticks - lastReply, 2);
    EXPECT_EQ(ReadFile(path).size(), 128u * 267u);
}

TEST(Scheduler, ABackupThatCannotBeWrittenSaysError) {
    DeviceRig rig;
    ASSERT_TRUE(rig.Connect());
    const std::string path = rig.home.Folder() + "/no such folder/bank.z3b";
    rig.editor->mBankExportPath = VxString(path.c_str());
    rig.editor->mBackupActive = rig.editor->mBackupReady = true;
    ASSERT_TRUE(rig.RunUntil([&] { return !rig.editor->mBackupActive; }, 800));
    EXPECT_EQ(rig.MessageBoxes(), std::vector<std::string>{"ERROR!"});
    EXPECT_FALSE(FileExists(path));
}

TEST(Scheduler, FirmwareLeavesAsStartChunksAndALastChunk) {
    struct Case {
        int packed;
        std::vector<std::size_t> sizes;
    };
    const Case cases[] = {
        {241, {250, 10}},
        {480, {250, 249}},
        {721, {250, 247, 247, 10}},
        {100, {110, 9}}, // too short for a full start: nothing beyond the image is sent
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.packed);
        DeviceRig rig;
        auto& editor = *rig.editor;
        std::fill_n(editor.mTransferBuffer.begin(), c.packed, std::uint8_t(0x11));
        editor.mTransferSize = editor.mTransferRemaining = c.packed;
        editor.mTransferPos = 0;
        editor.mFirmwareSending = true;
        rig.Steps(int(c.sizes.size()) + 2);
        std::vector<std::size_t> sizes;
        for (const Bytes& m : rig.sent)
            if (m[4] == 0x04)
                sizes.push_back(m.size());
        EXPECT_EQ(sizes, c.sizes);
        EXPECT_FALSE(editor.mFirmwareSending);
    }
}

TEST(Scheduler, AFactoryPresetStreamEndsWithAResetAndAnEmptyLibrary) {
    DeviceRig rig;
    ASSERT_TRUE(rig.Connect());
    ASSERT_TRUE(FileExists(rig.PresetFile(0)));
    Bytes stream;
    for (int slot = 0; slot < 2; ++slot) {
        Bytes write = devsim::BuildDump(0x7F, 0x0C, std::uint8_t(slot), devsim::DefaultPreset(9));
        stream.insert(stream.end(), write.begin(), write.end());
    }
    auto& editor = *rig.editor;
    std::copy(stream.begin(), stream.end(), editor.mStreamBuffer.begin());
    editor.mStreamIndex = 0;
    editor.mStreamCount = 2;
    editor.mStreamSending = editor.mBulkBeginPending = true;
    const std::size_t from = rig.sent.size();
    ASSERT_TRUE(
        rig.RunUntil([&] { return !editor.mStreamActive && editor.mStreamIndex == 2; }, 20));
    rig.Step();
    std::vector<std::string> trace;
    for (std::size_t i = from; i < from + 5 && i < rig.sent.size(); ++i)
        trace.push_back(Hex(rig.sent[i], 8));
    EXPECT_EQ(trace, (std::vector<std::string>{"F0 00 51 21 05 5A 0C F7", "F0 00 51 21 05 7F 0C 00",
                                               "F0 00 51 21 05 7F 0C 01", "F0 00 51 21 05 5B 0C F7",
                                               "F0 00 51 21 05 56 0C 01"}));
    EXPECT_EQ(editor.TagText(77), "100 %");
    EXPECT_FALSE(FileExists(rig.PresetFile(0))) << "the local library starts over";
}

TEST(Scheduler, ARestoreWaitingForItsDeviceLetsThePollFindIt) {
    DeviceRig rig;
    const Bytes dump = PresetReply(4, devsim::DefaultPreset(60));
    LoadBank(*rig.editor, dump, 1);
    ASSERT_TRUE(rig.Connect());
    ASSERT_TRUE(
        rig.RunUntil([&] { return rig.editor->mRestoreDone || !rig.editor->mRestoreActive; }, 40));
    EXPECT_EQ(rig.pedal.State().presets[4], devsim::DefaultPreset(60));
}

} // namespace
