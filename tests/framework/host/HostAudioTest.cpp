// Audio: sub-blocks, fades, stream close, and choosing the devices.
#include "tests/framework/host/HostFixtures.h"

#include <chrono>
#include <filesystem>

using namespace host;
using namespace host::test;
using namespace std::chrono_literals;

namespace {

bool All(const std::vector<double>& samples, double value) {
    return std::all_of(samples.begin(), samples.end(), [&](double s) { return s == value; });
}

// The linear ramp of one callback on every channel.
bool IsRamp(const CallbackRecord& record, bool fadeOut) {
    for (size_t i = 0; i < record.output.size(); ++i) {
        const unsigned j = static_cast<unsigned>(i % record.frames);
        const double gain =
            fadeOut ? double(record.frames - 1 - j) / record.frames : double(j) / record.frames;
        if (record.output[i] != gain)
            return false;
    }
    return true;
}

} // namespace

class HostAudioTest : public HostTest {
protected:
    // A started stream whose callbacks the test runs itself.
    void OpenManualStream(int frames, const char* channelIO = "0-2") {
        mAudio->callbackThread = false;
        mAudio->devices = {Device("Card", 2, 2, true, true)};
        MakeHost(channelIO);
        ASSERT_TRUE(mHost->StartUp());
        mHost->Settings().bufferFrames = frames;
        ASSERT_TRUE(mHost->ApplyAudioSettings());
    }

    // One callback with buffers of exactly its size; returns the output.
    std::vector<double> RunCallback(unsigned frames, int inputs = 0) {
        std::vector<double> output(2u * frames, -1.0);
        std::vector<double> input(static_cast<size_t>(inputs) * frames, 0.5);
        EXPECT_EQ(StandaloneHost::OnAudioBuffer(output.data(), inputs ? input.data() : nullptr,
                                                frames, mHost.get()),
                  0);
        return output;
    }

