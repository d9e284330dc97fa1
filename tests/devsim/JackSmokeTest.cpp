// devsim on real JACK MIDI ports: a private JACK server with the dummy driver,
// the simulator, and this test as the editor's stand-in. Every wait is bounded
// and both programs are stopped, whatever happens.

#include "tests/devsim/ChildProcess.h"
#include "tests/devsim/GoldenVectors.h"

#include <RtMidi.h>
#include <gtest/gtest.h>
#include <jack/jack.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <unistd.h>

using namespace devsim::test;
using namespace std::chrono_literals;

namespace {

using Clock = std::chrono::steady_clock;

std::string UniqueName(const char* stem) {
    static int serial = 0;
    return std::string(stem) + "-" + std::to_string(getpid()) + "-" + std::to_string(++serial);
}

std::string TempPath(const std::string& name) {
    return (std::filesystem::temp_directory_path() / name).string();
}

bool ServerAnswers() {
    // Until the server is up every try complains; the complaints say nothing new.
    jack_set_error_function([](const char*) {});
    jack_status_t status;
    jack_client_t* probe = jack_client_open("omnar-probe", JackNoStartServer, &status);
    if (!probe) {
        return false;
    }
    jack_client_close(probe);
    return true;
}

template <class Port>
std::optional<unsigned> FindPort(Port& port, const std::string& fullName) {
    for (unsigned i = 0; i < port.getPortCount(); ++i) {
        if (port.getPortName(i) == fullName) {
            return i;
        }
    }
    return std::nullopt;
}

class JackSmoke : public ::testing::Test {
protected:
    void SetUp() override {
        mServerName = UniqueName("omnar-devsim");
        // Clients of this process and of its children reach only the private server.
        setenv("JACK_DEFAULT_SERVER", mServerName.c_str(), 1);
        setenv("JACK_NO_START_SERVER", "1", 1);
        std::string error;
        // A long client timeout: on a loaded CI machine a sanitised client can
        // miss the default 500 ms and be thrown out by the server.
        mServer = ChildProcess::Start(
            {"jackd", "-n", mServerName, "--no-realtime", "-t", "5000", "-d", "dummy"},
            TempPath(mServerName + "-jackd.err"), error);
        ASSERT_TRUE(mServer) << error;
        const auto deadline = Clock::now() + 10s;
        while (!ServerAnswers()) {
            ASSERT_LT(Clock::now(), deadline) << "the JACK server did not start within 10 s";
            ASSERT_FALSE(mServer->WaitForExit(100ms)) << "jackd ended early";
        }
    }

    void TearDown() override {
        if (mSim) {
            mSim->Stop(5s);
        }
        if (mServer) {
            mServer->Stop(5s);
        }
        if (HasFailure()) {
            std::fprintf(stderr, "--- jackd stderr ---\n%s\n--- devsim stderr ---\n%s\n",
                         mServer ? mServer->StderrText().c_str() : "",
                         mSim ? mSim->StderrText().c_str() : "");
        }
        std::filesystem::remove(TempPath(mServerName + "-jackd.err"));
        std::filesystem::remove(TempPath(mServerName + "-devsim.err"));
    }

    std::unique_ptr<ChildProcess> StartDevsim(const std::vector<std::string>& extra) {
        std::vector<std::string> argv = {DEVSIM_PATH, "--exit-after", "60"};
        argv.insert(argv.end(), extra.begin(), extra.end());
        std::string error;
        auto sim = ChildProcess::Start(argv, TempPath(mServerName + "-devsim.err"), error);
        EXPECT_TRUE(sim) << error;
        return sim;
    }

    std::string mServerName;
    std::unique_ptr<ChildProcess> mServer;
    std::unique_ptr<ChildProcess> mSim;
};

} // namespace

TEST_F(JackSmoke, IdentityRequestOverJackGetsTheGoldenReply) {
    const std::string name = UniqueName("Sim");
    const std::filesystem::path stateDir = TempPath(name + "-state");
    const std::string logPath = TempPath(name + ".log");
    mSim = StartDevsim({"--name", name, "--state", stateDir.string(), "--log", logPath});
    ASSERT_TRUE(mSim);
    const auto ready = mSim->ReadLine(10s);
    ASSERT_TRUE(ready) << "no ready line within 10 s";
    EXPECT_EQ(*ready, "devsim ready: in " + name + "-in:midi_in out " + name + "-out:midi_out");

    RtMidiIn fromSim(RtMidi::UNIX_JACK, "smoke-in");
    RtMidiOut toSim(RtMidi::UNIX_JACK, "smoke-out");
    fromSim.ignoreTypes(false, true, true);
    const auto simOut = FindPort(fromSim, name + "-out:midi_out");
    const auto simIn = FindPort(toSim, name + "-in:midi_in");
    ASSERT_TRUE(simOut && simIn);
    fromSim.openPort(*simOut, "from_sim");
    toSim.openPort(*simIn, "to_sim");
    const auto nextReply = [&] {
        std::vector<unsigned char> reply;
        const auto deadline = Clock::now() + 5s;
        while (reply.empty() && Clock::now() < deadline) {
            fromSim.getMessage(&reply);
            std::this_thread::sleep_for(5ms);
        }
        return reply;
    };

    toSim.sendMessage(golden::kIdentityRequest, sizeof golden::kIdentityRequest);
    const auto identity = nextReply();
    ASSERT_FALSE(identity.empty()) << "no reply within 5 s";
    EXPECT_EQ(identity, std::vector<unsigned char>(std::begin(golden::kIdentityReply),
                                                   std::end(golden::kIdentityReply)));

    // An edit stored on the pedal outlives the simulator in its state folder.
    toSim.sendMessage(golden::kParamChangeLevel100, sizeof golden::kParamChangeLevel100);
    toSim.sendMessage(golden::kStoreToSlot9, sizeof golden::kStoreToSlot9);
    const auto stored = nextReply();
    ASSERT_EQ(stored.size(), 267u) << "no preset dump after the store within 5 s";
    EXPECT_EQ(stored[7], 9);

    EXPECT_EQ(mSim->Stop(5s), 0) << "SIGTERM should end devsim cleanly";
    std::ifstream slot(stateDir / "Presets" / "010.dat", std::ios::binary);
    std::vector<char> image(256);
    ASSERT_TRUE(slot.read(image.data(), 256)) << "slot 9 was not saved";
    EXPECT_EQ(image[34], 100);
    std::stringstream log;
    log << std::ifstream(logPath).rdbuf();
    EXPECT_NE(log.str().find("SettingsRequest type 0F"), std::string::npos) << log.str();
    EXPECT_NE(log.str().find("PresetDump reply slot 9"), std::string::npos) << log.str();
    std::filesystem::remove_all(stateDir);
    std::filesystem::remove(logPath);
}

TEST_F(JackSmoke, ExitCodesTellBadOptionsAndMissingPorts) {
    mSim = StartDevsim({"--gap-ms", "never"});
    ASSERT_TRUE(mSim);
    EXPECT_EQ(mSim->WaitForExit(10s), 2);

    // A server name nobody runs: the ports never open.
    setenv("JACK_DEFAULT_SERVER", UniqueName("omnar-nobody").c_str(), 1);
    mSim = StartDevsim({"--name", UniqueName("Lonely")});
    ASSERT_TRUE(mSim);
    EXPECT_EQ(mSim->WaitForExit(20s), 3);
    EXPECT_NE(mSim->StderrText().find("JACK ports not opened"), std::string::npos);
}
