#pragma once

#include "framework/IStandaloneApp.h"
#include "tests/support/RecordingCanvas.h"

#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace vx::test {

// The product's configuration: 151 parameters, "0-2", version 1.2.0, MIDI in and out.
PluginConfig ProductConfig();

// A MIDI output that records the bytes it was given. Like the real library it
// is not thread-safe: each byte is appended on its own to one shared wire.
class RecordingMidiOutput : public IMidiOutputPort {
public:
    bool IsPortOpen() const override { return portOpen; }
    bool SendBytes(std::span<const uint8_t> bytes) override;

    bool portOpen = true;
    bool answer = true;
    std::vector<uint8_t> wire;
    std::vector<std::vector<uint8_t>> messages;
};

class FakeHost : public IStandaloneHostLink {
public:
    IMidiOutputPort* MidiOutput() override { return output.get(); }
    std::mutex& MidiOutputMutex() override { return mutex; }
    HWND MainWindow() const override { return window; }
    // Counts the look-ups; reports the port lost once when told to.
    bool RefindMidiPorts() override {
        ++refinds;
        return std::exchange(portLost, false);
    }
    bool HasMidiPortsChosen() const override { return portsChosen; }

    int refinds = 0;
    bool portLost = false;
    bool portsChosen = true;
    std::unique_ptr<RecordingMidiOutput> output = std::make_unique<RecordingMidiOutput>();
    std::mutex mutex;
    HWND window = nullptr;
};

// A product on the standalone object that logs what reaches its handlers:
// "midi 90 3c 64", "sysex F0 .. F7", "ui-param 7 0.25", "ui-midi 90",
// "ui-sysex 6", "idle", "block 64", "change 7 3", "close", "restored".
class TestProduct : public IStandaloneApp {
public:
    enum : int { kBool = 0, kInt = 1, kEnum = 2, kFirstDouble = 3 };
    explicit TestProduct(FakeHost* host, PluginConfig config = ProductConfig());

    void ProcessMidiMessage(const IMidiMsg& msg) override;
    void ProcessSysEx(const ISysEx& sysex) override;
    void ProcessAudioBlock(double** inputs, double** outputs, int frames) override;
    void SendParameterValueToUI(int32_t index, double value, bool normalised) override;
    void HandleMidiMsgOnUI(const IMidiMsg& msg) override;
    void HandleSysExOnUI(const ISysEx& sysex) override;
    void OnParamChangeWithSource(int32_t index, int32_t source, int32_t offset) override;
    void OnEditorClose() override;
    void OnPresetRestored() override;
    void OnIdle() override { log.push_back("idle"); }

    // Runs one UI tick as the 20 ms timer would.
    void Tick();
    int QueuedEditorSysEx() { return SysExFromEditor().Available(); }
    // Log entries that start with the prefix.
    std::vector<std::string> Entries(const std::string& prefix) const;

    std::vector<std::string> log;
    std::function<void()> onEditorClose;
};

// The toolkit's recording context with the platform's attach and detach:
// attach lays out, then pushes every value to the controls.
// Attach and detach also go to a log that outlives the context.
class AttachingCanvas : public RecordingCanvas {
public:
    AttachingCanvas(ui::ICanvasEditorDelegate& delegate, std::vector<std::string>& events,
                    int width, int height, float drawScale)
        : RecordingCanvas(delegate, width, height, drawScale), events(events) {}
    void* AttachToParentWindow(void* parent) override;
    void DetachFromParentWindow() override { events.push_back("detach"); }

    std::vector<std::string>& events;
};

std::string Hex(std::span<const uint8_t> bytes);

} // namespace vx::test
