#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace host {

// The MIDI library's back ends the host may try, in its own terms.
enum class MidiApi { Alsa, Jack };

// The order the host tries them in: the ALSA sequencer, then JACK.
inline const std::vector<MidiApi> kDefaultMidiApiOrder = {MidiApi::Alsa, MidiApi::Jack};

// One direction's port list and open port. Every call may throw
// std::exception carrying the library's message; the host catches them all.
class IMidiPort {
public:
    virtual ~IMidiPort() = default;
    virtual unsigned PortCount() = 0;
    virtual std::string PortName(unsigned index) = 0;
    virtual void OpenPort(unsigned index, const std::string& clientPortName) = 0;
    virtual void OpenVirtualPort(const std::string& portName) = 0;
    virtual void ClosePort() = 0;
};

class IMidiInput : public IMidiPort {
public:
    // Runs on the library's thread with each whole message.
    using Callback = void (*)(std::span<const uint8_t> message, void* user);
    virtual void SetCallback(Callback callback, void* user) = 0;
    virtual void CancelCallback() = 0;
    virtual void IgnoreTypes(bool sysex, bool timing, bool activeSensing) = 0;
};

class IMidiOutput : public IMidiPort {
public:
    virtual void Send(std::span<const uint8_t> message) = 0;
};

// Makes the input and output objects of one back end; throws when it cannot.
class IMidiSystem {
public:
    virtual ~IMidiSystem() = default;
    virtual std::unique_ptr<IMidiInput> CreateInput(MidiApi api, const std::string& clientName,
                                                    unsigned queueSize) = 0;
    virtual std::unique_ptr<IMidiOutput> CreateOutput(MidiApi api,
                                                      const std::string& clientName) = 0;
};

// The MIDI library itself.
std::unique_ptr<IMidiSystem> MakeRtMidiSystem();

} // namespace host
