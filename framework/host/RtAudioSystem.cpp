// The only file that sees the audio library (and, for its JACK driver, JACK).
#include "framework/host/AudioSystem.h"

#include <RtAudio.h>
#include <jack/jack.h>
#include <jack/thread.h>
#include <pthread.h>

#include <algorithm>
#include <cstdlib>

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

// The JACK server's ports as the audio library's JACK driver names them:
// the port list in server order, ended by a null.
class JackPorts {
public:
    JackPorts(jack_client_t* client, const char* pattern, unsigned long flags)
        : mPorts(jack_get_ports(client, pattern, JACK_DEFAULT_AUDIO_TYPE, flags)) {}
    ~JackPorts() { jack_free(mPorts); }
    JackPorts(const JackPorts&) = delete;
    JackPorts& operator=(const JackPorts&) = delete;
    unsigned Count() const {
        unsigned n = 0;
        while (mPorts && mPorts[n])
            ++n;
        return n;
    }
    const char* operator[](unsigned i) const { return mPorts[i]; }

private:
    const char** mPorts;
};

// The audio library opens a JACK client for the device count and another for
// every device's details, each a round of server set-up; this asks the same
// questions in the same way through one client: a device is each run of ports
// sharing the client name before the ':', its channels the ports matching
// that name, its rate the server's, and the first device is the default.
void ListJackDevices(const IAudioInterface::DeviceVisitor& visit) {
    jack_client_t* client = jack_client_open("RtApiJackInfo", JackNoStartServer, nullptr);
    if (!client)
        return; // no server: no devices
    struct Closer {
        jack_client_t* client;
        ~Closer() { jack_client_close(client); }
    } closer{client};
    std::vector<std::string> names;
    {
        const JackPorts ports(client, nullptr, 0);
        for (unsigned i = 0; i < ports.Count(); ++i) {
            const std::string port = ports[i];
            const size_t colon = port.find(':');
            if (colon != std::string::npos &&
                (names.empty() || names.back() != port.substr(0, colon)))
                names.push_back(port.substr(0, colon));
        }
    }
    for (unsigned id = 0; id < names.size(); ++id) {
        AudioDeviceInfo info;
        info.name = names[id];
        info.sampleRates.push_back(jack_get_sample_rate(client));
        // JACK's input ports are the device's output channels, and the other way round.
        info.outputChannels = JackPorts(client, info.name.c_str(), JackPortIsInput).Count();
        info.inputChannels = JackPorts(client, info.name.c_str(), JackPortIsOutput).Count();
        if (info.outputChannels > 0 || info.inputChannels > 0) {
            info.isDefaultOutput = id == 0 && info.outputChannels > 0;
            info.isDefaultInput = id == 0 && info.inputChannels > 0;
            info.probed = true;
        }
        visit(id, info);
    }
}

// JACK makes its client threads through this, so they carry a name of their
// own: a look at the process's threads tells them from the program's.
int CreateNamedJackThread(pthread_t* thread, const pthread_attr_t* attributes,
                          void* (*function)(void*), void* argument) {
    const int result = pthread_create(thread, attributes, function, argument);
    if (result == 0)
        pthread_setname_np(*thread, "jack-client");
    return result;
}

class RtAudioInterface : public IAudioInterface {
public:
    explicit RtAudioInterface(RtAudio::Api api) : mLibrary(api) { mLibrary.showWarnings(false); }

    void ListDevices(const DeviceVisitor& visit) override {
        if (mLibrary.getCurrentApi() == RtAudio::UNIX_JACK)
            ListJackDevices(visit);
        else
            IAudioInterface::ListDevices(visit);
    }

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
    RtAudioSystem() { jack_set_thread_creator(&CreateNamedJackThread); }
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
