#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace host {

struct AudioDeviceInfo {
    bool probed = false;
    std::string name;
    unsigned inputChannels = 0;
    unsigned outputChannels = 0;
    bool isDefaultInput = false;
    bool isDefaultOutput = false;
    std::vector<unsigned> sampleRates;
};

struct AudioStreamSide {
    unsigned deviceId = 0;
    unsigned channels = 0;
    unsigned firstChannel = 0;
};

// Runs on the audio thread with non-interleaved 64-bit float buffers; 0 continues.
using AudioCallback = int (*)(double* output, double* input, unsigned frames, void* user);

// One audio driver's devices and its single stream. Every call may throw
// std::exception carrying the library's message; the host catches them all.
class IAudioInterface {
public:
    virtual ~IAudioInterface() = default;
    virtual std::string Version() = 0;
    virtual unsigned DeviceCount() = 0;
    virtual AudioDeviceInfo DeviceInfo(unsigned id) = 0;
    // Every device of one listing in id order, by default through DeviceCount
    // and DeviceInfo; a driver may answer them all from one look at its server.
    using DeviceVisitor = std::function<void(unsigned id, const AudioDeviceInfo&)>;
    virtual void ListDevices(const DeviceVisitor& visit) {
        const unsigned count = DeviceCount();
        for (unsigned id = 0; id < count; ++id)
            visit(id, DeviceInfo(id));
    }
    // A null input opens an output-only stream; frames may be changed by the driver.
    virtual void OpenStream(const AudioStreamSide& output, const AudioStreamSide* input,
                            unsigned sampleRate, unsigned& frames, AudioCallback callback,
                            void* user) = 0;
    virtual void StartStream() = 0;
    virtual void StopStream() = 0;
    virtual void AbortStream() = 0;
    virtual void CloseStream() = 0;
    virtual bool IsStreamOpen() = 0;
    virtual bool IsStreamRunning() = 0;
};

// The drivers, by display name, and the interface of one of them.
class IAudioSystem {
public:
    virtual ~IAudioSystem() = default;
    virtual std::vector<std::string> DriverNames() = 0;
    // Null for an index outside the list; throws when the driver fails.
    virtual std::unique_ptr<IAudioInterface> Create(int driver) = 0;
};

// The audio library: its compiled drivers in the order ALSA, PulseAudio, JACK.
std::unique_ptr<IAudioSystem> MakeRtAudioSystem();

} // namespace host
