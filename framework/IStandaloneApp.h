#pragma once

#include "framework/IAPIBase.h"
#include "framework/IProcessor.h"
#include "framework/StandaloneHostLink.h"

#include <span>

namespace vx {

// The plug-in object of the standalone application: the API base joined with
// the processing base. The host's MIDI callback fills two rings here; each UI
// tick empties them on the main thread into the MIDI and SysEx handlers, so
// device replies are handled whether or not an audio stream runs. All MIDI
// and SysEx leave through the host's MIDI output.
class IStandaloneApp : public IAPIBase, public IProcessor {
public:
    static constexpr int kCallbackMidiRingSize = 32;
    // An impulse-response dump arrives as a burst of 11 and ticks may be late.
    static constexpr int kCallbackSysExRingSize = 64;
    static constexpr int kInitialBlockFrames = 512;

    IStandaloneApp(const InstanceInfo& info, const PluginConfig& config);
    ~IStandaloneApp() override;

    // ---- MIDI callback thread: false when the message was dropped ----
    bool PushCallbackMidiMsg(const IMidiMsg& msg) { return mCallbackMidi.Push(msg); }
    // 1 to 512 bytes; anything else is refused whole.
    bool PushCallbackSysEx(std::span<const uint8_t> bytes, int32_t offset = 0);

    // ---- Audio thread: connections, buffers, the editor's MIDI, one block ----
    void ProcessQueuesAndAudio(double** inputs, double** outputs, int frames);

    // ---- Any thread: true only when an open port took the whole message ----
    bool SendMidiMsg(const IMidiMsg& msg) override;
    bool SendSysEx(const ISysEx& sysex) override;

    // Keeps the window's top-left corner; false for the current size or no window.
    bool ResizeHostWindow(int width, int height) override;
    void PushSysExFromUI(const ISysEx& sysex) override { SendSysEx(sysex); }

protected:
    void DrainCallbackQueues() override;
    // The host's MIDI port look-up (main thread); without a host nothing is lost.
    bool RefindMidiPorts() { return mHost && mHost->RefindMidiPorts(); }
    // Without a host the ports are the host's business: taken as chosen.
    bool HasMidiPortsChosen() const { return !mHost || mHost->HasMidiPortsChosen(); }

private:
    bool SendBytes(std::span<const uint8_t> bytes);

    IStandaloneHostLink* mHost;
    MidiMsgRing mCallbackMidi{kCallbackMidiRingSize};
    SysExRing mCallbackSysEx{kCallbackSysExRingSize};
};

} // namespace vx
