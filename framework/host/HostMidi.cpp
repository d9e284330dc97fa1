#include "framework/host/StandaloneHost.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>
#include <utility>

namespace host {

namespace {

void PrintError(const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
}

} // namespace

// Both directions come from the first back end where both objects construct;
// with none the program runs on without MIDI.
bool StandaloneHost::CreateMidiPorts() {
    for (MidiApi api : mOptions.midiApiOrder) {
        std::unique_ptr<IMidiInput> in;
        std::unique_ptr<IMidiOutput> out;
        try {
            in = mOptions.midi->CreateInput(api, "RtMidi Input Client", 100);
            out = mOptions.midi->CreateOutput(api, "RtMidi Output Client");
            in->SetCallback(&StandaloneHost::OnMidiInput, this);
            in->IgnoreTypes(false, true, false);
        } catch (const std::exception& e) {
            PrintError(e);
            continue;
        }
        ReplaceMidiObjects(std::move(in), std::move(out));
        return true;
    }
    ReplaceMidiObjects(nullptr, nullptr);
    return false;
}

void StandaloneHost::ReplaceMidiObjects(std::unique_ptr<IMidiInput> in,
                                        std::unique_ptr<IMidiOutput> out) {
    if (mMidiIn) {
        try {
            mMidiIn->CancelCallback();
        } catch (const std::exception& e) {
            PrintError(e);
        }
    }
    ClosePort(MidiDirection::Input);
    mMidiIn = std::move(in);
    ClosePort(MidiDirection::Output);
    std::lock_guard lock(mSendMutex);
    mMidiOutPort.Attach(out.get());
    mMidiOut = std::move(out);
}

std::optional<std::vector<std::string>> StandaloneHost::TryPortNames(IMidiPort& port) const {
    std::vector<std::string> names;
    try {
        const unsigned count = port.PortCount();
        for (unsigned i = 0; i < count; ++i)
            names.push_back(port.PortName(i));
    } catch (const std::exception& e) {
        PrintError(e);
        return std::nullopt;
    }
    return names;
}

std::vector<std::string> StandaloneHost::LivePortNames(IMidiPort& port) const {
    return TryPortNames(port).value_or(std::vector<std::string>{});
}

// Listed afresh each time: ports come and go while the program runs.
void StandaloneHost::ListMidiPorts() {
    if (!HasMidiObjects())
        return;
    mMidiInputNames = {"off", "virtual input"};
    for (std::string& name : LivePortNames(*mMidiIn))
        mMidiInputNames.push_back(std::move(name));
    mMidiOutputNames = {"off", "virtual output"};
    for (std::string& name : LivePortNames(*mMidiOut))
        mMidiOutputNames.push_back(std::move(name));
}

bool StandaloneHost::HasMidiPortsChosen() const {
    return !NamesNoPort(mSettings.midiInput) && !NamesNoPort(mSettings.midiOutput);
}

// A port that left the list while open means the device is gone. Nothing is
// touched then (the JACK server may be going away with it, and a client of a
// dying server must not be called); once a stored port is listed again both
// MIDI objects are made afresh (a JACK client whose peer died in the middle
// of a cycle may never run again) and the port is opened. A listing that
// fails or lists nothing at all says nothing about the device.
bool StandaloneHost::RefindMidiPorts() {
    bool lost = false;
    for (const MidiDirection direction : {MidiDirection::Input, MidiDirection::Output}) {
        IMidiPort* port = Port(direction);
        std::string& opened = OpenedPortName(direction);
        if (!port || opened.empty())
            continue;
        const auto live = TryPortNames(*port);
        if (!live || live->empty())
            return false;
        if (std::find(live->begin(), live->end(), opened) != live->end())
            continue;
        opened.clear();
        mMidiObjectsStale = true;
        lost = true;
    }
    for (const MidiDirection direction : {MidiDirection::Input, MidiDirection::Output}) {
        const IMidiPort* port = Port(direction);
        if (!port || !OpenedPortName(direction).empty())
            continue;
        const std::string& stored =
            direction == MidiDirection::Input ? mSettings.midiInput : mSettings.midiOutput;
        const auto live = TryPortNames(*Port(direction));
        if (!live || FindMidiPort(direction, stored, *live).index < 2)
            continue;
        if (std::exchange(mMidiObjectsStale, false) && !CreateMidiPorts())
            return lost;
        OpenMidiPortByName(direction, stored);
    }
    ListMidiPorts();
    return lost;
}

IMidiPort* StandaloneHost::Port(MidiDirection direction) const {
    if (direction == MidiDirection::Input)
        return mMidiIn.get();
    return mMidiOut.get();
}

std::string& StandaloneHost::OpenedPortName(MidiDirection direction) {
    return direction == MidiDirection::Input ? mOpenedInputPort : mOpenedOutputPort;
}

bool StandaloneHost::OpenMidiPortByName(MidiDirection direction, const std::string& name) {
    IMidiPort* port = Port(direction);
    if (!port)
        return false;
    return OpenMidiPortByName(direction, name, LivePortNames(*port));
}

bool StandaloneHost::OpenMidiPortByName(MidiDirection direction, const std::string& name,
                                        const std::vector<std::string>& live) {
    IMidiPort* port = Port(direction);
    if (!port)
        return false;
    std::string& stored =
        direction == MidiDirection::Input ? mSettings.midiInput : mSettings.midiOutput;
    const PortMatch match = FindMidiPort(direction, name, live);
    // A stored port that is not listed now (the pedal unplugged or not yet
    // powered) stays stored: the direction stays closed until it comes back.
    if (match.index >= 0 && !match.liveName.empty()) {
        stored = match.liveName;
        SaveSettings();
    } else if (match.index < 0 && NamesNoPort(name) && stored != "off") {
        stored = "off";
        SaveSettings();
    }
    ClosePort(direction);
    const int index = std::max(match.index, 0);
    const bool opened = OpenPort(*port, direction, index);
    if (opened && index >= 2)
        OpenedPortName(direction) = match.liveName.empty() ? name : match.liveName;
    return opened;
}

bool StandaloneHost::OpenPort(IMidiPort& port, MidiDirection direction, int index) {
    if (index == 0)
        return true;
    const bool input = direction == MidiDirection::Input;
    std::unique_lock lock(mSendMutex, std::defer_lock);
    if (!input)
        lock.lock();
    try {
        if (index == 1)
            port.OpenVirtualPort(input ? "To OmnarControl" : "From OmnarControl");
        else
            port.OpenPort(static_cast<unsigned>(index - 2),
                          input ? "RtMidi Input" : "RtMidi Output");
    } catch (const std::exception& e) {
        PrintError(e);
        return false;
    }
    if (!input)
        mMidiOutPort.SetOpen(true);
    return true;
}

void StandaloneHost::ClosePort(MidiDirection direction) {
    const bool input = direction == MidiDirection::Input;
    IMidiPort* port = Port(direction);
    if (!port)
        return;
    OpenedPortName(direction).clear();
    std::unique_lock lock(mSendMutex, std::defer_lock);
    if (!input)
        lock.lock();
    try {
        port->ClosePort();
    } catch (const std::exception& e) {
        PrintError(e);
    }
    if (!input)
        mMidiOutPort.SetOpen(false);
}

// The MIDI library's thread: copies only, never blocks, drops what cannot be queued.
void StandaloneHost::OnMidiInput(std::span<const uint8_t> message, void* user) {
    auto* self = static_cast<StandaloneHost*>(user);
    if (message.empty() || self->mShuttingDown.load())
        return;
    if (message.size() <= 3) {
        vx::IMidiMsg msg;
        msg.status = message[0];
        msg.data1 = message.size() > 1 ? message[1] : 0;
        msg.data2 = message.size() > 2 ? message[2] : 0;
        self->mPlugin->PushCallbackMidiMsg(msg);
    } else if (message.size() <= size_t{vx::SysExRecord::kMaxBytes}) {
        self->mPlugin->PushCallbackSysEx(message);
    }
}

} // namespace host
