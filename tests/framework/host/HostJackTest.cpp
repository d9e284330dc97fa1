// The host end to end on a private JACK server: the editor's identity request
// reaches the device simulator, and the reply comes back through the MIDI
// callback and the rings to the editor on the main thread.
#include "device/OmnarControl.h"
#include "framework/host/StandaloneHost.h"
#include "platform/ak/RunLoop.h"
#include "tests/devsim/GoldenVectors.h"
#include "tests/devsim/JackServerFixture.h"
#include "tests/framework/host/FakeAudioSystem.h"

#include <jack/jack.h>

#include <algorithm>
#include <mutex>

#include <chrono>
#include <fstream>
#include <thread>

using namespace host;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

// The editor, recording every SysEx that reaches it and the thread it ran on.
class RecordingEditor : public OmnarControl {
public:
    using OmnarControl::mConnected;
    using OmnarControl::OmnarControl;
    void ProcessSysEx(const vx::ISysEx& sysex) override {
        replies.emplace_back(sysex.data, sysex.data + sysex.size);
        threads.push_back(std::this_thread::get_id());
        OmnarControl::ProcessSysEx(sysex);
    }
    std::vector<std::vector<uint8_t>> replies;
    std::vector<std::thread::id> threads;
};

struct Row {
    const char* name;
    bool virtualPorts; // joined by hand instead of opened by name
    bool fakeAudio;    // an audio system with no device at all
    bool defaultOrder; // ALSA first, on a machine where its sequencer cannot open
};

// Sets a variable for the object's lifetime.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value) : mName(name) {
        if (const char* old = std::getenv(name))
            mOld = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedVariable() {
        if (mOld)
            setenv(mName, mOld->c_str(), 1);
        else
            unsetenv(mName);
    }

private:
    const char* mName;
    std::optional<std::string> mOld;
};

} // namespace

class HostJackTest : public devsim::test::JackServerTest {
protected:
    void TearDown() override {
        mHost.reset(); // its JACK clients go before the server
        mNoAlsa.reset();
        mData.reset();
        mConfig.reset();
        JackServerTest::TearDown();
    }

    void Join(const std::string& from, const std::string& to) {
        jack_status_t status;
        jack_client_t* client =
            jack_client_open((mServerName + "-joiner").c_str(), JackNoStartServer, &status);
        ASSERT_NE(client, nullptr);
        EXPECT_EQ(jack_connect(client, from.c_str(), to.c_str()), 0) << from << " -> " << to;
        jack_client_close(client);
    }

    // Sends the identity request until the golden reply reaches the editor:
    // JACK drops a cycle's MIDI when the dummy driver overruns on a busy machine.
    bool ExchangeIdentity(RecordingEditor& editor) {
        const std::vector<uint8_t> golden(std::begin(golden::kIdentityReply),
                                          std::end(golden::kIdentityReply));
        const auto received = [&] {
            return std::find(editor.replies.begin(), editor.replies.end(), golden) !=
                   editor.replies.end();
        };
        for (int attempt = 0; attempt < 5 && !received(); ++attempt) {
            editor.SendIdentityRequest();
            const auto deadline = Clock::now() + 1s;
            while (!received() && Clock::now() < deadline) {
                while (ak::RunLoop::Iterate(false)) {
                }
                std::this_thread::sleep_for(5ms);
            }
        }
        return received();
    }

