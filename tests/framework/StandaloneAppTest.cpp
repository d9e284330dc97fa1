#include "framework/MidiStatus.h"
#include "tests/framework/PluginFixtures.h"

#include <gtest/gtest.h>

#include <array>

namespace vx::test {
namespace {

using Log = std::vector<std::string>;

std::vector<uint8_t> SysEx(int size, uint8_t tag) {
    std::vector<uint8_t> bytes(size_t(size), tag);
    bytes.front() = 0xF0;
    bytes.back() = 0xF7;
    return bytes;
}

class StandaloneAppTest : public ::testing::Test {
protected:
    FakeHost host;
    TestProduct product{&host};
};

TEST_F(StandaloneAppTest, OneTickHandlesDeviceTrafficWithoutAnAudioStream) {
    product.PushCallbackMidiMsg({0, 0xB0, 7, 100, 0});
    product.PushCallbackSysEx(SysEx(6, 0x21));
    product.QueueParamValueForUI(7, 0.25, true);
    product.Tick();
    EXPECT_EQ(product.log, (Log{"midi B0 07 64", "sysex F0 21 21 21 21 F7", "ui-param 7 25",
                                "ui-midi B0", "ui-sysex 6", "idle"}));
    product.log.clear();
    product.Tick();
    EXPECT_EQ(product.log, Log{"idle"});
}

TEST_F(StandaloneAppTest, FullCallbackRingsDropTheNewestAndKeepOrder) {
    for (int i = 0; i < 33; ++i)
        EXPECT_EQ(product.PushCallbackMidiMsg({0, 0x90, uint8_t(i), 1, 0}), i < 32) << i;
    for (int i = 0; i < 65; ++i)
        EXPECT_EQ(product.PushCallbackSysEx(SysEx(5, uint8_t(i))), i < 64) << i;
    product.Tick();
    const Log midi = product.Entries("midi");
    const Log sysex = product.Entries("sysex");
    ASSERT_EQ(midi.size(), 32u);
    ASSERT_EQ(sysex.size(), 64u);
    EXPECT_EQ(midi.front(), "midi 90 00 01");
    EXPECT_EQ(midi.back(), "midi 90 1F 01");
    EXPECT_EQ(sysex.back(), "sysex F0 3F 3F 3F F7");
    // Every message also reached the editor in the same tick.
    EXPECT_EQ(product.Entries("ui-midi").size(), 32u);
    EXPECT_EQ(product.Entries("ui-sysex").size(), 64u);
}

TEST_F(StandaloneAppTest, CallbackSysExOutsideOneRecordIsRefused) {
    EXPECT_FALSE(product.PushCallbackSysEx({}));
    EXPECT_FALSE(product.PushCallbackSysEx(SysEx(513, 1)));
    EXPECT_TRUE(product.PushCallbackSysEx(SysEx(512, 1)));
}

TEST_F(StandaloneAppTest, ParameterBurstDeliversTheFirst512InOrder) {
    for (int i = 0; i < 600; ++i)
        product.QueueParamValueForUI(3 + i % 100, i % 100, false);
    product.Tick();
    const Log values = product.Entries("ui-param");
    ASSERT_EQ(values.size(), 512u);
    EXPECT_EQ(values[0], "ui-param 3 0");
    EXPECT_EQ(values[511], "ui-param 14 11");
}

TEST_F(StandaloneAppTest, WithoutUIOnlyTheCallbackRingsAndIdleRun) {
    PluginConfig config = ProductConfig();
    config.hasUI = false;
    TestProduct headless(&host, config);
    headless.PushCallbackMidiMsg({0, 0xC0, 5, 0, 0});
    headless.QueueParamValueForUI(7, 10.0, false);
    headless.Tick();
    EXPECT_EQ(headless.log, (Log{"midi C0 05 00", "idle"}));
}

TEST_F(StandaloneAppTest, AudioStepRunsTheEditorMidiAndOneBlockOfTheStoredSize) {
    product.SetBlockFrames(64);
    product.PushCallbackMidiMsg({0, 0x90, 1, 1, 0}); // waits for the UI tick
    product.PushMidiFromUI({0, 0x80, 2, 0, 0});
    std::array<double, 64> left{}, right{};
    left.fill(1.0);
    double* outputs[] = {left.data(), right.data()};
    product.ProcessQueuesAndAudio(nullptr, outputs, 512);
    EXPECT_EQ(product.log, (Log{"midi 80 02 00", "block 64"}));
    EXPECT_EQ(left[63], 0.0);
}

TEST_F(StandaloneAppTest, AnInstrumentBlockSeesNoHostInputs) {
    for (const int32_t type : {0, 1}) {
        PluginConfig config = ProductConfig();
        config.channelIOText = "2-2";
        config.pluginType = type;
        TestProduct effect(&host, config);
        effect.SetBlockFrames(64);
        std::array<double, 64> in0{}, in1{}, out0{}, out1{};
        in0.fill(0.5);
        in1.fill(0.25);
        double* inputs[] = {in0.data(), in1.data()};
        double* outputs[] = {out0.data(), out1.data()};
        effect.ProcessQueuesAndAudio(inputs, outputs, 64);
        EXPECT_EQ(out0[10], type == 1 ? 0.0 : 0.5) << type;
        EXPECT_EQ(out1[63], type == 1 ? 0.0 : 0.25) << type;
    }
}

TEST_F(StandaloneAppTest, EditorSysExLeavesAtOnceAndOnlyWholeRecordsAreQueued) {
    const std::vector<uint8_t> bytes = SysEx(600, 0x05);
    product.PushSysExFromUI({0, 10, bytes.data()});
    ASSERT_EQ(host.output->messages.size(), 1u);
    EXPECT_EQ(host.output->messages[0].size(), 10u);
    EXPECT_EQ(product.QueuedEditorSysEx(), 0);

    product.EnqueueSysExFromUI({0, 513, bytes.data()});
    product.EnqueueSysExFromUI({0, -1, bytes.data()});
    EXPECT_EQ(product.QueuedEditorSysEx(), 0);
    product.EnqueueSysExFromUI({0, 512, bytes.data()});
    product.EnqueueSysExFromUI({0, 4, nullptr});
    EXPECT_EQ(product.QueuedEditorSysEx(), 2);
}

TEST_F(StandaloneAppTest, SendingNeedsAnOpenPortThatTakesTheMessage) {
    const std::vector<uint8_t> bytes = SysEx(10, 0x0C);
    const ISysEx sysex{0, 10, bytes.data()};
    EXPECT_TRUE(product.SendSysEx(sysex));
    EXPECT_TRUE(product.SendMidiMsg({0, 0x90, 1, 2, 0}));
    EXPECT_EQ(host.output->messages.size(), 2u);

    struct Case {
        const char* what;
        std::function<void()> arrange;
        ISysEx message;
        size_t recorded; // messages that reached the output
    };
    const Case cases[] = {
        {"size 0", [] {}, {0, 0, bytes.data()}, 0},
        {"negative size", [] {}, {0, -3, bytes.data()}, 0},
        {"no bytes", [] {}, {0, 10, nullptr}, 0},
        {"port closed", [&] { host.output->portOpen = false; }, sysex, 0},
        {"send failed", [&] { host.output->answer = false; }, sysex, 1},
        {"no output object", [&] { host.output.reset(); }, sysex, 0},
    };
    for (const Case& c : cases) {
        host.output = std::make_unique<RecordingMidiOutput>();
        RecordingMidiOutput* output = host.output.get();
        c.arrange();
        EXPECT_FALSE(product.SendSysEx(c.message)) << c.what;
        if (host.output) {
            EXPECT_EQ(output->messages.size(), c.recorded) << c.what;
        }
    }

    PluginConfig config = ProductConfig();
    config.midiOut = false;
    FakeHost otherHost;
    TestProduct silent(&otherHost, config);
    EXPECT_FALSE(silent.SendSysEx(sysex));
    EXPECT_FALSE(silent.SendMidiMsg({0, 0x90, 1, 2, 0}));
    EXPECT_TRUE(otherHost.output->messages.empty());
}

TEST_F(StandaloneAppTest, ShortMessagesLeaveWithTheirStatusLength) {
    struct Case {
        uint8_t status;
        size_t bytes; // 0: refused
    };
    const Case cases[] = {
        {0x80, 3}, {0x93, 3}, {0xA0, 3}, {0xBF, 3}, {0xE0, 3}, {0xF2, 3}, {0xC5, 2},
        {0xD0, 2}, {0xF1, 2}, {0xF3, 2}, {0xF6, 1}, {0xF8, 1}, {0xFE, 1}, {0xFF, 1},
        {0x7F, 0}, {0x00, 0}, {0xF0, 0}, {0xF7, 0}, {0xF4, 0}, {0xF5, 0},
    };
    for (const Case& c : cases) {
        host.output->messages.clear();
        EXPECT_EQ(product.SendMidiMsg({0, c.status, 0x11, 0x22, 0}), c.bytes != 0) << int(c.status);
        if (c.bytes == 0) {
            EXPECT_TRUE(host.output->messages.empty()) << int(c.status);
            continue;
        }
        ASSERT_EQ(host.output->messages.size(), 1u);
        const std::vector<uint8_t> want = {c.status, 0x11, 0x22};
        EXPECT_EQ(host.output->messages[0],
                  std::vector<uint8_t>(want.begin(), want.begin() + long(c.bytes)))
            << int(c.status);
    }
}

} // namespace
} // namespace vx::test
