#include "framework/IStandaloneApp.h"

#include "framework/MidiStatus.h"
#include "winlayer/WindowApi.h"

#include <cstring>

namespace vx {

IStandaloneApp::IStandaloneApp(const InstanceInfo& info, const PluginConfig& config)
    : IAPIBase(config, kAPIApp), IProcessor(config), mHost(info.host) {
    MarkChannelsConnected(BusDirection::Input, 0, ChannelCount(BusDirection::Input), true);
    MarkChannelsConnected(BusDirection::Output, 0, ChannelCount(BusDirection::Output), true);
    SetBlockFrames(kInitialBlockFrames);
    StartUITimer();
}

IStandaloneApp::~IStandaloneApp() = default;

bool IStandaloneApp::PushCallbackSysEx(std::span<const uint8_t> bytes, int32_t offset) {
    if (bytes.empty() || bytes.size() > size_t{SysExRecord::kMaxBytes})
        return false;
    SysExRecord record;
    record.offset = offset;
    record.size = static_cast<int32_t>(bytes.size());
    std::memcpy(record.data, bytes.data(), bytes.size());
    return mCallbackSysEx.Push(record);
}

// Takes only what waited when the tick began: the callback keeps pushing while
// this runs, and the editor's rings, emptied every tick, then always have room.
void IStandaloneApp::DrainCallbackQueues() {
    IMidiMsg msg;
    for (int n = mCallbackMidi.Available(); n > 0 && mCallbackMidi.Pop(msg); --n) {
        ProcessMidiMessage(msg);
        MidiToEditor().Push(msg);
    }
    SysExRecord record;
    for (int n = mCallbackSysEx.Available(); n > 0 && mCallbackSysEx.Pop(record); --n) {
        const ISysEx view{record.offset, record.size, record.data};
        ProcessSysEx(view);
        SysExToEditor().Push(record);
    }
}

void IStandaloneApp::ProcessQueuesAndAudio(double** inputs, double** outputs, int) {
    const int inputCount = ChannelCount(BusDirection::Input);
    const int outputCount = ChannelCount(BusDirection::Output);
    MarkChannelsConnected(BusDirection::Input, 0, inputCount, PluginType() != 1);
    MarkChannelsConnected(BusDirection::Output, 0, outputCount, true);
    AttachBuffers(BusDirection::Input, 0, CountConnectedChannels(BusDirection::Input), inputs);
    AttachBuffers(BusDirection::Output, 0, CountConnectedChannels(BusDirection::Output), outputs);
    IMidiMsg msg;
    while (MidiFromEditor().Pop(msg))
        ProcessMidiMessage(msg);
    RunAudioBlock(BlockFrames());
}

bool IStandaloneApp::SendBytes(std::span<const uint8_t> bytes) {
    if (!DoesMidiOut() || !mHost || bytes.empty())
        return false;
    std::lock_guard lock(mHost->MidiOutputMutex());
    IMidiOutputPort* output = mHost->MidiOutput();
    return output && output->IsPortOpen() && output->SendBytes(bytes);
}

bool IStandaloneApp::SendMidiMsg(const IMidiMsg& msg) {
    const uint8_t bytes[3] = {msg.status, msg.data1, msg.data2};
    return SendBytes(std::span(bytes, static_cast<size_t>(ShortMessageLength(msg.status))));
}

bool IStandaloneApp::SendSysEx(const ISysEx& sysex) {
    if (!sysex.data || sysex.size <= 0)
        return false;
    return SendBytes(std::span(sysex.data, static_cast<size_t>(sysex.size)));
}

bool IStandaloneApp::ResizeHostWindow(int width, int height) {
    if (width == EditorWidth() && height == EditorHeight())
        return false;
    const HWND window = mHost ? mHost->MainWindow() : nullptr;
    RECT client{}, frame{};
    if (!window || !GetClientRect(window, &client) || !GetWindowRect(window, &frame))
        return false;
    const int outerWidth = width + (frame.right - frame.left) - client.right;
    const int outerHeight = height + (frame.bottom - frame.top) - client.bottom;
    // Screens are y-down here: keeping the top edge keeps the window where the user put it.
    SetWindowPos(window, nullptr, frame.left, frame.top, outerWidth, outerHeight, 0);
    SetEditorSize(width, height);
    return true;
}

} // namespace vx
