#include "tests/framework/PluginFixtures.h"

#include "framework/Timer.h"

#include <cstdio>

namespace vx::test {

PluginConfig ProductConfig() {
    PluginConfig config;
    config.paramCount = 151;
    config.presetCount = 1;
    config.channelIOText = "0-2";
    config.pluginName = "OmnarControl";
    config.productName = "OmnarControl";
    config.makerName = "Vorlix";
    config.version = 0x00010200;
    config.uniqueId = FourCharCode("dMOq"); // its bytes in memory read q, O, M, d
    config.makerId = FourCharCode("Vrlx");
    config.midiIn = true;
    config.midiOut = true;
    config.pluginType = 2;
    config.hasUI = true;
    config.width = 1920;
    config.height = 1200;
    config.minWidth = 640;
    config.maxWidth = 5760;
    config.minHeight = 400;
    config.maxHeight = 3600;
    config.bundleId = "com.Vorlixinc.app.OmnarControl";
    config.appGroupId = "group.com.Vorlixinc.OmnarControl";
    return config;
}

std::string Hex(std::span<const uint8_t> bytes) {
    std::string text;
    for (uint8_t byte : bytes) {
        char buf[4];
        std::snprintf(buf, sizeof buf, text.empty() ? "%02X" : " %02X", byte);
        text += buf;
    }
    return text;
}

bool RecordingMidiOutput::SendBytes(std::span<const uint8_t> bytes) {
    for (uint8_t byte : bytes)
        wire.push_back(byte);
    messages.emplace_back(bytes.begin(), bytes.end());
    return answer;
}

TestProduct::TestProduct(FakeHost* host, PluginConfig config)
    : IStandaloneApp(InstanceInfo{host}, config) {
    if (NParams() < kFirstDouble)
        return;
    GetParam(kBool)->SetUpBool("Bypass", false, "", 0, "switches", "off", "on");
    GetParam(kInt)->SetUpInt("Slot", 3, 0, 127, "", 0, "switches");
    GetParam(kEnum)->SetUpEnum("Room", 1, 5, "", 0, "", "Room", "Hall", "Arena", "Spring", "Plate");
    for (int i = kFirstDouble; i < NParams(); ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "Knob %d", i);
        GetParam(i)->SetUpDouble(name, 50.0, 0.0, 100.0, 0.0, "", 0, i < 10 ? "knobs" : "");
    }
}

void TestProduct::ProcessMidiMessage(const IMidiMsg& msg) {
    const uint8_t bytes[] = {msg.status, msg.data1, msg.data2};
    log.push_back("midi " + Hex(bytes));
}

void TestProduct::ProcessSysEx(const ISysEx& sysex) {
    log.push_back("sysex " + Hex(std::span(sysex.data, size_t(sysex.size))));
}

void TestProduct::ProcessAudioBlock(double** inputs, double** outputs, int frames) {
    log.push_back("block " + std::to_string(frames));
    IStandaloneApp::ProcessAudioBlock(inputs, outputs, frames);
}

void TestProduct::SendParameterValueToUI(int32_t index, double value, bool normalised) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "ui-param %d %g", index, value);
    log.push_back(buf);
    IStandaloneApp::SendParameterValueToUI(index, value, normalised);
}

void TestProduct::HandleMidiMsgOnUI(const IMidiMsg& msg) {
    const uint8_t bytes[] = {msg.status};
    log.push_back("ui-midi " + Hex(bytes));
}

void TestProduct::HandleSysExOnUI(const ISysEx& sysex) {
    log.push_back("ui-sysex " + std::to_string(sysex.size));
}

void TestProduct::OnParamChangeWithSource(int32_t index, int32_t source, int32_t offset) {
    log.push_back("change " + std::to_string(index) + " " + std::to_string(source));
    IStandaloneApp::OnParamChangeWithSource(index, source, offset);
}

void TestProduct::OnEditorClose() {
    log.push_back("close");
    if (onEditorClose)
        onEditorClose();
}

void TestProduct::OnPresetRestored() {
    log.push_back("restored");
    IStandaloneApp::OnPresetRestored();
}

namespace {
struct StubTimer : Timer {
    void Stop() override {}
};
} // namespace

void TestProduct::Tick() {
    StubTimer timer;
    OnUITimer(timer);
}

std::vector<std::string> TestProduct::Entries(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const std::string& entry : log)
        if (entry.starts_with(prefix))
            found.push_back(entry);
    return found;
}

void* AttachingCanvas::AttachToParentWindow(void* parent) {
    events.push_back("attach " + Num(Width()) + "x" + Num(Height()) + "@" + Num(GetDrawScale()));
    GetDelegate().RunLayoutFunc(this);
    GetDelegate().OnStateRestored();
    return parent;
}

} // namespace vx::test
