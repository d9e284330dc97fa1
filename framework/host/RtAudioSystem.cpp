// The only file that sees the audio library.
#include "framework/host/AudioSystem.h"

#include <RtAudio.h>

#include <algorithm>

namespace host {

namespace {

// The drivers a Linux user may have, in the order they are offered.
constexpr RtAudio::Api kDriverOrder[] = {RtAudio::LINUX_ALSA, RtAudio::LINUX_PULSE,
                                         RtAudio::UNIX_JACK};

std::vector<RtAudio::Api> CompiledDrivers() {
    std::vector<RtAudio::Api> compiled;
    RtAudio::getCompiledApi(compiled);
    std::vector<RtAudio::Api> drivers;
    for (RtAudio::Api api : kDriverOrder)
        if (std::find(compiled.begin(), compiled.end(), api) != compiled.end())
            drivers.push_back(api);
    return drivers;
}

RtAudio::StreamParameters LibrarySide(const AudioStreamSide& side) {
    RtAudio::StreamParameters params;
    params.deviceId = side.deviceId;
    params.nChannels = side.channels;
    params.firstChannel = side.firstChannel;
    return params;
}

class RtAudioInterface : public IAudioInterface {
public:
    explicit RtAudioInterface(RtAudio::Api api) : mLibrary(api) { mLibrary.showWarnings(false); }

    std::string Version() override { return RtAudio::getVersion(); }
    unsigned DeviceCount() override { return mLibrary.getDeviceCount(); }
    AudioDeviceInfo DeviceInfo(unsigned id) override {
        const RtAudio::DeviceInfo info = mLibrary.getDeviceInfo(id);
        return {info.probed,         info.name,           info.inputChannels,
                info.outputChannels, info.isDefaultInput, info.isDefaultOutput,
                info.sampleRates};
    }
    void OpenStream(const AudioStreamSide& output, const AudioStreamSide* input,
                    unsigned sampleRate, unsigned& frames, AudioCallback callback,
                    void* user) override {
        mCallback = callback;
        mUser = user;
        RtAudio::StreamParameters out = LibrarySide(output);
        RtAudio::StreamParameters in = input ? LibrarySide(*input) : RtAudio::StreamParameters{};
        RtAudio::StreamOptions options;
        options.flags = RTAUDIO_NONINTERLEAVED;
        mLibrary.openStream(&out, input ? &in : nullptr, RTAUDIO_FLOAT64, sampleRate, &frames,
                            &RtAudioInterface::Forward, this, &options);
    }
    void StartStream() override { mLibrary.startStream(); }
    void StopStream() override { mLibrary.stopStream(); }
    void AbortStream() override { mLibrary.abortStream(); }
    void CloseStream() override { mLibrary.closeStream(); }
    bool IsStreamOpen() override { return mLibrary.isStreamOpen(); }
    bool IsStreamRunning() override { return mLibrary.isStreamRunning(); }

private:
    static int Forward(void* output, void* input, unsigned frames, double, RtAudioStreamStatus,
                       void* self) {
        auto* audio = static_cast<RtAudioInterface*>(self);
        return audio->mCallback(static_cast<double*>(output), static_cast<double*>(input), frames,
                                audio->mUser);
    }

    RtAudio mLibrary;
    AudioCallback mCallback = nullptr;
    void* mUser = nullptr;
};

class RtAudioSystem : public IAudioSystem {
public:
    std::vector<std::string> DriverNames() override {
        std::vector<std::string> names;
        for (RtAudio::Api api : CompiledDrivers())
            names.push_back(RtAudio::getApiDisplayName(api));
        return names;
    }
    std::unique_ptr<IAudioInterface> Create(int driver) override {
        const std::vector<RtAudio::Api> drivers = CompiledDrivers();
        if (driver < 0 || static_cast<size_t>(driver) >= drivers.size())
            return nullptr;
        return std::make_unique<RtAudioInterface>(drivers[static_cast<size_t>(driver)]);
    }
};

} // namespace

std::unique_ptr<IAudioSystem> MakeRtAudioSystem() {
    return std::make_unique<RtAudioSystem>();
}

} // namespace host
