// Queries over the channel layouts and the pass-through facilities of the
// processing base; this product uses neither, other products may.
#include "framework/IProcessor.h"

#include <algorithm>
#include <cstring>

namespace vx {

namespace {

bool BusesMatch(const std::vector<BusRecord>& buses, std::span<const int32_t> counts) {
    if (buses.size() != counts.size())
        return false;
    for (size_t i = 0; i < buses.size(); ++i)
        if (buses[i].channelCount != BusRecord::kWildcard && buses[i].channelCount != counts[i])
            return false;
    return true;
}

} // namespace

bool IProcessor::MatchesChannelTotals(int inputs, int outputs) const {
    return std::any_of(mLayouts.begin(), mLayouts.end(), [&](const ChannelLayout& layout) {
        return (inputs < 0 || layout.ChannelTotal(BusDirection::Input) == inputs) &&
               (outputs < 0 || layout.ChannelTotal(BusDirection::Output) == outputs);
    });
}

int IProcessor::MaxBusCount(BusDirection direction, int* lastLayoutWithIt) const {
    int most = 0;
    int layoutIndex = -1;
    for (size_t i = 0; i < mLayouts.size(); ++i) {
        const int count = static_cast<int>(mLayouts[i].Buses(direction).size());
        if (count >= most) {
            most = count;
            layoutIndex = static_cast<int>(i);
        }
    }
    if (lastLayoutWithIt)
        *lastLayoutWithIt = layoutIndex;
    return most;
}

int IProcessor::FindLayoutForBuses(std::span<const int32_t> inputCounts,
                                   std::span<const int32_t> outputCounts) const {
    for (size_t i = 0; i < mLayouts.size(); ++i)
        if (BusesMatch(mLayouts[i].inputBuses, inputCounts) &&
            BusesMatch(mLayouts[i].outputBuses, outputCounts))
            return static_cast<int>(i);
    return -1;
}

int IProcessor::MaxChannelsOfBus(BusDirection direction, int busIndex) const {
    if (mLayouts.empty() || busIndex < 0 || busIndex >= MaxBusCount(direction))
        return 0;
    for (const BusRecord& bus : mLayouts.front().Buses(direction))
        if (bus.channelCount == BusRecord::kWildcard)
            return -1;
    int most = 0;
    for (const ChannelLayout& layout : mLayouts) {
        const auto& buses = layout.Buses(direction);
        if (busIndex < static_cast<int>(buses.size()))
            most = std::max(most, buses[static_cast<size_t>(busIndex)].channelCount);
    }
    return most;
}

double IProcessor::SamplesPerBeat() const {
    return mTimeInfo.tempo > 0.0 ? mSampleRate * 60.0 / mTimeInfo.tempo : 0.0;
}

int32_t IProcessor::PluginTypeCode() const {
    switch (mPluginType) {
    case 0:
        return mMidiIn ? FourCharCode("aumf") : FourCharCode("aufx");
    case 1:
        return FourCharCode("aumu");
    case 2:
        return FourCharCode("aumi");
    case 3:
        return FourCharCode("augn");
    default:
        return FourCharCode("aufx");
    }
}

void IProcessor::ResetPassThroughChannels() {
    MarkChannelsConnected(BusDirection::Input, 2, ChannelCount(BusDirection::Input), false);
    MarkChannelsConnected(BusDirection::Output, 2, ChannelCount(BusDirection::Output), true);
}

void IProcessor::CreateLatencyLine() {
    const int inputs = ChannelCount(BusDirection::Input);
    if (inputs == 0)
        return;
    mLatencyLine = std::make_unique<LatencyLine>();
    mLatencyLine->inputChannels = inputs;
    mLatencyLine->outputChannels = ChannelCount(BusDirection::Output);
    SetLatencyFrames(mLatency);
}

void IProcessor::ZeroScratchBuffers() {
    for (auto* channels : {&mInputChannels, &mOutputChannels})
        for (ChannelRecord& channel : *channels)
            std::fill(channel.scratch.begin(), channel.scratch.end(), 0.0);
}

void IProcessor::PassThroughBuffers(double** inputs, double** outputs, int frames) {
    LatencyLine* line = mLatencyLine.get();
    if (!line || mLatency <= 0 || line->length <= 0) {
        IProcessor::ProcessAudioBlock(inputs, outputs, frames);
        return;
    }
    const int channels = std::min(line->inputChannels, ChannelCount(BusDirection::Output));
    for (int frame = 0; frame < frames; ++frame) {
        for (int c = 0; c < channels; ++c) {
            double& slot = line->buffer[static_cast<size_t>(line->writePos + c * line->length)];
            const double delayed = slot;
            slot = inputs[c][frame];
            outputs[c][frame] = delayed;
        }
        line->writePos = (line->writePos + 1) % line->length;
    }
}

void IProcessor::AttachFloatBuffers(BusDirection direction, int first, int count,
                                    float** hostBuffers, int frames) {
    int next = 0;
    for (ChannelRecord& channel : ChannelRange(direction, first, count)) {
        if (!channel.connected)
            continue;
        channel.hostFloatBuffer = hostBuffers[next++];
        *channel.dataSlot = channel.scratch.empty() ? nullptr : channel.scratch.data();
        if (direction == BusDirection::Input && channel.hostFloatBuffer) {
            const size_t n = std::min(channel.scratch.size(), size_t(std::max(frames, 0)));
            std::copy_n(channel.hostFloatBuffer, n, channel.scratch.begin());
        }
    }
}

void IProcessor::PassThroughToFloatBuffers(double** inputs, double** outputs, int frames,
                                           bool accumulate) {
    PassThroughBuffers(inputs, outputs, frames);
    for (int c = 0; c < ChannelCount(BusDirection::Output); ++c) {
        float* destination = mOutputChannels[static_cast<size_t>(c)].hostFloatBuffer;
        if (!destination || !outputs[c])
            continue;
        for (int frame = 0; frame < frames; ++frame) {
            const auto sample = static_cast<float>(outputs[c][frame]);
            destination[frame] = accumulate ? destination[frame] + sample : sample;
        }
    }
}

} // namespace vx
