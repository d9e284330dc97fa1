// devsim on real JACK MIDI ports: a private JACK server with the dummy driver,
// the simulator, and this test as the editor's stand-in.

#include "tests/devsim/GoldenVectors.h"
#include "tests/devsim/JackServerFixture.h"

#include <RtMidi.h>
#include <gtest/gtest.h>
#include <jack/jack.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <sstream>
#include <thread>

using namespace devsim::test;
using namespace std::chrono_literals;

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

template <class Port>
std::optional<unsigned> FindPort(Port& port, const std::string& fullName) {
    for (unsigned i = 0; i < port.getPortCount(); ++i) {
        if (port.getPortName(i) == fullName) {
            return i;
        }
    }
    return std::nullopt;
}

std::string FileText(const fs::path& path) {
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

using JackSmoke = JackServerTest;

} // namespace

TEST_F(JackSmoke, IdentityRequestOverJackGetsTheGoldenReply) {
    ASSERT_NO_FATAL_FAILURE(StartServer());
    const std::string name = mServerName + "-sim";
    const fs::path stateDir = mDir / "state";
    const fs::path logPath = mDir / "devsim.log";
    ASSERT_NO_FATAL_FAILURE(
        StartDevsim({"--name", name, "--state", stateDir.string(), "--log", logPath.string()}));
    const auto ready = mSim->ReadLine(10s);
    ASSERT_TRUE(ready) << "no ready line within 10 s";
    EXPECT_EQ(*ready, "devsim ready: in " + name + "-in:midi_in out " + name + "-out:midi_out");

    {
        // Closed before TearDown stops the server.
        RtMidiIn fromSim(RtMidi::UNIX_JACK, mServerName + "-test-in");
        RtMidiOut toSim(RtMidi::UNIX_JACK, mServerName + "-test-out");
        fromSim.ignoreTypes(false, true, true);
        const auto simOut = FindPort(fromSim, name + "-out:midi_out");
        const auto simIn = FindPort(toSim, name + "-in:midi_in");
        ASSERT_TRUE(simOut && simIn);
        fromSim.openPort(*simOut, "from_sim");
        toSim.openPort(*simIn, "to_sim");
        // A loaded machine makes the dummy driver overrun, and JACK drops the
        // MIDI of an overrun cycle; the editor retries, so the test does too.
        // Replies to earlier tries are drained before each new one.
        const auto exchange = [&](std::initializer_list<std::span<const unsigned char>> sent) {
            std::vector<unsigned char> reply;
            for (int attempt = 0; attempt < 5 && reply.empty(); ++attempt) {
                do {
                    fromSim.getMessage(&reply);
                } while (!reply.empty());
                for (const auto message : sent) {
                    toSim.sendMessage(message.data(), message.size());
                }
                const auto deadline = Clock::now() + 1s;
                while (reply.empty() && Clock::now() < deadline) {
                    fromSim.getMessage(&reply);
                    std::this_thread::sleep_for(5ms);
                }
            }
            return reply;
        };

        const auto identity = exchange({golden::kIdentityRequest});
        ASSERT_FALSE(identity.empty()) << "no reply to five tries of a second each";
        EXPECT_EQ(identity, std::vector<unsigned char>(std::begin(golden::kIdentityReply),
                                                       std::end(golden::kIdentityReply)));

        // An edit stored on the pedal outlives the simulator in its state folder.
        const auto stored = exchange({golden::kParamChangeLevel100, golden::kStoreToSlot9});
        ASSERT_EQ(stored.size(), 267u) << "no preset dump after the store";
        EXPECT_EQ(stored[7], 9);
    }

    EXPECT_EQ(mSim->Stop(5s), 0) << "SIGTERM should end devsim cleanly";
    std::ifstream slot(stateDir / "Presets" / "010.dat", std::ios::binary);
    std::vector<char> image(256);
    ASSERT_TRUE(slot.read(image.data(), 256)) << "slot 9 was not saved";
    EXPECT_EQ(image[34], 100);
    const std::string log = FileText(logPath);
    EXPECT_NE(log.find("SettingsRequest type 0F"), std::string::npos) << log;
    EXPECT_NE(log.find("PresetDump reply slot 9"), std::string::npos) << log;
}

