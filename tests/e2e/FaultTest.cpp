#include "tests/e2e/FaultFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// Faults met in the middle of the device's transfers: a cable pulled and
// plugged back, the JACK server killed, a quit mid-transfer or over a box, the
// pedal's own faults. Where the sync is not the subject, the library starts
// equal to the pedal, so a connection fetches no slot.
namespace e2e {
namespace {

// ---- A cable pulled mid-transfer, and plugged back ----

struct PulledCase {
    const char* name;
    Transfer transfer;
    int stepsBeforePull;
    // The box that tells the user, or nothing: the status row tells it.
    const char* message;
    // From the pull to the message: the deadline, or for firmware the rest of
    // the image, which leaves one chunk a tick whatever answers, then the loader's.
    std::chrono::seconds messageWithin;
    // A pedal fault that holds the transfer long enough to be met in its
    // middle, or nothing.
    const char* slowing = nullptr;
};

class CablePulled : public FaultTest, public ::testing::WithParamInterface<PulledCase> {};

TEST_P(CablePulled, TellsTheUserKeepsTheLibraryAndRecovers) {
    const PulledCase& c = GetParam();
    MidTransfer begun;
    ASSERT_NO_FATAL_FAILURE(StartAndBegin(c.transfer, c.slowing, c.stepsBeforePull, begun));
    const std::optional<PanelPixels>& searching = begun.searching;
    const auto found = Grab(kStatusRow);
    ASSERT_TRUE(found);
    EXPECT_GT(found->DifferenceFrom(*searching), 0.0) << "the status row did not change when found";

    const std::size_t pulled = StderrMark();
    ASSERT_NO_FATAL_FAILURE(Cables(false));
    if (c.message) {
        EXPECT_TRUE(WaitForAlert(pulled, c.messageWithin, c.message))
            << "no \"" << c.message << "\" within " << c.messageWithin.count() << " s of the pull";
        ASSERT_NO_FATAL_FAILURE(ShotOfBox("unplugged"));
        ASSERT_TRUE(AnswerBox());
    } else {
        EXPECT_TRUE(WaitUntil(
            [&] {
                const auto row = Grab(kStatusRow);
                return row && row->DifferenceFrom(*searching) < 0.01;
            },
            c.messageWithin))
            << "the status row did not go back to searching within " << c.messageWithin.count()
            << " s of the pull";
        Shot("unplugged");
    }
    ASSERT_NO_FATAL_FAILURE(ExpectAboutOpens());
    ExpectLibraryWhole();
    if (c.transfer == Transfer::Backup) {
        EXPECT_FALSE(fs::exists(BankFile())) << "a backup cut short was written";
    }
    if (c.transfer == Transfer::IRUpload) {
        EXPECT_TRUE(fs::exists(DataFolder() / "User IRs" / "001.dat"))
            << "the imported response left the library with the upload";
    }

    const std::size_t plugged = Trace().size();
    ASSERT_NO_FATAL_FAILURE(Cables(true));
    if (c.transfer == Transfer::Firmware) {
        // The pedal waits in its loader for the rest; the update, run again, ends it.
        ASSERT_TRUE(WaitForTrace(plugged, "the loader is running", kConnectWait))
            << "the editor did not look for the device";
        const std::size_t again = StderrMark();
        ASSERT_NO_FATAL_FAILURE(BeginTransfer(Transfer::Firmware));
        EXPECT_TRUE(WaitForAlert(again, kTransferWait, "Firmware update finished."));
        ASSERT_TRUE(AnswerBox());
    }
    ASSERT_NO_FATAL_FAILURE(WaitForIdleConnection(plugged, kSyncWait));
    Shot("plugged-back");
    ASSERT_NO_FATAL_FAILURE(QuitAndStopPedal());
    // The slots the pedal changed (a restore cut short), or the sync left, fetched.
    EXPECT_EQ(SlotsDiffering(StateDir(), PresetsFolder()), std::vector<int>{});
    ExpectLibraryWhole();
}

INSTANTIATE_TEST_SUITE_P(
    Mid, CablePulled,
    ::testing::Values(PulledCase{"Sync", Transfer::Sync, 8, nullptr, 10s},
                      PulledCase{"Backup", Transfer::Backup, 10, "Communication error!", 10s},
                      PulledCase{"Restore", Transfer::Restore, 10, "Communication error!", 10s},
                      // The pedal's readiness for the rest comes 2 s late, so
                      // the pull meets the upload after its first part.
                      PulledCase{"IRUpload", Transfer::IRUpload, 1, "Communication error!", 10s,
                                 "delay=2000:60"},
                      PulledCase{"Firmware", Transfer::Firmware, 6, "Error in update!", 30s}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Quitting mid-transfer or over a box; the JACK server dying ----

struct QuitCase {
    const char* name;
    Transfer transfer;
    bool killServer;
};

class Quit : public FaultTest, public ::testing::WithParamInterface<QuitCase> {};

TEST_P(Quit, EndsWithZeroWritesSettingsAndLeavesNoPartialFile) {
    const QuitCase& c = GetParam();
    const bool sync = c.transfer == Transfer::Sync;
    ASSERT_NO_FATAL_FAILURE(Start(sync ? MostSlots() : std::vector<int>{}));
    if (!sync) {
        ASSERT_NO_FATAL_FAILURE(WaitForIdleConnection(0, kSyncWait));
    }
    const std::size_t begun = Trace().size();
    ASSERT_NO_FATAL_FAILURE(BeginTransfer(c.transfer));
    if (c.transfer == Transfer::Sync || c.transfer == Transfer::Backup) {
        ASSERT_TRUE(WaitForTrace(begun, Step(c.transfer), kTransferWait, 8));
    }
    if (c.killServer) {
        mSim->Stop(5s);
        mServer->Stop(5s);
        Shot("server-gone");
    }
    Keys("ctrl+q");
    EXPECT_EQ(WaitForExit(kExitWait), 0) << "Ctrl+Q did not end the program with 0";
    EXPECT_TRUE(Contains(SettingsText(), "scale=")) << SettingsText();
    EXPECT_FALSE(fs::exists(BankFile())) << "a backup cut short was written";
    ExpectLibraryWhole();
    if (!c.killServer) {
        EXPECT_TRUE(Contains(Trace(), "EditorClosed")) << "the device was not told";
    }
}

INSTANTIATE_TEST_SUITE_P(, Quit,
                         ::testing::Values(QuitCase{"MidSync", Transfer::Sync, false},
                                           QuitCase{"MidBackup", Transfer::Backup, false},
                                           QuitCase{"OverABox", Transfer::Box, false},
                                           QuitCase{"ServerKilledWhileIdle", Transfer::None, true},
                                           QuitCase{"ServerKilledMidBackup", Transfer::Backup,
                                                    true}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- The pedal's own faults ----

// Each row: one transfer while devsim spoils a few of its requests; the
// connection's own current-preset request is the first 40.
struct PedalCase {
    const char* name;
    Transfer transfer;
    std::vector<std::string> faults;
    const char* message; // the box that ends it, or nothing
};

class PedalFault : public FaultTest, public ::testing::WithParamInterface<PedalCase> {};

TEST_P(PedalFault, GivesTheMessageAndKeepsTheLibrary) {
    const PedalCase& c = GetParam();
    const bool sync = c.transfer == Transfer::Sync;
    ASSERT_NO_FATAL_FAILURE(Start(sync ? MostSlots() : std::vector<int>{}, c.faults));
    ASSERT_NO_FATAL_FAILURE(WaitForIdleConnection(0, kSyncWait));
    const std::size_t begun = StderrMark();
    ASSERT_NO_FATAL_FAILURE(BeginTransfer(c.transfer));
    if (c.message) {
        EXPECT_TRUE(WaitForAlert(begun, kTransferWait, c.message)) << "no \"" << c.message << "\"";
        ASSERT_NO_FATAL_FAILURE(ShotOfBox("message"));
        ASSERT_TRUE(AnswerBox());
    }
    // A delay leaves no note in the trace; the other kinds do.
    const auto noted = std::count_if(c.faults.begin(), c.faults.end(),
                                     [](const std::string& f) { return f.rfind("delay", 0) != 0; });
    EXPECT_EQ(Count(Trace(), "(fault)"), noted) << "not every fault struck";
    if (c.transfer == Transfer::Backup) {
        // Every preset once, each as the pedal holds it, check bytes and all.
        const fs::path expected = mDir / "expected.z3b";
        WriteFactoryBank(expected);
        const std::string bank = ReadFile(BankFile());
        EXPECT_TRUE(bank == ReadFile(expected))
            << "the bank file is not the pedal's 128 presets (" << bank.size() << " bytes)";
    }
    ASSERT_NO_FATAL_FAILURE(QuitAndStopPedal());
    if (c.transfer != Transfer::Restore) {
        EXPECT_EQ(SlotsDiffering(StateDir(), PresetsFolder()), std::vector<int>{});
    }
    ExpectLibraryWhole();
}

INSTANTIATE_TEST_SUITE_P(
    , PedalFault,
    ::testing::Values(
        // A spoilt dump is asked for again, a lost one after the watchdog, a
        // late one arrives after the watchdog asked again.
        PedalCase{
            "Sync", Transfer::Sync, {"corrupt:40:3", "drop:40:8", "delay=1500:40:14"}, nullptr},
        PedalCase{"Backup",
                  Transfer::Backup,
                  {"corrupt:40:10", "drop:40:20", "delay=1500:40:30"},
                  "Finished successfully!"},
        // A dump request has no refusal; the restore's write has.
        PedalCase{"RestoreRefused", Transfer::Restore, {"nak:7F:10"}, "Communication error!"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace e2e
