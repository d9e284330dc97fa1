#include "framework/host/HostSettings.h"
#include "tests/e2e/FaultFixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

// The pedal's own life: switched off (devsim killed with SIGKILL, its ports
// gone) and on again under the same name and memory, idle or in the middle of
// a transfer, and switched on only after the program started. Each time the
// program finds it again by itself, fetches only what its library lacks and
// keeps the MIDI port names the user chose.
namespace e2e {
namespace {

// From the pedal's ready line to its identity reply.
constexpr auto kFoundAgain = 10s;
// From the pedal's end to the program's noticing it: the server drops a
// client that died without closing after its client timeout (5 s).
constexpr auto kNoticed = 30s;

class PedalLife : public FaultTest {
protected:
    // A synchronous server would stall for ten client timeouts per client
    // killed; nothing here needs its lossless cycles.
    PedalLife() { mClientWait = devsim::test::JackClientWait::Asynchronous; }

    std::pair<std::string, std::string> MidiNames() const {
        const host::HostSettings settings = host::ReadHostSettings(SettingsPath());
        return {settings.midiInput, settings.midiOutput};
    }

    // The pedal back, or on for the first time: found within 10 s with no
    // user action, only the stale slots and the current preset fetched, and
    // the status row showing it.
    void ExpectFoundWithOnly(const std::vector<int>& stale, const PanelPixels& searching) {
        ASSERT_NO_FATAL_FAILURE(LaunchDevice());
        ASSERT_TRUE(WaitForTrace(0, "SettingsDump type 0F", kFoundAgain))
            << "the pedal was not found within 10 s of its start";
        ASSERT_NO_FATAL_FAILURE(WaitForIdleConnection(0, kSyncWait));
        // A request the watchdog repeats counts once.
        std::set<int> asked;
        const std::string trace = Trace();
        const std::string request = "PresetDumpRequest ";
        for (auto at = trace.find(request); at != std::string::npos;
             at = trace.find(request, at + 1))
            asked.insert(std::atoi(trace.c_str() + at + request.size()));
        std::set<int> others = asked;
        for (const int slot : stale) {
            EXPECT_EQ(others.erase(slot), 1u) << "stale slot " << slot << " was not fetched";
        }
        EXPECT_LE(others.size(), 1u) << "more fetched than the stale slots and the current preset";
        EXPECT_TRUE(WaitUntil(
            [&] {
                const auto row = Grab(kStatusRow);
                return row && row->DifferenceFrom(searching) > 0.0;
            },
            10s))
            << "the status row did not show the device within 10 s";
    }
};

struct RestartCase {
    const char* name;
    Transfer transfer;
    int stepsBeforeKill;
    // The box that tells the user the transfer ended, or nothing.
    const char* message;
    // A pedal fault that holds the transfer long enough to be met in its middle.
    const char* slowing = nullptr;
};

class PedalRestarted : public PedalLife, public ::testing::WithParamInterface<RestartCase> {};

TEST_P(PedalRestarted, IsFoundAgainWithNoUserAction) {
    const RestartCase& c = GetParam();
    MidTransfer begun;
    ASSERT_NO_FATAL_FAILURE(StartAndBegin(c.transfer, c.slowing, c.stepsBeforeKill, begun));
    const std::optional<PanelPixels>& searching = begun.searching;
    const auto names = MidiNames();

    const std::size_t killed = StderrMark();
    mSim->Kill();
    if (c.message) {
        EXPECT_TRUE(WaitForAlert(killed, kNoticed, c.message))
            << "no \"" << c.message << "\" within 30 s of the pedal's end";
        ASSERT_TRUE(AnswerBox());
    }
    ASSERT_TRUE(WaitUntil(
        [&] {
            const auto row = Grab(kStatusRow);
            return row && row->DifferenceFrom(*searching) < 0.01;
        },
        kNoticed))
        << "the status row did not go back to searching within 30 s of the pedal's end";
    Shot("pedal-off");
    // What the library lacks now is all a new connection may fetch.
    const std::vector<int> stale = SlotsDiffering(StateDir(), PresetsFolder());
    ASSERT_NO_FATAL_FAILURE(ExpectFoundWithOnly(stale, *searching));
    Shot("pedal-back");
    EXPECT_EQ(MidiNames(), names) << "settings.ini's MIDI ports changed";
    ASSERT_NO_FATAL_FAILURE(QuitAndStopPedal());
    EXPECT_EQ(SlotsDiffering(StateDir(), PresetsFolder()), std::vector<int>{});
    ExpectLibraryWhole();
    EXPECT_EQ(MidiNames(), names) << "settings.ini's MIDI ports changed at the quit";
}

INSTANTIATE_TEST_SUITE_P(, PedalRestarted,
                         ::testing::Values(RestartCase{"Idle", Transfer::None, 0, nullptr},
                                           RestartCase{"MidSync", Transfer::Sync, 8, nullptr},
                                           RestartCase{"MidBackup", Transfer::Backup, 10,
                                                       "Communication error!"},
                                           // The pedal's readiness for the rest comes 2 s late, so
                                           // the end meets the upload after its first part.
                                           RestartCase{"MidIRUpload", Transfer::IRUpload, 1,
                                                       "Communication error!", "delay=2000:60"}),
                         [](const auto& info) { return std::string(info.param.name); });

// The program first, its stored ports not there yet: it keeps them, says it
// is looking, and connects once the pedal is switched on.
TEST_F(PedalLife, StartedBeforeThePedalConnectsOnceItIsOn) {
    const std::vector<int> stale = {5, 77};
    ASSERT_NO_FATAL_FAILURE(SeedPedalAndLibrary(StateDir(), PresetsFolder(), stale));
    WriteSettings("[midi]\nindev=" + SimOutPort() + "\noutdev=" + SimInPort() + "\n");
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    const auto searching = Grab(kStatusRow);
    ASSERT_TRUE(searching);
    const std::pair<std::string, std::string> names = {SimOutPort(), SimInPort()};
    EXPECT_EQ(MidiNames(), names) << "the missing ports were not kept";
    Shot("before-the-pedal");
    ASSERT_NO_FATAL_FAILURE(ExpectFoundWithOnly(stale, *searching));
    Shot("pedal-on");
    EXPECT_EQ(MidiNames(), names);
    ASSERT_NO_FATAL_FAILURE(QuitAndStopPedal());
    EXPECT_EQ(SlotsDiffering(StateDir(), PresetsFolder()), std::vector<int>{});
    ExpectLibraryWhole();
    EXPECT_EQ(MidiNames(), names) << "settings.ini's MIDI ports changed at the quit";
}

} // namespace
} // namespace e2e
