#pragma once

#include "framework/host/StandaloneHost.h"
#include "tests/framework/host/FakeAudioSystem.h"
#include "tests/framework/host/FakeMidiSystem.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace host::test {

// A product on the standalone object: its outputs carry 1.0, and what reaches
// its handlers is recorded with the thread it ran on.
class HostProduct : public vx::IStandaloneApp {
public:
    explicit HostProduct(const vx::InstanceInfo& info, const char* channelIO = "0-2");
    void ProcessAudioBlock(double** inputs, double** outputs, int frames) override;
    void ProcessMidiMessage(const vx::IMidiMsg& msg) override { midi.push_back(msg); }
    void ProcessSysEx(const vx::ISysEx& sysex) override;
    void Tick();

    std::atomic<int> blocks{0};
    std::atomic<int> wrongBlockFrames{0};
    std::vector<vx::IMidiMsg> midi;
    std::vector<std::vector<uint8_t>> sysex;
    std::vector<std::thread::id> sysexThreads;
};

// A temporary XDG_CONFIG_HOME, the fake MIDI and audio systems, and a host on them.
class HostTest : public ::testing::Test {
protected:
    HostTest();
    ~HostTest() override;

    // Default: one device "Speakers" (0 in, 2 out), the system's default output.
    StandaloneHost& MakeHost(const char* channelIO = "0-2");
    HostProduct& Product() { return static_cast<HostProduct&>(mHost->Plugin()); }
    std::string SettingsPath() const { return mConfigHome + "/OmnarControl/settings.ini"; }
    std::string SettingsText() const;
    void WriteSettings(const std::string& text) const;
    std::vector<std::string> Messages() const { return mMessages; }

    std::shared_ptr<FakeMidiState> mMidi = std::make_shared<FakeMidiState>();
    std::shared_ptr<FakeAudioState> mAudio = std::make_shared<FakeAudioState>();
    FakeMidiSystem* mMidiSystem = nullptr;
    std::vector<MidiApi> mApiOrder = kDefaultMidiApiOrder;
    std::unique_ptr<StandaloneHost> mHost;
    std::string mConfigHome;
    std::string mOldConfigHome;
    bool mHadConfigHome = false;
    std::vector<std::string> mMessages;
};

AudioDeviceInfo Device(const std::string& name, unsigned in, unsigned out, bool defaultIn = false,
                       bool defaultOut = false);

} // namespace host::test