    void WaitForCallbacks(int count) {
        const auto deadline = std::chrono::steady_clock::now() + 5s;
        while (mAudio->callbacks < count && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(1ms);
        ASSERT_GE(mAudio->callbacks, count) << "the fake driver did not call back within 5 s";
    }
};

TEST_F(HostAudioTest, EveryCallbackRunsOneSubBlockPer64FramesWithinItsBuffers) {
    struct Case {
        unsigned frames;
        const char* channelIO;
    };
    const Case cases[] = {{512, "0-2"}, {64, "0-2"},   {32, "0-2"},
                          {96, "0-2"},  {1000, "0-2"}, {96, "2-2"}};
    for (const Case& c : cases) {
        ASSERT_NO_FATAL_FAILURE(OpenManualStream(static_cast<int>(c.frames), c.channelIO));
        const int inputs = c.channelIO[0] - '0';
        constexpr int kCallbacks = 8;
        std::vector<double> last;
        for (int n = 0; n < kCallbacks; ++n)
            last = RunCallback(c.frames, inputs);
        EXPECT_EQ(Product().blocks, kCallbacks * static_cast<int>(c.frames) / 64) << c.frames;
        EXPECT_EQ(Product().wrongBlockFrames, 0);
        EXPECT_EQ(mHost->FramesProcessed(), static_cast<uint32_t>(Product().blocks) * 64u);
        EXPECT_TRUE(All(last, 1.0)) << c.frames << ": every frame comes from a sub-block";
        mHost.reset();
    }
}

TEST_F(HostAudioTest, FirstCallbackFadesInThenOutputPassesUnchanged) {
    ASSERT_NO_FATAL_FAILURE(OpenManualStream(512));
    const std::vector<double> first = RunCallback(512);
    EXPECT_TRUE(IsRamp({512, first}, false));
    EXPECT_TRUE(All(RunCallback(512), 1.0));
}

TEST_F(HostAudioTest, ClosingFadesOutOnceThenWritesSilence) {
    mAudio->devices = {Device("Card", 0, 2, false, true)};
    MakeHost();
    ASSERT_TRUE(mHost->StartUp());
    mHost->Settings().bufferFrames = 128;
    ASSERT_TRUE(mHost->ApplyAudioSettings());
    ASSERT_NO_FATAL_FAILURE(WaitForCallbacks(3));
    mHost->CloseAudioStream();
    const auto records = mAudio->Records();
    ASSERT_GE(records.size(), 3u);
    ASSERT_LT(records.size(), 2000u) << "the fade-out was not recorded";
    EXPECT_TRUE(IsRamp(records[0], false));
    size_t k = 1;
    while (k < records.size() && All(records[k].output, 1.0))
        ++k;
    ASSERT_LT(k, records.size());
    EXPECT_TRUE(IsRamp(records[k], true)) << "callback " << k;
    for (++k; k < records.size(); ++k)
        EXPECT_TRUE(All(records[k].output, 0.0)) << "callback " << k;
    const auto calls = mAudio->Calls();
    EXPECT_EQ(std::vector<std::string>(calls.end() - 2, calls.end()),
              (std::vector<std::string>{"stop", "close"}));
}

TEST_F(HostAudioTest, AStreamThatNeverCallsBackStillCloses) {
    ASSERT_NO_FATAL_FAILURE(OpenManualStream(512));
    const auto start = std::chrono::steady_clock::now();
    mHost->CloseAudioStream();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
    const auto calls = mAudio->Calls();
    EXPECT_EQ(std::vector<std::string>(calls.end() - 2, calls.end()),
              (std::vector<std::string>{"abort", "close"}));
}

TEST_F(HostAudioTest, ReopeningKeepsOnePointerPerChannel) {
    ASSERT_NO_FATAL_FAILURE(OpenManualStream(64, "2-2"));
    for (int n = 0; n < 3; ++n) {
        ASSERT_TRUE(mHost->ApplyAudioSettings());
        RunCallback(64, 2);
        EXPECT_TRUE(All(RunCallback(64, 2), 1.0));
    }
    EXPECT_EQ(Product().blocks, 6);
}

TEST_F(HostAudioTest, ApplyingSettingsChoosesDevicesOrSaysWhy) {
    struct Case {
        const char* name;
        std::vector<AudioDeviceInfo> devices;
        const char* channelIO;
        const char* storedOutput;
        const char* throwing;
        bool opened;
        const char* openCall; // "" when no stream opens
        const char* savedOutput;
        int messages;
    };
    const Case cases[] = {
        {"stored device",
         {Device("A", 0, 2), Device("B", 0, 2, false, true)},
         "0-2",
         "A",
         nullptr,
         true,
         "open out 0x2 in none 44100 512",
         "A",
         0},
        {"default replaces",
         {Device("A", 0, 2), Device("B", 0, 2, false, true)},
         "0-2",
         "Gone",
         nullptr,
         true,
         "open out 1x2 in none 44100 512",
         "B",
         0},
        {"colon name",
         {Device("hw:Card: Out", 0, 2, false, true)},
         "0-2",
         "Out",
         nullptr,
         true,
         "open out 0x2 in none 44100 512",
         "Out",
         0},
        {"no device", {}, "0-2", "Gone", nullptr, false, "", "Gone", 1},
        {"no input device",
         {Device("A", 0, 2, false, true)},
         "2-2",
         "A",
         nullptr,
         false,
         "",
         "A",
         1},
        {"with inputs",
         {Device("A", 2, 2, true, true)},
         "2-2",
         "A",
         nullptr,
         true,
         "open out 0x2 in 0x2 44100 512",
         "A",
         0},
        {"open fails",
         {Device("A", 0, 2, false, true)},
         "0-2",
         "A",
         "open",
         false,
         "open out 0x2 in none 44100 512",
         "A",
         0},
        {"start fails",
         {Device("A", 0, 2, false, true)},
         "0-2",
         "A",
         "start",
         false,
         "open out 0x2 in none 44100 512",
         "A",
         0},
    };
    for (const Case& c : cases) {
        mAudio = std::make_shared<FakeAudioState>();
        mAudio->devices = c.devices;
        mAudio->callbackThread = false;
        if (c.throwing)
            mAudio->throwingCalls.insert(c.throwing);
        WriteSettings(std::string("[audio]\noutdev=") + c.storedOutput + "\nindev=Mic\n");
        mMessages.clear();
        MakeHost(c.channelIO);
        ASSERT_TRUE(mHost->StartUp());
        EXPECT_EQ(mHost->ApplyAudioSettings(), c.opened) << c.name;
        const auto calls = mAudio->Calls();
        if (*c.openCall) {
            EXPECT_NE(std::find(calls.begin(), calls.end(), c.openCall), calls.end()) << c.name;
        } else {
            EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                                    [](const std::string& s) { return s.starts_with("open"); }),
                      0)
                << c.name;
        }
        EXPECT_EQ(ReadHostSettings(SettingsPath()).audioOutput, c.savedOutput) << c.name;
        // A default input taken in place of a missing one is kept too.
        EXPECT_EQ(ReadHostSettings(SettingsPath()).audioInput, mHost->Settings().audioInput)
            << c.name;
        EXPECT_EQ(mMessages.size(), static_cast<size_t>(c.messages)) << c.name;
        if (c.messages) {
            EXPECT_EQ(mMessages[0], "Error: Please check your soundcard settings in Preferences");
        }
        EXPECT_EQ(mHost->OpenedSettings() == mHost->Settings(), c.opened) << c.name;
        mHost.reset();
    }
}

