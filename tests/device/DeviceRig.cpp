#include "tests/device/DeviceRig.h"

#include "framework/Timer.h"

#include <cstdio>

namespace omnar::test {
namespace {

class StubTimer : public vx::Timer {
public:
    void Stop() override {}
};

} // namespace

DeviceRig::DeviceRig(bool panel, devsim::SimState state)
    : editor(std::make_unique<RigEditor>(vx::InstanceInfo{&host})), pedal(std::move(state)) {
    if (panel)
        editor->OpenPanel();
}

void DeviceRig::UITick() {
    DeliverOutgoing();
    StubTimer timer;
    editor->OnUITimer(timer);
}

void DeviceRig::DeliverOutgoing() {
    std::vector<Bytes> outgoing;
    outgoing.swap(host.output->messages);
    for (const Bytes& message : outgoing) {
        sent.push_back(message);
        sentTicks.push_back(ticks);
        for (const Bytes& reply : pedal.Receive(message, nowMs))
            Feed(reply);
    }
    for (const Bytes& reply : pedal.Poll(nowMs))
        Feed(reply);
}

void DeviceRig::Step() {
    StubTimer timer;
    editor->OnZMK3Timer(timer);
    ++ticks;
    for (int i = 0; i < 5; ++i) {
        UITick();
        nowMs += 20;
    }
}

void DeviceRig::Steps(int count) {
    for (int i = 0; i < count; ++i)
        Step();
}

bool DeviceRig::RunUntil(const std::function<bool()>& condition, int maxSteps) {
    for (int i = 0; i < maxSteps; ++i) {
        if (condition())
            return true;
        Step();
    }
    return condition();
}

bool DeviceRig::Connect(int maxSteps) {
    const std::size_t from = sent.size();
    // Connected once the device's current preset came back after the settings.
    return RunUntil(
        [&] {
            return editor->mConnected && !editor->mSlotSyncActive && !editor->mDumpWaitArmed &&
                   !SentWithCommand(0x055B, from).empty();
        },
        maxSteps);
}

void DeviceRig::Feed(const Bytes& message) {
    editor->PushCallbackSysEx(message);
}

void DeviceRig::FeedNow(const Bytes& message) {
    Feed(message);
    UITick();
    DeliverOutgoing();
}

std::vector<Bytes> DeviceRig::SentWithCommand(int command, std::size_t from) const {
    std::vector<Bytes> found;
    for (std::size_t i = from; i < sent.size(); ++i)
        if (CommandOf(sent[i]) == command)
            found.push_back(sent[i]);
    return found;
}

std::vector<std::string> DeviceRig::MessageBoxes() const {
    std::vector<std::string> boxes;
    if (!editor->GetGraphics())
        return boxes;
    // "RunMessageBox <text> <caption> <buttons>"; the captions here are empty.
    for (std::string call : editor->Panel().CallsStartingWith("RunMessageBox ")) {
        call = call.substr(14);
        boxes.push_back(call.substr(0, call.rfind("  ")));
    }
    return boxes;
}

std::string DeviceRig::PresetFile(int slot) const {
    char name[16];
    std::snprintf(name, sizeof name, "%03d.dat", slot + 1);
    return home.PresetsFolder() + name;
}

int CommandOf(const Bytes& message) {
    return message.size() > 5 ? message[4] << 8 | message[5] : -1;
}

std::string Hex(const Bytes& bytes, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < bytes.size() && i < count; ++i) {
        char digits[4];
        std::snprintf(digits, sizeof digits, i ? " %02X" : "%02X", bytes[i]);
        text += digits;
    }
    return text;
}

} // namespace omnar::test