    // The server, devsim and the host on them, settings.ini naming the row's ports.
    void StartHost(const Row& row) {
        ASSERT_NO_FATAL_FAILURE(StartServer());
        ASSERT_NO_FATAL_FAILURE(StartNamedDevsim());
        mConfig.emplace("XDG_CONFIG_HOME", (mDir / "config").string());
        mData.emplace("XDG_DATA_HOME", (mDir / "data").string());
        std::filesystem::create_directories(mDir / "config" / "OmnarControl");
        const std::string alsaConfig = (mDir / "empty-alsa.conf").string();
        std::ofstream(alsaConfig).put('\n');
        if (row.defaultOrder)
            mNoAlsa.emplace("ALSA_CONFIG_PATH", alsaConfig);
        std::ofstream(mDir / "config" / "OmnarControl" / "settings.ini")
            << "[audio]\ndriver=2\n[midi]\nindev="
            << (row.virtualPorts ? "virtual input" : SimOutPort())
            << "\noutdev=" << (row.virtualPorts ? "virtual output" : SimInPort()) << "\n";

        HostOptions options;
        options.makeProduct = [](const vx::InstanceInfo& info) {
            return std::make_unique<RecordingEditor>(info);
        };
        options.showMessage = [this](const std::string& text, const std::string&) {
            mMessages.push_back(text);
        };
        if (!row.defaultOrder)
            options.midiApiOrder = {MidiApi::Jack};
        if (row.fakeAudio)
            options.audio = std::make_shared<host::test::FakeAudioSystem>(
                std::make_shared<host::test::FakeAudioState>());
        mHost = std::make_unique<StandaloneHost>(std::move(options));
        ASSERT_TRUE(mHost->StartUp());
        ASSERT_TRUE(mHost->HasMidiObjects());
        if (row.virtualPorts) {
            ASSERT_NO_FATAL_FAILURE(Join(SimOutPort(), "RtMidi Input Client:To OmnarControl"));
            ASSERT_NO_FATAL_FAILURE(Join("RtMidi Output Client:From OmnarControl", SimInPort()));
        }
        EXPECT_EQ(mHost->ApplyAudioSettings(), !row.fakeAudio);
        EXPECT_EQ(mMessages.size(), row.fakeAudio ? 1u : 0u);
    }

    RecordingEditor& Editor() { return static_cast<RecordingEditor&>(mHost->Plugin()); }

    void RunRow(const Row& row) {
        SCOPED_TRACE(row.name);
        ASSERT_NO_FATAL_FAILURE(StartHost(row));
        auto& editor = Editor();

        ASSERT_TRUE(ExchangeIdentity(editor)) << "no identity reply to five tries of a second each";
        for (const std::thread::id thread : editor.threads)
            EXPECT_EQ(thread, std::this_thread::get_id());
        EXPECT_TRUE(editor.mConnected);
        if (!row.fakeAudio) {
            EXPECT_GT(mHost->FramesProcessed(), 0u) << "no audio callback ran";
            EXPECT_EQ(mHost->Settings().audioOutput, "system");
        }
        const auto start = Clock::now();
        mHost.reset();
        EXPECT_LT(Clock::now() - start, 5s) << "the host took too long to go";
    }

    std::unique_ptr<StandaloneHost> mHost;
    std::vector<std::string> mMessages;
    std::optional<ScopedVariable> mConfig;
    std::optional<ScopedVariable> mData;
    std::optional<ScopedVariable> mNoAlsa;
};

TEST_F(HostJackTest, DefaultOrderLandsOnJackWhereTheSequencerCannotOpen) {
    RunRow({"default order", false, false, true});
}

TEST_F(HostJackTest, PortsOpenedByName) {
    RunRow({"ports by name", false, false, false});
}

TEST_F(HostJackTest, VirtualPortsJoinedByHand) {
    RunRow({"virtual ports", true, false, false});
}

TEST_F(HostJackTest, NoAudioDeviceStillAnswersMidi) {
    RunRow({"no audio device", false, true, false});
}

// The pedal switched off (devsim killed, its ports gone) and on again under
// the same names: the host notices the open ports gone, keeps the names, and
// reopens them once they are listed again.
TEST_F(HostJackTest, APedalSwitchedOffAndOnIsReachedAgainUnderItsNames) {
    mClientWait = devsim::test::JackClientWait::Asynchronous;
    ASSERT_NO_FATAL_FAILURE(StartHost({"restart", false, true, false}));
    ASSERT_TRUE(ExchangeIdentity(Editor()));
    mSim->Kill();
    // The server drops a client that died without closing after its client
    // timeout (5 s); a synchronous one would stall for ten of them per client.
    const auto gone = [&] {
        const auto deadline = Clock::now() + 30s;
        while (Clock::now() < deadline) {
            if (mHost->RefindMidiPorts())
                return true;
            std::this_thread::sleep_for(5ms);
        }
        return false;
    };
    ASSERT_TRUE(gone()) << "the ports' end went unnoticed for 30 s";
    ASSERT_NO_FATAL_FAILURE(StartNamedDevsim());
    // Looked up again as the editor's port watch does, until the pedal answers.
    bool answered = false;
    for (int attempt = 0; attempt < 4 && !answered; ++attempt) {
        mHost->RefindMidiPorts();
        Editor().replies.clear();
        answered = ExchangeIdentity(Editor());
    }
    EXPECT_TRUE(answered) << "the pedal did not answer through the reopened ports";
    EXPECT_EQ(mHost->Settings().midiInput, SimOutPort());
    EXPECT_EQ(mHost->Settings().midiOutput, SimInPort());
}

