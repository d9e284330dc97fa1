#include "framework/IProcessor.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace {

using vx::BusDirection;

struct ParseCase {
    const char* text;
    int layouts;
    vx::ChannelIOTotals totals;
    std::vector<int32_t> firstInputs;
    std::vector<int32_t> firstOutputs;
};

TEST(ParseChannelIO, Table) {
    const ParseCase cases[] = {
        {"0-2", 1, {0, 2, 0, 1}, {}, {2}},       {"1-1 2-2", 2, {2, 2, 1, 1}, {1}, {1}},
        {"*-2", 1, {0, 2, 1, 1}, {-64}, {2}},    {"2.2-2", 1, {4, 2, 2, 1}, {2, 2}, {2}},
        {"  1-1   ", 1, {1, 1, 1, 1}, {1}, {1}}, {"junk", 1, {0, 0, 0, 0}, {}, {}},
        {"", 0, {0, 0, 0, 0}, {}, {}},
    };
    for (const ParseCase& c : cases) {
        std::vector<vx::ChannelLayout> layouts;
        vx::ChannelIOTotals totals{9, 9, 9, 9};
        EXPECT_EQ(vx::ParseChannelIO(c.text, layouts, totals), c.layouts) << c.text;
        EXPECT_EQ(totals.maxInputChannels, c.totals.maxInputChannels) << c.text;
        EXPECT_EQ(totals.maxOutputChannels, c.totals.maxOutputChannels) << c.text;
        EXPECT_EQ(totals.maxInputBuses, c.totals.maxInputBuses) << c.text;
        EXPECT_EQ(totals.maxOutputBuses, c.totals.maxOutputBuses) << c.text;
        if (layouts.empty())
            continue;
        std::vector<int32_t> inputs, outputs;
        for (const auto& bus : layouts[0].inputBuses)
            inputs.push_back(bus.channelCount);
        for (const auto& bus : layouts[0].outputBuses)
            outputs.push_back(bus.channelCount);
        EXPECT_EQ(inputs, c.firstInputs) << c.text;
        EXPECT_EQ(outputs, c.firstOutputs) << c.text;
    }
}

class RecordingProcessor : public vx::IProcessor {
public:
    explicit RecordingProcessor(const char* channelIO, int failOnMessage = -1)
        : IProcessor(Config(channelIO)), mFailOn(failOnMessage) {}
    bool SendMidiMsg(const vx::IMidiMsg& msg) override {
        sent.push_back(msg.status);
        return static_cast<int>(sent.size()) - 1 != mFailOn;
    }
    std::vector<uint8_t> sent;

private:
    static vx::PluginConfig Config(const char* channelIO) {
        vx::PluginConfig config;
        config.channelIOText = channelIO;
        config.pluginType = 2;
        config.midiIn = config.midiOut = true;
        return config;
    }
    int mFailOn;
};

TEST(IProcessor, BusNames) {
    RecordingProcessor processor("0-2");
    struct {
        BusDirection direction;
        int index, count;
        const char* name;
    } cases[] = {
        {BusDirection::Output, 0, 1, "Output"}, {BusDirection::Output, 3, 4, "Output 3"},
        {BusDirection::Input, 0, 2, "Main"},    {BusDirection::Input, 1, 2, "Aux"},
        {BusDirection::Input, 0, 1, "Input"},   {BusDirection::Input, 2, 3, "Input 2"},
    };
    for (const auto& c : cases) {
        VxString name;
        processor.GetBusName(c.direction, c.index, c.count, name);
        EXPECT_STREQ(name.Get(), c.name);
    }
}

TEST(IProcessor, AttachBuffersSkipsUnconnectedChannels) {
    RecordingProcessor processor("3-3");
    processor.SetBlockFrames(8);
    processor.MarkChannelsConnected(BusDirection::Input, 0, 3, true);
    processor.MarkChannelsConnected(BusDirection::Input, 1, 1, false);
    EXPECT_EQ(processor.CountConnectedChannels(BusDirection::Input), 2);

    double a[8], b[8];
    double* host[] = {a, b};
    processor.AttachBuffers(BusDirection::Input, 0, 3, host);
    const auto& scratch = processor.Channel(BusDirection::Input, 1).scratch;
    EXPECT_EQ(*processor.Channel(BusDirection::Input, 0).dataSlot, a);
    EXPECT_EQ(*processor.Channel(BusDirection::Input, 1).dataSlot, scratch.data());
    EXPECT_EQ(*processor.Channel(BusDirection::Input, 2).dataSlot, b);
}

TEST(IProcessor, ChannelRangesAreCutAtBothEnds) {
    struct Case {
        int first, count;
        std::vector<bool> connected;
    };
    constexpr int kMax = std::numeric_limits<int>::max();
    const Case cases[] = {
        {-2, 3, {true, false, false}},       {2, 5, {false, false, true}},
        {1, -1, {false, false, false}},      {1, kMax, {false, true, true}},
        {kMax, kMax, {false, false, false}}, {-kMax, kMax, {false, false, false}},
    };
    for (const Case& c : cases) {
        RecordingProcessor processor("3-3");
        processor.MarkChannelsConnected(BusDirection::Input, c.first, c.count, true);
        std::vector<bool> connected;
        for (int i = 0; i < 3; ++i)
            connected.push_back(processor.Channel(BusDirection::Input, i).connected);
        EXPECT_EQ(connected, c.connected) << c.first << " + " << c.count;
    }
}