// No server runs here: JACK_NO_START_SERVER keeps the clients from starting one.
// A knob turned on the pedal reaches the editor's port; a bad line is named
// on stderr and the next still runs; save writes the state folder before exit.
TEST_F(JackSmoke, CommandLinesTurnAKnobAndSaveTheState) {
    ASSERT_NO_FATAL_FAILURE(StartServer());
    ASSERT_NO_FATAL_FAILURE(StartNamedDevsim());
    {
        RtMidiIn fromSim(RtMidi::UNIX_JACK, mServerName + "-test-in");
        fromSim.ignoreTypes(false, true, true);
        const auto simOut = FindPort(fromSim, SimOutPort());
        ASSERT_TRUE(simOut);
        fromSim.openPort(*simOut, "from_sim");
        // As in the exchange above, an overrun cycle can lose a message: turn again.
        std::vector<unsigned char> turned;
        for (int attempt = 0; attempt < 5 && turned.empty(); ++attempt) {
            ASSERT_TRUE(mSim->WriteLine("turn 5 99"));
            const auto deadline = Clock::now() + 1s;
            while (turned.empty() && Clock::now() < deadline) {
                fromSim.getMessage(&turned);
                std::this_thread::sleep_for(5ms);
            }
        }
        EXPECT_EQ(turned, (std::vector<unsigned char>{0xF0, 0x00, 0x51, 0x21, 0x05, 0x51, 0x0C, 5,
                                                      99, 0xF7}));
    }
    ASSERT_TRUE(mSim->WriteLine("turn 5"));
    ASSERT_TRUE(mSim->WriteLine("save"));
    EXPECT_EQ(mSim->ReadLine(10s), "devsim saved");
    EXPECT_TRUE(fs::exists(mDir / "state" / "Presets" / "128.dat")) << "saved before exit";
    EXPECT_NE(mSim->StderrText().find("devsim: turn 5: turn takes"), std::string::npos)
        << mSim->StderrText();
    EXPECT_EQ(mSim->Stop(5s), 0);
}

TEST_F(JackSmoke, ExitCodesTellBadOptionsAndMissingPorts) {
    ASSERT_NO_FATAL_FAILURE(StartDevsim({"--gap-ms", "never"}));
    EXPECT_EQ(mSim->WaitForExit(10s), 2);

    ASSERT_NO_FATAL_FAILURE(StartDevsim({"--name", mServerName + "-lonely"}));
    EXPECT_EQ(mSim->WaitForExit(20s), 3);
    EXPECT_EQ(mSim->StderrText(),
              "devsim: no JACK server is running (JACK_DEFAULT_SERVER=" + mServerName + ")\n")
        << "one line, none of JACK's own";
}

// True once the process holds SIGTERM blocked, as devsim does from just
// before it waits for its ports: a signal then waits for the loop to take it.
bool BlocksSigterm(int pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("SigBlk:", 0) == 0)
            return (std::stoull(line.substr(7), nullptr, 16) >> (SIGTERM - 1)) & 1;
    return false;
}

TEST_F(JackSmoke, SignalEndsDevsimWhileItWaitsForPorts) {
    ASSERT_NO_FATAL_FAILURE(StartDevsim({"--name", mServerName + "-waiting"}));
    const auto deadline = Clock::now() + 10s;
    while (!BlocksSigterm(mSim->Pid()) && Clock::now() < deadline)
        std::this_thread::sleep_for(5ms);
    ASSERT_TRUE(BlocksSigterm(mSim->Pid())) << "devsim did not reach its wait within 10 s";
    const std::optional<int> status = mSim->Stop(5s);
    ASSERT_TRUE(status) << "devsim ignored SIGTERM while it waited for its ports";
    EXPECT_EQ(*status, 0) << "the wait takes the signal and ends cleanly";
}
