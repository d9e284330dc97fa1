#pragma once

#include "framework/ChannelLayout.h"
#include "framework/MidiTypes.h"
#include "framework/PluginConfig.h"
#include "framework/VxString.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace vx {

// Host time; the standalone form never updates it.
struct ITimeInfo {
    double tempo = 120.0;
    double samplePos = -1.0;
    double ppqPos = -1.0;
    double lastBar = -1.0;
    double cycleStart = -1.0;
    double cycleEnd = -1.0;
    int32_t numerator = 4;
    int32_t denominator = 4;
    int32_t transportFlags = 0;
};

// One input or output channel and the buffer the audio callback attached to it.
struct ChannelRecord {
    bool connected = false;
    double** dataSlot = nullptr; // this channel's entry of the processor's pointer array
    float* hostFloatBuffer = nullptr;
    std::vector<double> scratch;
    VxString label;
};

// A delay line for the pass-through: channel c's samples at c * length.
struct LatencyLine {
    std::vector<double> buffer;
    int32_t inputChannels = 0;
    int32_t outputChannels = 0;
    int32_t writePos = 0;
    int32_t length = 0;
};

// The real-time half of a plug-in object: channel layout, channel records with
// their attached buffers, and the MIDI and SysEx entry points and exits.
class IProcessor {
public:
    explicit IProcessor(const PluginConfig& config);
    virtual ~IProcessor() = default;
    IProcessor(const IProcessor&) = delete;
    IProcessor& operator=(const IProcessor&) = delete;

    // Default: inputs copied to the outputs of the same index, other outputs silent.
    virtual void ProcessAudioBlock(double** inputs, double** outputs, int frames);
    // Default: MIDI thru.
    virtual void ProcessMidiMessage(const IMidiMsg& msg) { SendMidiMsg(msg); }
    virtual void ProcessSysEx(const ISysEx&) {}
    virtual void OnProcessingReset() {}
    virtual void OnActivate(bool) {}
    virtual bool SendMidiMsg(const IMidiMsg& msg) = 0;
    // True only when every message was sent.
    virtual bool SendMidiMsgs(std::span<const IMidiMsg> messages);
    virtual bool SendSysEx(const ISysEx&) { return false; }
    virtual void GetBusName(BusDirection direction, int busIndex, int busCount,
                            VxString& name) const;
    virtual void SetLatencyFrames(int frames);
    virtual void SetProcessingOption(int option) { mProcessingOption = option; }

    void MarkChannelsConnected(BusDirection direction, int first, int count, bool connected);
    int CountConnectedChannels(BusDirection direction) const;
    // Each connected channel of the range takes the next host buffer; the
    // unconnected keep their slot.
    void AttachBuffers(BusDirection direction, int first, int count, double** hostBuffers);
    void SetBlockFrames(int frames);
    void RunAudioBlock(int frames);
    void FormatChannelLabel(BusDirection direction, int index, const char* format, bool zeroBased);

    bool MatchesChannelTotals(int inputs, int outputs) const;
    int MaxBusCount(BusDirection direction, int* lastLayoutWithIt = nullptr) const;
    int FindLayoutForBuses(std::span<const int32_t> inputCounts,
                           std::span<const int32_t> outputCounts) const;
    int MaxChannelsOfBus(BusDirection direction, int busIndex) const;
    double SamplesPerBeat() const;
    int32_t PluginTypeCode() const;

    int32_t PluginType() const { return mPluginType; }
    bool DoesMidiIn() const { return mMidiIn; }
    bool DoesMidiOut() const { return mMidiOut; }
    int32_t LatencyFrames() const { return mLatency; }
    double SampleRate() const { return mSampleRate; }
    void SetSampleRate(double rate) { mSampleRate = rate; }
    int BlockFrames() const { return mBlockFrames; }
    int ChannelCount(BusDirection direction) const {
        return static_cast<int>(Channels(direction).size());
    }
    const ChannelRecord& Channel(BusDirection direction, int index) const {
        return Channels(direction)[static_cast<size_t>(index)];
    }
    const std::vector<ChannelLayout>& Layouts() const { return mLayouts; }
    const ITimeInfo& TimeInfo() const { return mTimeInfo; }

protected:
    // Pass-through facilities for products that delay their inputs.
    void ResetPassThroughChannels();
    void CreateLatencyLine();
    void ZeroScratchBuffers();
    void PassThroughBuffers(double** inputs, double** outputs, int frames);
    // For hosts with 32-bit float buffers: each connected channel of the range
    // takes the next host buffer; inputs are converted into the channel's
    // scratch, outputs are processed in their scratch. At most a block's frames.
    void AttachFloatBuffers(BusDirection direction, int first, int count, float** hostBuffers,
                            int frames);
    // The pass-through, then every output with a float buffer receives its
    // samples, replacing or added to what the buffer holds.
    void PassThroughToFloatBuffers(double** inputs, double** outputs, int frames, bool accumulate);

private:
    std::vector<ChannelRecord>& Channels(BusDirection direction) {
        return direction == BusDirection::Input ? mInputChannels : mOutputChannels;
    }
    const std::vector<ChannelRecord>& Channels(BusDirection direction) const {
        return direction == BusDirection::Input ? mInputChannels : mOutputChannels;
    }
    // The channels of [first, first + count) that exist.
    std::span<ChannelRecord> ChannelRange(BusDirection direction, int first, int count);
    static double** PointersOrNull(std::vector<double*>& pointers) {
        return pointers.empty() ? nullptr : pointers.data();
    }

    int32_t mPluginType;
    bool mMidiIn;
    bool mMidiOut;
    bool mMpe;
    int32_t mLatency;
    double mSampleRate = 48000.0;
    int mBlockFrames = 0;
    int mProcessingOption = 0;
    std::vector<ChannelLayout> mLayouts;
    // Sized once here; channel records point into them, so they never grow.
    std::vector<double*> mInputData;
    std::vector<double*> mOutputData;
    std::vector<ChannelRecord> mInputChannels;
    std::vector<ChannelRecord> mOutputChannels;
    std::unique_ptr<LatencyLine> mLatencyLine;
    ITimeInfo mTimeInfo;
};

} // namespace vx
