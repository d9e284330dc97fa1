#include "tests/framework/host/HostFixtures.h"

#include "framework/Timer.h"
#include "tests/framework/PluginFixtures.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace host::test {

namespace fs = std::filesystem;

namespace {

class StubTimer : public vx::Timer {
public:
    void Stop() override {}
};

vx::PluginConfig ConfigWith(const char* channelIO) {
    vx::PluginConfig config = vx::test::ProductConfig();
    config.channelIOText = channelIO;
    return config;
}

} // namespace

HostProduct::HostProduct(const vx::InstanceInfo& info, const char* channelIO)
    : IStandaloneApp(info, ConfigWith(channelIO)) {}

void HostProduct::ProcessAudioBlock(double**, double** outputs, int frames) {
    if (frames != 64)
        ++wrongBlockFrames;
    for (int c = 0; c < ChannelCount(vx::BusDirection::Output); ++c)
        for (int i = 0; i < frames; ++i)
            outputs[c][i] = 1.0;
    ++blocks;
}

void HostProduct::ProcessSysEx(const vx::ISysEx& view) {
    sysex.emplace_back(view.data, view.data + view.size);
    sysexThreads.push_back(std::this_thread::get_id());
}

void HostProduct::Tick() {
    StubTimer timer;
    OnUITimer(timer);
}

AudioDeviceInfo Device(const std::string& name, unsigned in, unsigned out, bool defaultIn,
                       bool defaultOut) {
    AudioDeviceInfo info;
    info.probed = true;
    info.name = name;
    info.inputChannels = in;
    info.outputChannels = out;
    info.isDefaultInput = defaultIn;
    info.isDefaultOutput = defaultOut;
    info.sampleRates = {44100, 48000};
    return info;
}

HostTest::HostTest() {
    std::string pattern = (fs::temp_directory_path() / "omnar-host-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        ADD_FAILURE() << "no temporary folder";
    mConfigHome = pattern;
    if (const char* old = std::getenv("XDG_CONFIG_HOME")) {
        mHadConfigHome = true;
        mOldConfigHome = old;
    }
    setenv("XDG_CONFIG_HOME", mConfigHome.c_str(), 1);
    mAudio->devices = {Device("Speakers", 0, 2, false, true)};
}

HostTest::~HostTest() {
    mHost.reset();
    if (mHadConfigHome)
        setenv("XDG_CONFIG_HOME", mOldConfigHome.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
    std::error_code ignored;
    fs::permissions(mConfigHome + "/OmnarControl", fs::perms::owner_all, ignored);
    fs::remove_all(mConfigHome, ignored);
}

StandaloneHost& HostTest::MakeHost(const char* channelIO) {
    HostOptions options;
    options.makeProduct = [channelIO](const vx::InstanceInfo& info) {
        return std::make_unique<HostProduct>(info, channelIO);
    };
    options.showMessage = [this](const std::string& text, const std::string& title) {
        mMessages.push_back(title + ": " + text);
    };
    options.midiApiOrder = mApiOrder;
    auto midi = std::make_shared<FakeMidiSystem>(mMidi);
    mMidiSystem = midi.get();
    options.midi = midi;
    options.audio = std::make_shared<FakeAudioSystem>(mAudio);
    mHost = std::make_unique<StandaloneHost>(std::move(options));
    return *mHost;
}

std::string HostTest::SettingsText() const {
    std::stringstream text;
    text << std::ifstream(SettingsPath()).rdbuf();
    return text.str();
}

void HostTest::WriteSettings(const std::string& text) const {
    fs::create_directories(fs::path(SettingsPath()).parent_path());
    std::ofstream(SettingsPath()) << text;
}

} // namespace host::test
