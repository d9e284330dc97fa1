#pragma once

#include "framework/StandaloneHostLink.h"
#include "framework/host/MidiSystem.h"

namespace host {

// The plug-in object's view of the host's MIDI output. Whether a port is open
// is this object's own record of a successful open: the library answers false
// for a virtual port. Callers hold the host's send mutex.
class HostMidiOutput : public vx::IMidiOutputPort {
public:
    void Attach(IMidiOutput* output) {
        mOutput = output;
        mOpen = false;
    }
    void SetOpen(bool open) { mOpen = open; }
    bool IsPortOpen() const override { return mOutput && mOpen; }
    bool SendBytes(std::span<const uint8_t> bytes) override;

private:
    IMidiOutput* mOutput = nullptr;
    bool mOpen = false;
};

} // namespace host
