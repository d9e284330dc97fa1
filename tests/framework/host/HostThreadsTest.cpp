// The host going, or its stream closing, while the library threads still call in.
#include "tests/framework/host/HostFixtures.h"

#include <chrono>

using namespace host;
using namespace host::test;
using namespace std::chrono_literals;

using HostThreadsTest = HostTest;

TEST_F(HostThreadsTest, MidiInputKeepsArrivingWhileTheHostGoes) {
    const std::vector<std::vector<uint8_t>> messages = {{0xF0, 0x00, 0x51, 0x21, 0x05, 0xF7},
                                                        {0x90, 0x3C, 0x64}};
    for (const auto& message : messages) {
        MakeHost();
        ASSERT_TRUE(mHost->StartUp());
        FakeMidiInput* input = mMidiSystem->lastInput;
        input->StartFeeding(message);
        const auto deadline = std::chrono::steady_clock::now() + 5s;
        while (input->delivered() < 200 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(1ms);
        Product().Tick();
        mHost.reset();
    }
}

TEST_F(HostThreadsTest, AudioKeepsRunningWhileTheStreamClosesAndReopens) {
    mAudio->devices = {Device("Card", 2, 2, true, true)};
    MakeHost("2-2");
    ASSERT_TRUE(mHost->StartUp());
    mHost->Settings().bufferFrames = 96;
    for (int n = 0; n < 10; ++n) {
        ASSERT_TRUE(mHost->ApplyAudioSettings());
        const int before = mAudio->callbacks;
        const auto deadline = std::chrono::steady_clock::now() + 5s;
        while (mAudio->callbacks < before + 3 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(1ms);
        Product().Tick();
    }
    mHost->CloseAudioStream();
    EXPECT_GT(Product().blocks, 0);
    EXPECT_EQ(Product().wrongBlockFrames, 0);
}
