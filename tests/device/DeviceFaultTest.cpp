#include "device/Packing.h"
#include "device/TransferMessages.h"
#include "tests/device/DeviceRig.h"
#include "tests/devsim/SimFaults.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>

namespace {

using namespace omnar::test;
namespace fs = std::filesystem;

using Library = std::map<std::string, Bytes>;

Library Snapshot(const std::string& folder) {
    Library files;
    if (!fs::exists(folder))
        return files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files[entry.path().string()] = ReadFile(entry.path().string());
    return files;
}

// Every library file written since `before` holds what the pedal holds.
void ExpectOnlyVerifiedWrites(DeviceRig& rig, const Library& before) {
    const auto& state = rig.pedal.State();
    for (const auto& [path, bytes] : Snapshot(rig.home.Folder() + "/OmnarControl")) {
        const auto old = before.find(path);
        if (old != before.end() && old->second == bytes)
            continue;
        const fs::path file(path);
        const int number = std::stoi(file.stem().string()) - 1;
        const std::string folder = file.parent_path().filename().string();
        if (folder == "Presets") {
            const auto& preset = state.presets[std::size_t(number)];
            EXPECT_EQ(bytes, Bytes(preset.begin(), preset.end())) << path;
        } else if (folder == "User IRs") {
            const auto& ir = state.userIRs[std::size_t(number)];
            ASSERT_TRUE(ir.has_value()) << path;
            EXPECT_EQ(bytes, Bytes(ir->begin(), ir->end())) << path;
        } else {
            ADD_FAILURE() << "unexpected write " << path;
        }
    }
}

struct Scenario {
    const char* name;
    const char* command; // the command the fault hits, counted from the scenario's start
    int occurrence;
    bool connectFirst;
    std::function<void(DeviceRig&)> start;
    std::function<bool(DeviceRig&)> transferred;
};

constexpr int kIRFetched = 3;
constexpr int kIRUploaded = 21;

Bytes FirmwareImage() {
    Bytes image(1500);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = std::uint8_t(i * 7);
    return image;
}

std::string BackupPath(DeviceRig& rig) {
    return rig.home.Folder() + "/backup.z3b";
}

const std::vector<Scenario>& Scenarios() {
    static const std::vector<Scenario> scenarios = {
        {"sync", "40", 3, false, [](DeviceRig&) {},
         [](DeviceRig& rig) {
             for (int slot = 0; slot < 128; ++slot) {
                 const auto& preset = rig.pedal.State().presets[std::size_t(slot)];
                 if (ReadFile(rig.PresetFile(slot)) != Bytes(preset.begin(), preset.end()))
                     return false;
             }
             return true;
         }},
        {"IR fetch", "69", 1, true,
         [](DeviceRig& rig) {
             auto& state = rig.pedal.MutableState();
             state.userIRs[kIRFetched] = devsim::SyntheticFactoryIR(3);
             state.presets[40][34 + 40] = 1;
             state.presets[40][34 + 54] = kIRFetched;
             rig.editor->SendPresetSelect(40);
         },
         [](DeviceRig& rig) { return FileExists(rig.home.UserIRFolder() + "004.dat"); }},
        {"IR upload", "60", 1, true,
         [](DeviceRig& rig) {
             rig.editor->mIRUploadSlot = kIRUploaded;
             OmnarControl::Name name{};
             rig.editor->NormalizeAndPackIR(name, kIRUploaded, true);
         },
         [](DeviceRig& rig) {
             const auto& ir = rig.pedal.State().userIRs[kIRUploaded];
             return ir &&
                    ReadFile(rig.home.UserIRFolder() + "022.dat") == Bytes(ir->begin(), ir->end());
         }},
        {"backup", "40", 5, true,
         [](DeviceRig& rig) {
             rig.editor->mBankExportPath = VxString(BackupPath(rig).c_str());
             rig.editor->mBackupActive = rig.editor->mBackupReady = true;
         },
         [](DeviceRig& rig) { return ReadFile(BackupPath(rig)).size() == 128u * 267u; }},
        {"restore", "7F", 2, true,
         [](DeviceRig& rig) {
             Bytes bank;
             for (int slot = 0; slot < 3; ++slot) {
                 devsim::PresetImage image = devsim::DefaultPreset(slot);
                 image[2] = 'R';
                 const Bytes dump = devsim::BuildDump(0x41, 0x0C, std::uint8_t(slot), image);
                 bank.insert(bank.end(), dump.begin(), dump.end());
             }
             auto& editor = *rig.editor;
             std::copy(bank.begin(), bank.end(), editor.mBankBuffer.begin());
             editor.mBankLength = int(bank.size());
             editor.mRestoreIndex = 0;
             editor.mRestoreCount = 3;
             editor.mRestoreActive = editor.mRestoreReady = editor.mBulkBeginPending = true;
         },
         [](DeviceRig& rig) {
             for (int slot = 0; slot < 3; ++slot)
                 if (rig.pedal.State().presets[std::size_t(slot)][2] != 'R')
                     return false;
             return true;
         }},
        {"firmware", "L20", 3, true,
         [](DeviceRig& rig) {
             const Bytes packed = omnar::Pack8To7(FirmwareImage());
             auto& editor = *rig.editor;
             std::copy(packed.begin(), packed.end(), editor.mTransferBuffer.begin());
             editor.mTransferSize = editor.mTransferRemaining = int(packed.size());
             editor.mTransferPos = 0;
             const auto check = omnar::TransferCheck(packed);
             editor.mTransferCheckHi = check[0];
             editor.mTransferCheckLo = check[1];
             editor.mFirmwarePrepared = true;
             editor.SendSysEx(omnar::BuildFirmwareEnter().View());
         },
         [](DeviceRig& rig) { return rig.pedal.State().firmware == FirmwareImage(); }},
    };
    return scenarios;
}

struct Outcome {
    const char* scenario;
    const char* fault; // KIND, with the scenario's command and occurrence added
    bool transferred;
    bool connected;
    std::vector<std::string> boxes;
};

using Boxes = std::vector<std::string>;
const Boxes kNone;
const Boxes kDone{"Finished successfully!"};
const Boxes kCommError{"Communication error!"};
const Boxes kFirmwareDone{"Firmware update finished."};
const Boxes kFirmwareError{"Error in update!"};

// Within the deadline a delay is 1 s; past it, 6 s. Preset and IR dump
// requests have no refusal; only their replies carry check bytes to spoil. A device found gone is
// found again by the poll and resynchronised, which fetches a lost IR once more.
const Outcome kOutcomes[] = {
    {"sync", "drop", true, true, kNone},
    {"sync", "corrupt", true, true, kNone},
    {"sync", "delay=1000", true, true, kNone},
    {"sync", "delay=6000", true, true, kNone},
    {"sync", "disconnect", false, false, kNone},
    {"IR fetch", "drop", true, true, kNone},
    {"IR fetch", "corrupt", true, true, kNone}, // asked for once more
    {"IR fetch", "delay=1000", true, true, kNone},
    {"IR fetch", "delay=6000", true, true, kNone},
    {"IR fetch", "disconnect", false, false, kNone},
    {"IR upload", "drop", false, false, kCommError},
    {"IR upload", "nak", false, true, {"ERROR!"}},
    {"IR upload", "delay=1000", true, true, kNone},
    {"IR upload", "delay=6000", false, false, kCommError},
    {"IR upload", "disconnect", false, false, kCommError},
    {"backup", "drop", true, true, kDone},
    {"backup", "corrupt", true, true, kDone},
    {"backup", "delay=1000", true, true, kDone},
    {"backup", "delay=6000", true, true, kDone},
    {"backup", "disconnect", false, false, kCommError},
    {"restore", "drop", false, false, kCommError},
    {"restore", "nak", false, true, kCommError},
    {"restore", "delay=1000", true, true, kDone},
    {"restore", "delay=6000", false, false, kCommError},
    {"restore", "disconnect", false, false, kCommError},
    {"firmware", "drop", false, false, kFirmwareError},
    {"firmware", "nak", false, false, kFirmwareError},
    {"firmware", "delay=1000", true, true, kFirmwareDone},
    {"firmware", "delay=6000", true, true, kFirmwareDone},
    {"firmware", "disconnect", false, false, kFirmwareError},
};

TEST(DeviceFaults, EachTransferMeetsEachFaultWithItsMessageAndItsLibraryIntact) {
    for (const Outcome& o : kOutcomes) {
        const auto scenario =
            std::find_if(Scenarios().begin(), Scenarios().end(),
                         [&](const Scenario& s) { return o.scenario == std::string(s.name); });
        ASSERT_NE(scenario, Scenarios().end());
        SCOPED_TRACE(std::string(o.scenario) + " / " + o.fault);
        DeviceRig rig;
        if (scenario->connectFirst) {
            ASSERT_TRUE(rig.Connect());
        }
        const auto key = devsim::ParseCommandName(scenario->command);
        int earlier = 0;
        for (const Bytes& m : rig.sent)
            earlier += (m[4] == key->group && m[5] == key->command) ? 1 : 0;
        const std::string rule = std::string(o.fault) + ":" + scenario->command + ":" +
                                 std::to_string(earlier + scenario->occurrence);
        const devsim::FaultParse parsed = devsim::ParseFaultRule(rule);
        ASSERT_TRUE(parsed.rule) << parsed.error;
        rig.pedal.AddFault(*parsed.rule);
        scenario->start(rig);
        const Library before = Snapshot(rig.home.Folder() + "/OmnarControl");
        rig.editor->Panel().ClearCalls();
        rig.Steps(250);

        EXPECT_EQ(scenario->transferred(rig), o.transferred);
        EXPECT_EQ(rig.MessageBoxes(), o.boxes);
        // A lost device is looked for again; a firmware update always ends that way.
        const bool lookingAgain = !o.connected;
        if (lookingAgain && !rig.pedal.Disconnected() && !rig.pedal.State().loaderActive) {
            EXPECT_TRUE(rig.editor->mConnected) << "found again by the poll";
        } else {
            EXPECT_EQ(rig.editor->mConnected, o.connected);
        }
        if (!rig.editor->mConnected && std::string(o.scenario) != "firmware") {
            EXPECT_EQ(rig.editor->TagText(152), "Connecting to the device...");
        }
        ExpectOnlyVerifiedWrites(rig, before);
        if (std::string(o.scenario) == "firmware") {
            EXPECT_TRUE(rig.editor->Panel().FindControlByTag(150)->IsHidden()) << "page closed";
            EXPECT_TRUE(rig.editor->mPollEnabled);
        }
        if (std::string(o.scenario) == "restore" && !rig.pedal.Disconnected()) {
            EXPECT_FALSE(rig.pedal.State().bulkOpen) << "the pedal was left in bulk mode";
        }
        if (std::string(o.scenario) == "backup" && !o.transferred) {
            EXPECT_FALSE(FileExists(BackupPath(rig)));
        }
    }
}

} // namespace
