#pragma once

// The device's transfers as a user starts them, and what every fault row
// checks afterwards: the connection's end in devsim's trace, the library
// whole, a clean quit. Shared by the fault and restart tests.

#include "tests/e2e/DeviceData.h"
#include "tests/e2e/UserActions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

namespace fs = std::filesystem;

inline constexpr auto kConnectWait = 15s;
inline constexpr auto kSyncWait = 60s;
inline constexpr auto kTransferWait = 120s;
inline constexpr auto kBoxWait = 10s;
inline constexpr int kSlots = 128;
inline constexpr std::uintmax_t kIRFileSize = 2436;

enum class Transfer { None, Sync, Backup, Restore, IRUpload, Firmware, Box };

inline bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Every slot but a quarter of them stale in the library: a sync long enough to
// be met in its middle.
inline std::vector<int> MostSlots() {
    std::vector<int> slots;
    for (int slot = 0; slot < kSlots; ++slot)
        if (slot % 4 != 3)
            slots.push_back(slot);
    return slots;
}

// A transfer met in its middle: the status row while the device was looked for.
struct MidTransfer {
    std::optional<PanelPixels> searching;
};

class FaultTest : public UserTest {
protected:
    // The pedal and the program started, the identity answered late so the
    // status row is seen searching before any device; then, but for a sync,
    // connected and the transfer begun; its `steps` first messages seen.
    void StartAndBegin(Transfer transfer, const char* slowing, int steps, MidTransfer& begun) {
        const bool sync = transfer == Transfer::Sync;
        std::vector<std::string> faults = {"delay=2000:55"};
        if (slowing)
            faults.push_back(slowing);
        ASSERT_NO_FATAL_FAILURE(Start(sync ? MostSlots() : std::vector<int>{}, faults));
        begun.searching = Grab(kStatusRow);
        ASSERT_TRUE(begun.searching);
        ASSERT_FALSE(Contains(Trace(), "SettingsDump type 0F")) << "found before the row was read";
        std::size_t mark = 0;
        if (sync) {
            ASSERT_TRUE(WaitForTrace(0, "SettingsDump type 0F", kConnectWait));
        } else {
            ASSERT_NO_FATAL_FAILURE(WaitForIdleConnection(0, kSyncWait));
            mark = Trace().size();
            ASSERT_NO_FATAL_FAILURE(BeginTransfer(transfer));
        }
        if (steps > 0) {
            ASSERT_TRUE(WaitForTrace(mark, Step(transfer), kTransferWait, steps))
                << "the transfer did not get going";
        }
    }

    fs::path StateDir() const { return mDir / "state"; }
    fs::path DataFolder() const { return PresetsFolder().parent_path(); }
    // In the home folder, where every chooser opens: a name is typed, not a path.
    fs::path BankFile() const { return mHome->Home() / "bank.z3b"; }
    fs::path RestoreFile() const { return mHome->Home() / "restore.z3b"; }
    fs::path FirmwareFile() const { return mHome->Home() / "firmware.bin"; }
    fs::path WavFile() const { return mHome->Home() / "Test Cab.wav"; }

    // The pedal and the library seeded, devsim and the program started.
    void Start(const std::vector<int>& stale, const std::vector<std::string>& faults = {}) {
        ASSERT_NO_FATAL_FAILURE(SeedPedalAndLibrary(StateDir(), PresetsFolder(), stale));
        ASSERT_NO_FATAL_FAILURE(StartDevice(faults));
        ASSERT_NO_FATAL_FAILURE(StartProgram());
    }

    // The connection's exchange ends with BulkEnd and the current preset's dump.
    void WaitForIdleConnection(std::size_t since, std::chrono::milliseconds timeout) {
        ASSERT_TRUE(WaitForTrace(since, "SettingsDump type 0F", kConnectWait))
            << "the device was not found within 15 s";
        ASSERT_TRUE(WaitUntil(
            [&] {
                const std::string trace = TraceSince(since);
                const auto end = trace.find("BulkEnd");
                return end != std::string::npos &&
                       Contains(trace.substr(end), "PresetDump reply slot");
            },
            timeout))
            << "the connection's exchange did not end within " << timeout.count() << " ms";
    }

    // Starts the transfer through the menus and dialogs, as a user does.
    void BeginTransfer(Transfer transfer) {
        switch (transfer) {
        case Transfer::Backup:
            ASSERT_NO_FATAL_FAILURE(MenuCommand("d", "b"));
            ASSERT_TRUE(ChooseFile(BankFile()));
            break;
        case Transfer::Restore:
            WriteRenamedBank(RestoreFile());
            ASSERT_NO_FATAL_FAILURE(BeginBox());
            ASSERT_TRUE(AnswerBox());
            ASSERT_TRUE(ChooseFile(RestoreFile()));
            break;
        case Transfer::IRUpload:
            // Into slot 7's user response, the way the files' scenario imports it.
            WriteCabinetWav(WavFile(), 3000);
            ASSERT_TRUE(ChooseSlot7UserResponse());
            ClickPanel(kSlot7Import);
            ASSERT_TRUE(ChooseFile(WavFile()));
            break;
        case Transfer::Firmware:
            WriteFirmware(FirmwareFile(), 4000);
            ASSERT_NO_FATAL_FAILURE(MenuCommand("d", "u"));
            // The firmware page's UPDATE FIRMWARE button.
            ClickPanel(kUpdateFirmware);
            ASSERT_TRUE(ChooseFile(FirmwareFile()));
            break;
        case Transfer::Box:
            ASSERT_NO_FATAL_FAILURE(BeginBox());
            break;
        case Transfer::None:
        case Transfer::Sync:
            break;
        }
    }

    // Device > Restore Bank... asks first.
    void BeginBox() {
        const std::size_t mark = StderrMark();
        ASSERT_NO_FATAL_FAILURE(MenuCommand("d", "s"));
        ASSERT_TRUE(
            WaitForAlert(mark, kBoxWait, "This operation will overwrite the current Presets!"))
            << "Restore Bank... asked nothing";
    }

    // The transfer's own messages in the trace, one per request or part.
    static const char* Step(Transfer transfer) {
        switch (transfer) {
        case Transfer::Sync:
        case Transfer::Backup:
            return "PresetDumpRequest";
        case Transfer::Restore:
            return "PresetWrite";
        case Transfer::IRUpload:
            return "IRDump first";
        case Transfer::Firmware:
            return "FirmwareChunk";
        default:
            return "";
        }
    }

    void ExpectLibraryWhole() {
        int whole = 0;
        std::error_code ignored;
        for (const auto& entry : fs::directory_iterator(PresetsFolder(), ignored))
            whole += entry.path().extension() == ".dat" && fs::file_size(entry.path()) == 256;
        EXPECT_EQ(whole, kSlots) << "preset files of 256 bytes";
        for (const auto& entry : fs::directory_iterator(DataFolder() / "User IRs", ignored))
            EXPECT_EQ(fs::file_size(entry.path()), kIRFileSize) << entry.path();
        EXPECT_EQ(LeftTemporaries(DataFolder()), std::vector<std::string>{});
        EXPECT_EQ(LeftTemporaries(BankFile().parent_path()), std::vector<std::string>{});
    }

    // Ctrl+Q ends the program with 0; devsim, stopped, saves the pedal.
    void QuitAndStopPedal() {
        Keys("ctrl+q");
        EXPECT_EQ(WaitForExit(kExitWait), 0) << "Ctrl+Q did not end the program with 0";
        EXPECT_EQ(mSim->Stop(kExitWait), 0) << "devsim did not save the pedal";
    }
};

} // namespace e2e