TEST(IProcessor, SetBlockFramesSizesAndZeroesEveryScratchBuffer) {
    RecordingProcessor processor("1-2");
    processor.SetBlockFrames(512);
    EXPECT_EQ(processor.BlockFrames(), 512);
    EXPECT_EQ(processor.Channel(BusDirection::Output, 1).scratch.size(), 512u);
    processor.SetBlockFrames(64);
    EXPECT_EQ(processor.Channel(BusDirection::Input, 0).scratch.size(), 64u);
    for (double sample : processor.Channel(BusDirection::Output, 0).scratch)
        EXPECT_EQ(sample, 0.0);
}

TEST(IProcessor, DefaultBlockCopiesInputsAndSilencesTheRest) {
    RecordingProcessor processor("1-2");
    double in[4] = {1, 2, 3, 4};
    double out0[4] = {9, 9, 9, 9}, out1[4] = {9, 9, 9, 9};
    double* inputs[] = {in};
    double* outputs[] = {out0, out1};
    processor.ProcessAudioBlock(inputs, outputs, 4);
    EXPECT_EQ(std::vector<double>(out0, out0 + 4), (std::vector<double>{1, 2, 3, 4}));
    EXPECT_EQ(std::vector<double>(out1, out1 + 4), (std::vector<double>{0, 0, 0, 0}));

    RecordingProcessor silent("0-2");
    out0[0] = out1[3] = 5;
    silent.ProcessAudioBlock(nullptr, outputs, 4);
    EXPECT_EQ(out0[0], 0.0);
    EXPECT_EQ(out1[3], 0.0);
}

TEST(IProcessor, SendMidiMsgsReportsAnyFailureButSendsAll) {
    RecordingProcessor none("0-2");
    EXPECT_TRUE(none.SendMidiMsgs({}));

    RecordingProcessor failing("0-2", 1);
    const vx::IMidiMsg messages[] = {{0, 0x90, 60, 100}, {0, 0x80, 60, 0}, {0, 0xB0, 7, 1}};
    EXPECT_FALSE(failing.SendMidiMsgs(messages));
    EXPECT_EQ(failing.sent, (std::vector<uint8_t>{0x90, 0x80, 0xB0}));
}

TEST(IProcessor, LayoutQueries) {
    RecordingProcessor processor("1-1 2.2-2");
    EXPECT_TRUE(processor.MatchesChannelTotals(4, 2));
    EXPECT_TRUE(processor.MatchesChannelTotals(-1, 1));
    EXPECT_FALSE(processor.MatchesChannelTotals(3, 3));
    int last = -1;
    EXPECT_EQ(processor.MaxBusCount(BusDirection::Input, &last), 2);
    EXPECT_EQ(last, 1);
    const int32_t inputs[] = {2, 2}, outputs[] = {2};
    EXPECT_EQ(processor.FindLayoutForBuses(inputs, outputs), 1);
    EXPECT_EQ(processor.MaxChannelsOfBus(BusDirection::Input, 0), 2);
    EXPECT_EQ(processor.PluginTypeCode(), vx::FourCharCode("aumi"));
    EXPECT_DOUBLE_EQ(processor.SamplesPerBeat(), 24000.0);
}

// Exposes the pass-through facilities that products with a float host use.
class FloatHostProcessor : public RecordingProcessor {
public:
    FloatHostProcessor() : RecordingProcessor("2-2") {}
    using IProcessor::AttachFloatBuffers;
    using IProcessor::PassThroughToFloatBuffers;
};

TEST(IProcessor, FloatHostBuffersAreConvertedInAndOut) {
    FloatHostProcessor processor;
    processor.SetBlockFrames(4);
    processor.MarkChannelsConnected(BusDirection::Input, 0, 2, true);
    processor.MarkChannelsConnected(BusDirection::Output, 0, 2, true);
    float in0[4] = {1, 2, 3, 4}, in1[4] = {5, 6, 7, 8};
    float out0[4] = {10, 10, 10, 10}, out1[4] = {10, 10, 10, 10};
    float* inputs[] = {in0, in1};
    float* outputs[] = {out0, out1};
    // More frames than a block: the scratch takes only a block's worth.
    processor.AttachFloatBuffers(BusDirection::Input, 0, 2, inputs, 64);
    processor.AttachFloatBuffers(BusDirection::Output, 0, 2, outputs, 4);
    // Each channel's slot now points at its scratch.
    const auto slot = [&](BusDirection direction, int index) {
        return *processor.Channel(direction, index).dataSlot;
    };
    double* inScratch[] = {slot(BusDirection::Input, 0), slot(BusDirection::Input, 1)};
    double* outScratch[] = {slot(BusDirection::Output, 0), slot(BusDirection::Output, 1)};
    EXPECT_EQ(inScratch[1][3], 8.0);

    processor.PassThroughToFloatBuffers(inScratch, outScratch, 4, true);
    EXPECT_EQ(out0[0], 11.f);
    EXPECT_EQ(out1[3], 18.f);
    processor.PassThroughToFloatBuffers(inScratch, outScratch, 4, false);
    EXPECT_EQ(out0[0], 1.f);
    EXPECT_EQ(out1[3], 8.f);
}

} // namespace
