#pragma once

#include "winlayer/WinTypes.h"

#include <cstdint>
#include <mutex>
#include <span>

namespace vx {

// The host's MIDI output as the plug-in object uses it.
class IMidiOutputPort {
public:
    virtual ~IMidiOutputPort() = default;
    // True while a port, real or virtual, is open.
    virtual bool IsPortOpen() const = 0;
    // Sends one whole message; false when the output library reported a failure.
    virtual bool SendBytes(std::span<const uint8_t> bytes) = 0;
};

// What the plug-in object needs of the standalone host that owns it.
class IStandaloneHostLink {
public:
    virtual ~IStandaloneHostLink() = default;
    // Null when the host has no MIDI output object.
    virtual IMidiOutputPort* MidiOutput() = 0;
    // Held around every send and around the host's port open and close: the
    // output library is not thread-safe and both main and audio thread send.
    virtual std::mutex& MidiOutputMutex() = 0;
    // Null when there is no main window.
    virtual HWND MainWindow() const = 0;
    // Looks the stored MIDI ports up again: closes a direction whose port
    // has left the system's list and reopens one whose port is listed again.
    // True when a port that was open has gone.
    virtual bool RefindMidiPorts() { return false; }
    // False while the user has not chosen both MIDI ports.
    virtual bool HasMidiPortsChosen() const { return true; }
};

// The start-up record handed to the plug-in object's constructor.
struct InstanceInfo {
    IStandaloneHostLink* host = nullptr;
};

} // namespace vx
