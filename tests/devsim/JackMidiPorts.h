#pragma once

// The simulator's two JACK MIDI ports through RtMidi: <name>-in:midi_in
// receives from the editor, <name>-out:midi_out sends to it.

#include "tests/devsim/SimWire.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

class RtMidiIn;
class RtMidiOut;

namespace devsim {

class JackMidiPorts {
public:
    ~JackMidiPorts();
    JackMidiPorts(const JackMidiPorts&) = delete;
    JackMidiPorts& operator=(const JackMidiPorts&) = delete;

    // Tries until both ports exist, the time is up or giveUp answers true
    // between two tries; on failure error holds JACK's last complaint. JACK's
    // own error and info lines are silenced for the process: the caller says
    // in one line what went wrong.
    static std::unique_ptr<JackMidiPorts> Open(const std::string& name,
                                               std::chrono::milliseconds patience,
                                               const std::function<bool()>& giveUp,
                                               std::string& error);

    // Whether a JACK server answers a client now.
    static bool ServerRunning();

    const std::string& InputPortName() const { return mInputName; }
    const std::string& OutputPortName() const { return mOutputName; }

    void Send(const Bytes& message);
    // The oldest received message, waiting at most timeout for one.
    std::optional<Bytes> Receive(std::chrono::milliseconds timeout);

private:
    JackMidiPorts() = default;
    bool TryOpen(const std::string& name, std::string& error);
    static void OnMidi(double stamp, std::vector<unsigned char>* message, void* self);

    std::unique_ptr<RtMidiIn> mIn;
    std::unique_ptr<RtMidiOut> mOut;
    std::string mInputName;
    std::string mOutputName;
    std::mutex mLock;
    std::condition_variable mArrived;
    std::deque<Bytes> mInbox;
};

} // namespace devsim