TEST_F(HostAudioTest, DriverValuesOutsideTheListGiveNoAudioObject) {
    WriteSettings("[audio]\ndriver=7\n");
    MakeHost();
    ASSERT_TRUE(mHost->StartUp());
    EXPECT_EQ(mHost->Audio(), nullptr);
    EXPECT_TRUE(mHost->AudioDeviceNames().empty());
    EXPECT_FALSE(mHost->ApplyAudioSettings());
    EXPECT_EQ(mHost->DriverNames(), (std::vector<std::string>{"ALSA", "Pulse", "Jack"}));
}

// A driver relisted (Preferences, a driver change) with fewer devices than
// before: nothing of the earlier listing may be used. Built with the
// library's bounds checks, a read past the device list stops the test.
TEST_F(HostAudioTest, ARelistingWithFewerDevicesForgetsTheEarlierDefaults) {
    struct Case {
        const char* name;
        std::vector<AudioDeviceInfo> first;
        std::vector<AudioDeviceInfo> second;
        int messages; // after the relisting
    };
    const Case cases[] = {
        {"none left", {Device("Speakers", 0, 2, false, true)}, {}, 1},
        {"the default gone, one other left",
         {Device("A", 0, 2), Device("B", 0, 2), Device("Speakers", 0, 2, false, true)},
         {Device("Other", 0, 2)},
         1},
    };
    for (const Case& c : cases) {
        mAudio = std::make_shared<FakeAudioState>();
        mAudio->devices = c.first;
        mAudio->callbackThread = false;
        WriteSettings("[audio]\noutdev=Speakers\n");
        MakeHost();
        ASSERT_TRUE(mHost->StartUp());
        ASSERT_TRUE(mHost->ApplyAudioSettings()) << c.name;
        mAudio->devices = c.second;
        mHost->CreateAudioInterface();
        mHost->ListAudioDevices();
        mMessages.clear();
        const size_t mark = mAudio->Calls().size();
        EXPECT_FALSE(mHost->ApplyAudioSettings()) << c.name;
        const auto calls = mAudio->Calls();
        EXPECT_EQ(std::count_if(calls.begin() + std::ptrdiff_t(mark), calls.end(),
                                [](const std::string& s) { return s.starts_with("open"); }),
                  0)
            << c.name << ": a device of the earlier listing was opened";
        EXPECT_EQ(mMessages.size(), size_t(c.messages)) << c.name;
        EXPECT_EQ(ReadHostSettings(SettingsPath()).audioOutput, "Speakers")
            << c.name << ": the stored device stays until the user picks another";
        mHost.reset();
    }
}

// A fresh settings file names devices no Linux driver lists: the driver's own
// default is taken, else its first device, and no box is shown.
TEST_F(HostAudioTest, AFirstStartTakesTheDriversOwnDevices) {
    struct Case {
        const char* name;
        std::vector<AudioDeviceInfo> devices;
        const char* output;
    };
    const Case cases[] = {
        {"a default flagged",
         {Device("hw:0", 2, 2), Device("default", 2, 2, true, true)},
         "default"},
        {"none flagged", {Device("Card", 2, 2), Device("Other", 2, 2)}, "Card"},
    };
    for (const Case& c : cases) {
        mAudio = std::make_shared<FakeAudioState>();
        mAudio->devices = c.devices;
        mAudio->callbackThread = false;
        std::filesystem::remove(SettingsPath());
        mMessages.clear();
        MakeHost("2-2");
        ASSERT_TRUE(mHost->StartUp());
        EXPECT_TRUE(mHost->ApplyAudioSettings()) << c.name;
        EXPECT_TRUE(mMessages.empty()) << c.name;
        const HostSettings saved = ReadHostSettings(SettingsPath());
        EXPECT_EQ(saved.audioOutput, c.output) << c.name;
        EXPECT_EQ(saved.audioInput, c.output) << c.name;
        mHost.reset();
    }
}
