#include "framework/IProcessor.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace vx {

namespace {

void MakeChannels(std::vector<ChannelRecord>& channels, std::vector<double*>& data, int count) {
    data.assign(static_cast<size_t>(std::max(count, 0)), nullptr);
    channels.resize(data.size());
    for (size_t i = 0; i < channels.size(); ++i)
        channels[i].dataSlot = &data[i];
}

} // namespace

IProcessor::IProcessor(const PluginConfig& config)
    : mPluginType(config.pluginType), mMidiIn(config.midiIn), mMidiOut(config.midiOut),
      mMpe(config.mpe), mLatency(config.latency) {
    ChannelIOTotals totals;
    ParseChannelIO(config.channelIOText ? config.channelIOText : "", mLayouts, totals);
    MakeChannels(mInputChannels, mInputData, totals.maxInputChannels);
    MakeChannels(mOutputChannels, mOutputData, totals.maxOutputChannels);
}

void IProcessor::ProcessAudioBlock(double** inputs, double** outputs, int frames) {
    const int inputCount = ChannelCount(BusDirection::Input);
    const size_t bytes = sizeof(double) * static_cast<size_t>(std::max(frames, 0));
    for (int i = 0; i < ChannelCount(BusDirection::Output); ++i) {
        if (!outputs[i])
            continue;
        if (i < inputCount && inputs[i])
            std::memmove(outputs[i], inputs[i], bytes);
        else
            std::memset(outputs[i], 0, bytes);
    }
}

bool IProcessor::SendMidiMsgs(std::span<const IMidiMsg> messages) {
    bool allSent = true;
    for (const IMidiMsg& msg : messages)
        allSent = SendMidiMsg(msg) && allSent;
    return allSent;
}

void IProcessor::GetBusName(BusDirection direction, int busIndex, int busCount,
                            VxString& name) const {
    if (direction == BusDirection::Output) {
        if (busCount == 1)
            name.SetBounded("Output");
        else
            name.SetFormatted(32, "Output %i", busIndex);
    } else if (busCount == 2) {
        name.SetBounded(busIndex == 0 ? "Main" : "Aux");
    } else if (busCount == 1) {
        name.SetBounded("Input");
    } else {
        name.SetFormatted(32, "Input %i", busIndex);
    }
}

void IProcessor::SetLatencyFrames(int frames) {
    mLatency = frames;
    if (mLatencyLine) {
        mLatencyLine->buffer.assign(
            static_cast<size_t>(std::max(mLatencyLine->inputChannels * frames, 0)), 0.0);
        mLatencyLine->length = std::max(frames, 0);
        mLatencyLine->writePos = 0;
    }
}

std::span<ChannelRecord> IProcessor::ChannelRange(BusDirection direction, int first, int count) {
    auto& channels = Channels(direction);
    const int64_t size = static_cast<int64_t>(channels.size());
    const int64_t begin = std::clamp<int64_t>(first, 0, size);
    const int64_t end = std::clamp<int64_t>(int64_t{first} + count, begin, size);
    return std::span(channels).subspan(static_cast<size_t>(begin),
                                       static_cast<size_t>(end - begin));
}

void IProcessor::MarkChannelsConnected(BusDirection direction, int first, int count,
                                       bool connected) {
    for (ChannelRecord& channel : ChannelRange(direction, first, count)) {
        channel.connected = connected;
        if (!connected)
            *channel.dataSlot = channel.scratch.empty() ? nullptr : channel.scratch.data();
    }
}

int IProcessor::CountConnectedChannels(BusDirection direction) const {
    const auto& channels = Channels(direction);
    return static_cast<int>(std::count_if(channels.begin(), channels.end(),
                                          [](const ChannelRecord& c) { return c.connected; }));
}

void IProcessor::AttachBuffers(BusDirection direction, int first, int count, double** hostBuffers) {
    int next = 0;
    for (ChannelRecord& channel : ChannelRange(direction, first, count)) {
        if (channel.connected)
            *channel.dataSlot = hostBuffers[next++];
    }
}

void IProcessor::SetBlockFrames(int frames) {
    if (frames == mBlockFrames)
        return;
    for (auto* channels : {&mInputChannels, &mOutputChannels})
        for (ChannelRecord& channel : *channels)
            channel.scratch.assign(static_cast<size_t>(std::max(frames, 0)), 0.0);
    mBlockFrames = frames;
}

void IProcessor::RunAudioBlock(int frames) {
    ProcessAudioBlock(PointersOrNull(mInputData), PointersOrNull(mOutputData), frames);
}

void IProcessor::FormatChannelLabel(BusDirection direction, int index, const char* format,
                                    bool zeroBased) {
    auto& channels = Channels(direction);
    if (index < 0 || index >= static_cast<int>(channels.size()))
        return;
    // The format is the caller's, with one integer conversion.
    char text[33];
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    std::snprintf(text, sizeof text, format, zeroBased ? index : index + 1);
#pragma GCC diagnostic pop
    channels[static_cast<size_t>(index)].label.SetBounded(text, 32);
}

} // namespace vx
