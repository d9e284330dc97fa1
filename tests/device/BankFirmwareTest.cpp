#include "device/BankFormat.h"
#include "device/Packing.h"
#include "tests/device/DeviceRig.h"
#include "tests/devsim/SimFaults.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using namespace omnar::test;

using devsim::Concat;

Bytes PresetReply(int slot) {
    return devsim::BuildDump(0x41, 0x0C, std::uint8_t(slot), devsim::DefaultPreset(slot));
}

Bytes IRDump(int n, const devsim::IRImage& image = devsim::SyntheticFactoryIR(3)) {
    return Concat(devsim::BuildIRDump(n, image));
}

std::string Prompted(DeviceRig& rig, const std::string& path) {
    rig.editor->Panel().fileDialogAnswers.push_back(path);
    return path;
}

TEST(BankFormat, OnlyWholeDumpsAndIRTransfersMakeABank) {
    const Bytes ir = IRDump(5);
    Bytes badDump = PresetReply(1);
    badDump[100] ^= 1;
    Bytes badIR = ir;
    badIR[300] ^= 1;
    Bytes cut = PresetReply(0);
    cut.pop_back();
    Bytes highByte = PresetReply(2);
    highByte[50] = 0x90;
    const std::vector<Bytes> parts = devsim::BuildIRDump(5, devsim::SyntheticFactoryIR(3));
    std::vector<Bytes> swapped = parts;
    std::swap(swapped[1], swapped[0]);
    std::vector<Bytes> noLast(parts.begin(), parts.end() - 1);
    struct Case {
        const char* name;
        Bytes bank;
        std::optional<int> count;
    };
    const Case cases[] = {
        {"two dumps", Concat({PresetReply(0), PresetReply(1)}), 2},
        {"a dump and an IR", Concat({PresetReply(0), ir}), 1 + int(parts.size())},
        {"a blank IR", IRDump(9, devsim::BlankIRImage()), int(parts.size())},
        {"foreign SysEx", Concat({PresetReply(0), {0xF0, 0x7E, 0x00, 0x06, 0x01, 0xF7}}), {}},
        {"loader entry", Concat({PresetReply(0), {0xF0, 0x00, 0x51, 0x21, 0x04, 0x10, 0xF7}}), {}},
        {"cut message", cut, {}},
        {"bad dump check", badDump, {}},
        {"bad IR check", badIR, {}},
        {"parts out of order", Concat(swapped), {}},
        {"no last part", Concat(noLast), {}},
        {"a byte of 0x80 or more", highByte, {}},
        // Bytes the restore never reaches are padding, unless they start a message.
        {"trailing junk", Concat({PresetReply(0), {0x00, 0x13, 0xF7, 0x7F}}), 1},
        {"padded with zeros to 1 MiB",
         [] {
             Bytes bank = Concat({PresetReply(0), PresetReply(1)});
             bank.resize(1048576, 0x00);
             return bank;
         }(),
         2},
        {"a trailing message fragment", Concat({PresetReply(0), {0x00, 0xF0, 0x00, 0x51}}), {}},
        {"nothing but padding", Bytes(300, 0x00), {}},
        {"empty", {}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(omnar::CountBankMessages(c.bank), c.count) << c.name;
}

// What the box says about a refused bank: a damaged IR is named as such.
TEST(BankFile, ARefusedBankSaysWhy) {
    Bytes badIR = IRDump(5);
    badIR[300] ^= 1;
    struct Case {
        const char* name;
        Bytes bank;
        std::string box;
    };
    const Case cases[] = {
        {"a damaged IR dump", Concat({PresetReply(0), badIR}),
         "Damaged impulse response in the bank file."},
        {"over 1 MiB", Bytes(1048577, 0x00),
         "The file is too large: a bank file holds at most 1048576 bytes."},
        {"no messages", Bytes(10, 0x00), "Unknown file format."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeviceRig rig;
        ASSERT_TRUE(rig.Connect());
        const std::string path = rig.home.Folder() + "/bank.z3b";
        WriteFile(path, c.bank);
        Prompted(rig, path);
        rig.editor->OnHostRequestingMessage(5);
        const auto boxes = rig.MessageBoxes();
        ASSERT_EQ(boxes.size(), 2u);
        EXPECT_EQ(boxes[1], c.box);
        EXPECT_FALSE(rig.editor->mRestoreActive);
    }
}

TEST(BankFile, AMalformedBankArmsNothing) {
    DeviceRig rig;
    ASSERT_TRUE(rig.Connect());
    const std::string path = rig.home.Folder() + "/bad.z3b";
    WriteFile(path, Concat({PresetReply(0), {0xF0, 0x00, 0x51, 0x21, 0x04, 0x10, 0xF7}}));
    Prompted(rig, path);
    rig.editor->OnHostRequestingMessage(5);
    EXPECT_EQ(rig.MessageBoxes(),
              (std::vector<std::string>{"This operation will overwrite the current "
                                        "Presets!\nAre you sure to continue?",
                                        "Unknown file format."}));
    EXPECT_FALSE(rig.editor->mRestoreActive);
    EXPECT_EQ(rig.editor->mBankPath, path);
}

TEST(BankFile, SizeLimitAndRefusals) {
    struct Case {
        const char* name;
        std::size_t size; // 0: no file
        bool connected;
        bool cancel;
        std::vector<std::string> after; // boxes after the question
    };
    const Case cases[] = {
        {"exactly the limit is read", omnar::kBankFileMax, true, false, {"Unknown file format."}},
        {"one byte more is not, and says why",
         omnar::kBankFileMax + 1,
         true,
         false,
         {"The file is too large: a bank file holds at most 1048576 bytes."}},
        {"missing file", 0, true, false, {}},
        {"cancelled", 534, true, true, {}},
        {"no device", 534, false, false, {"Communication error!"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeviceRig rig;
        if (c.connected) {
            ASSERT_TRUE(rig.Connect());
        }
        const std::string path = rig.home.Folder() + "/bank.z3b";
        if (c.size == 534)
            WriteFile(path, Concat({PresetReply(0), PresetReply(1)}));
        else if (c.size)
            WriteFile(path, Bytes(c.size, 0x01));
        if (c.cancel)
            rig.editor->Panel().messageBoxAnswers.push_back(vx::ui::EMsgBoxResult::Cancel);
        Prompted(rig, path);
        rig.editor->OnHostRequestingMessage(5);
        std::vector<std::string> boxes = rig.MessageBoxes();
        ASSERT_FALSE(boxes.empty());
        boxes.erase(boxes.begin());
        EXPECT_EQ(boxes, c.after);
        EXPECT_FALSE(rig.editor->mRestoreActive);
        EXPECT_EQ(rig.editor->mBankPath, c.cancel ? "" : path);
    }
}

TEST(BankFile, TwoDumpsRestoreAsBulkBeginThenTwoWrites) {
    DeviceRig rig;
    ASSERT_TRUE(rig.Connect());
    const std::string path = rig.home.Folder() + "/two.z3b";
    WriteFile(path, Concat({PresetReply(4), PresetReply(5)}));
    Prompted(rig, path);
    rig.editor->OnHostRequestingMessage(5);
    EXPECT_EQ(rig.editor->mRestoreCount, 2);
    const std::size_t from = rig.sent.size();
    ASSERT_TRUE(rig.RunUntil([&] { return !rig.editor->mRestoreActive; }, 20));
    std::vector<int> commands;
    for (std::size_t i = from; i < rig.sent.size() && commands.size() < 4; ++i)
        commands.push_back(CommandOf(rig.sent[i]));
    EXPECT_EQ(commands, (std::vector<int>{0x055A, 0x057F, 0x057F, 0x055B}));

    // The chosen path is offered again by the next backup, cancelled here.
    rig.editor->Panel().fileDialogAnswers.clear();
    EXPECT_FALSE(rig.editor->ChooseBankExportPath());
    EXPECT_EQ(rig.editor->Panel().fileDialogStartNames.back(), path);
    EXPECT_EQ(rig.editor->mBankPath, path);
}

TEST(BankFile, BackupChangeRestoreGivesTheDeviceBack) {
    devsim::SimState state = devsim::FactoryState();
    state.presets[10][34 + 40] = 1; // IR A: 7
    state.presets[10][34 + 54] = 7;
    state.userIRs.resize(devsim::kUserIRCount);
    state.userIRs[7] = devsim::SyntheticFactoryIR(2);
    DeviceRig rig(true, state);
    ASSERT_TRUE(rig.Connect());
    const std::string path = Prompted(rig, rig.home.Folder() + "/full.z3b");
    rig.editor->OnHostRequestingMessage(6);
    ASSERT_TRUE(rig.editor->mBackupActive);
    ASSERT_TRUE(rig.RunUntil([&] { return !rig.editor->mBackupActive; }, 800));
    ASSERT_EQ(ReadFile(path).size(), 128u * 267u + IRDump(7).size());

    devsim::SimState& changed = rig.pedal.MutableState();
    changed.presets[3][2] = 'X';
    changed.presets[10][34 + 20] ^= 0x11;
    changed.userIRs[7] = devsim::BlankIRImage();

    Prompted(rig, path);
    rig.editor->OnHostRequestingMessage(5);
    ASSERT_TRUE(rig.editor->mRestoreActive);
    ASSERT_TRUE(rig.RunUntil([&] { return !rig.editor->mConnected; }, 400));
    EXPECT_EQ(rig.pedal.State().presets, state.presets);
    EXPECT_EQ(rig.pedal.State().userIRs[7], state.userIRs[7]);
    ASSERT_TRUE(rig.Connect()) << "found and synchronised again";
    EXPECT_EQ(ReadFile(rig.PresetFile(3)), Bytes(state.presets[3].begin(), state.presets[3].end()));
}

TEST(BankFile, FaultsDuringRestoreAndBackup) {
    struct Case {
        const char* name;
        const char* fault;
        bool backup;
    };
    const Case cases[] = {
        {"refused write", "nak:7F:5", false},
        {"disconnect mid-restore", "disconnect:7F:3", false},
        {"disconnect mid-backup", "disconnect:40:20", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeviceRig rig;
        ASSERT_TRUE(rig.Connect());
        const std::string path = rig.home.Folder() + "/kept.z3b";
        const Bytes old = Concat({PresetReply(0), PresetReply(1), PresetReply(2), PresetReply(3),
                                  PresetReply(4), PresetReply(5)});
        WriteFile(path, old);
        // Counted from the rig's start: the connection asked for a few dumps already.
        devsim::FaultRule rule = *devsim::ParseFaultRule(c.fault).rule;
        if (c.backup)
            rule.occurrence += int(rig.SentWithCommand(0x0540).size());
        rig.pedal.AddFault(rule);
        Prompted(rig, path);
        rig.editor->OnHostRequestingMessage(c.backup ? 6 : 5);
        ASSERT_TRUE(rig.RunUntil(
            [&] { return !rig.editor->mRestoreActive && !rig.editor->mBackupActive; }, 800));
        rig.Steps(2);
        const std::vector<std::string> boxes = rig.MessageBoxes();
        ASSERT_FALSE(boxes.empty());
        EXPECT_EQ(boxes.back(), "Communication error!");
        EXPECT_EQ(ReadFile(path), old) << "the older bank file is intact";
    }
}

TEST(Firmware, PackingSizesAndChecks) {
    struct Case {
        Bytes file;
        Bytes packed;
        std::array<std::uint8_t, 2> check;
    };
    const Case cases[] = {
        {{0xFF}, {0x7F, 0x40}, {0x01, 0x3F}},
        {Bytes(7, 0xFF), {0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x00}, {0x07, 0x78}},
    };
    for (const Case& c : cases) {
        const Bytes packed = omnar::Pack8To7(c.file);
        EXPECT_EQ(packed, c.packed);
        EXPECT_EQ(omnar::TransferCheck(packed), c.check);
    }
    EXPECT_EQ(omnar::PackFirmwareFile(Bytes(65535, 0xA5))->size(), 74898u);
    EXPECT_FALSE(omnar::PackFirmwareFile(Bytes(65536, 0xA5)));
    EXPECT_FALSE(omnar::PackFirmwareFile(Bytes(209, 0xA5)));
    EXPECT_EQ(omnar::PackFirmwareFile(Bytes(210, 0xA5))->size(), 241u);
}

TEST(Firmware, FilesOutsideTheLimitsAreRefusedWithABox) {
    struct Case {
        std::size_t size; // 0: an empty file; -1: no file
        bool sent;
        std::vector<std::string> boxes;
    };
    const std::string unknown = "Unknown file format.";
    for (const Case& c :
         {Case{65535, true, {}},
          {65536, false, {"The file is too large: a firmware file holds at most 65535 bytes."}},
          {209, false, {unknown}},
          {0, false, {unknown}},
          {std::size_t(-1), false, {}}}) {
        SCOPED_TRACE(c.size);
        DeviceRig rig;
        const std::string path = rig.home.Folder() + "/fw.bin";
        if (c.size != std::size_t(-1))
            WriteFile(path, Bytes(c.size, 0xFF));
        rig.editor->PrepareFirmwareTransfer(VxString(path.c_str()));
        EXPECT_EQ(rig.editor->mFirmwarePrepared, c.sent);
        EXPECT_EQ(rig.MessageBoxes(), c.boxes);
        rig.Steps(1);
        EXPECT_EQ(rig.SentWithCommand(0x0410).size(), c.sent ? 1u : 0u);
        if (c.sent) {
            EXPECT_EQ(rig.editor->mTransferSize, 74898);
            EXPECT_EQ(rig.editor->mTransferBuffer.size(), 74898u);
        }
    }
}

TEST(Firmware, AnImageArrivesBitExactAndTheRebootedDeviceIsFound) {
    DeviceRig rig;
    ASSERT_TRUE(rig.Connect());
    Bytes image(50000);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = std::uint8_t(i * 31 + (i >> 8));
    const std::string path = rig.home.Folder() + "/fw.bin";
    WriteFile(path, image);
    rig.editor->OnHostRequestingMessage(1);
    // The user reads the box while the rebooted pedal is found again.
    auto& panel = rig.editor->Panel();
    panel.messageBoxAnswersLater = true;
    rig.editor->PrepareFirmwareTransfer(VxString(path.c_str()));
    ASSERT_TRUE(rig.RunUntil([&] { return !rig.MessageBoxes().empty(); }, 400));
    EXPECT_EQ(rig.MessageBoxes(), std::vector<std::string>{"Firmware update finished."});
    EXPECT_EQ(rig.pedal.State().firmware, image);
    ASSERT_TRUE(rig.Connect(600)) << "the poll finds the rebooted device";
    ASSERT_TRUE(panel.AnswerMessageBox());
    for (const char* group : {"bcontrols", "bcontrolsa", "postbcontrolsb"})
        panel.ForEachControlInGroup(group, [&](vx::ui::IControl* control) {
            EXPECT_FALSE(control->IsDisabled()) << group << ": the front panel stayed disabled";
        });
    EXPECT_TRUE(panel.FindControlByTag(150)->IsHidden()) << "the firmware page closed";
}

TEST(Firmware, LoaderFaultsEndInAnError) {
    for (const char* fault : {"nak:L20", "drop:L10"}) {
        SCOPED_TRACE(fault);
        DeviceRig rig;
        ASSERT_TRUE(rig.Connect());
        rig.pedal.AddFault(*devsim::ParseFaultRule(fault).rule);
        const std::string path = rig.home.Folder() + "/fw.bin";
        WriteFile(path, Bytes(5000, 0x5A));
        rig.editor->PrepareFirmwareTransfer(VxString(path.c_str()));
        ASSERT_TRUE(rig.RunUntil([&] { return !rig.MessageBoxes().empty(); }, 200));
        EXPECT_EQ(rig.MessageBoxes(), std::vector<std::string>{"Error in update!"});
        EXPECT_FALSE(rig.editor->mFirmwarePrepared);
        EXPECT_FALSE(rig.editor->mConnected);
        EXPECT_TRUE(rig.editor->mPollEnabled);
    }
}

} // namespace