// The audio device listing on JACK asks through one client what the audio
// library asks through a client per question, and gets the same answers: a
// device per client name with audio ports, its channels, the server's rate,
// the first device as the default.
TEST_F(HostJackTest, TheAudioListingOpensOneClientAndAgreesWithTheLibrary) {
    ASSERT_NO_FATAL_FAILURE(StartServer());
    // A second device beside the dummy driver's "system": 3 ports in, 1 out.
    jack_client_t* device =
        jack_client_open((mServerName + "-box").c_str(), JackNoStartServer, nullptr);
    ASSERT_NE(device, nullptr);
    for (const char* port : {"in_1", "in_2", "in_3"})
        ASSERT_NE(jack_port_register(device, port, JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0),
                  nullptr);
    ASSERT_NE(jack_port_register(device, "out_1", JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput, 0),
              nullptr);

    // Every client that comes to the server, in the order the server tells.
    struct Arrivals {
        std::mutex mutex;
        std::vector<std::string> names;
    } arrivals;
    jack_client_t* watcher =
        jack_client_open((mServerName + "-watch").c_str(), JackNoStartServer, nullptr);
    ASSERT_NE(watcher, nullptr);
    jack_set_client_registration_callback(
        watcher,
        [](const char* name, int registered, void* arg) {
            auto* a = static_cast<Arrivals*>(arg);
            if (registered) {
                const std::lock_guard lock(a->mutex);
                a->names.emplace_back(name);
            }
        },
        &arrivals);
    ASSERT_EQ(jack_activate(watcher), 0);

    const auto system = MakeRtAudioSystem();
    const auto names = system->DriverNames();
    const int jack = int(std::find(names.begin(), names.end(), "Jack") - names.begin());
    const auto audio = system->Create(jack);
    ASSERT_NE(audio, nullptr);
    std::vector<AudioDeviceInfo> listed;
    audio->ListDevices([&](unsigned id, const AudioDeviceInfo& info) {
        EXPECT_EQ(id, listed.size());
        listed.push_back(info);
    });
    // A client opened after the listing: once the server has told of it, it
    // has told of every client the listing opened.
    jack_client_t* marker =
        jack_client_open((mServerName + "-marker").c_str(), JackNoStartServer, nullptr);
    ASSERT_NE(marker, nullptr);
    jack_client_close(marker);
    std::vector<std::string> opened;
    for (const auto deadline = Clock::now() + 10s;;) {
        {
            const std::lock_guard lock(arrivals.mutex);
            const auto end =
                std::find(arrivals.names.begin(), arrivals.names.end(), mServerName + "-marker");
            if (end != arrivals.names.end()) {
                opened.assign(arrivals.names.begin(), end);
                break;
            }
        }
        ASSERT_LT(Clock::now(), deadline) << "the server told of no marker client";
        std::this_thread::sleep_for(5ms);
    }
    EXPECT_EQ(opened.size(), 1u) << "clients opened for the listing";

    // The library's own answers, one client each.
    ASSERT_EQ(listed.size(), audio->DeviceCount());
    ASSERT_EQ(listed.size(), 2u);
    for (unsigned id = 0; id < listed.size(); ++id) {
        SCOPED_TRACE(listed[id].name);
        const AudioDeviceInfo expected = audio->DeviceInfo(id);
        EXPECT_EQ(listed[id].probed, expected.probed);
        EXPECT_EQ(listed[id].name, expected.name);
        EXPECT_EQ(listed[id].inputChannels, expected.inputChannels);
        EXPECT_EQ(listed[id].outputChannels, expected.outputChannels);
        EXPECT_EQ(listed[id].isDefaultInput, expected.isDefaultInput);
        EXPECT_EQ(listed[id].isDefaultOutput, expected.isDefaultOutput);
        EXPECT_EQ(listed[id].sampleRates, expected.sampleRates);
    }
    EXPECT_EQ(listed[1].name, mServerName + "-box");
    EXPECT_EQ(listed[1].outputChannels, 3u);
    EXPECT_EQ(listed[1].inputChannels, 1u);
    jack_client_close(watcher);
    jack_client_close(device);
}
