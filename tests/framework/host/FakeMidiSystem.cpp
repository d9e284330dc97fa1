#include "tests/framework/host/FakeMidiSystem.h"

#include <algorithm>
#include <stdexcept>

namespace host::test {

namespace {

const char* ApiName(MidiApi api) {
    return api == MidiApi::Alsa ? "alsa" : "jack";
}

} // namespace

void FakeStep(FakeMidiState& state, const std::string& direction, const std::string& call,
              const std::string& detail) {
    state.Record(direction + " " + call + (detail.empty() ? "" : " " + detail));
    std::lock_guard lock(state.mutex);
    if (state.throwingCalls.count(direction + " " + call))
        throw std::runtime_error("fake MIDI: " + direction + " " + call + " failed");
}

void FakeMidiState::Record(const std::string& call) {
    std::lock_guard lock(mutex);
    calls.push_back(call);
}

bool FakeMidiState::Called(const std::string& call) {
    std::lock_guard lock(mutex);
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}

std::unique_ptr<IMidiInput> FakeMidiSystem::CreateInput(MidiApi api, const std::string& client,
                                                        unsigned queue) {
    mState->Record(std::string("in create ") + ApiName(api) + " " + client + " " +
                   std::to_string(queue));
    if (mState->failingApis.count(api))
        throw std::runtime_error(std::string("fake MIDI: no ") + ApiName(api));
    auto input = std::make_unique<FakeMidiInput>(mState);
    lastInput = input.get();
    return input;
}

std::unique_ptr<IMidiOutput> FakeMidiSystem::CreateOutput(MidiApi api, const std::string& client) {
    mState->Record(std::string("out create ") + ApiName(api) + " " + client);
    if (mState->failingApis.count(api))
        throw std::runtime_error(std::string("fake MIDI: no ") + ApiName(api));
    return std::make_unique<FakeMidiOutput>(mState);
}

FakeMidiInput::~FakeMidiInput() {
    mFeeding = false;
    if (mFeeder.joinable())
        mFeeder.join();
}

void FakeMidiInput::SetCallback(Callback callback, void* user) {
    FakeStep(*mState, "in", "callback");
    std::lock_guard lock(mCallbackMutex);
    mCallback = callback;
    mUser = user;
}

void FakeMidiInput::CancelCallback() {
    FakeStep(*mState, "in", "cancel");
    std::lock_guard lock(mCallbackMutex);
    mCallback = nullptr;
}

void FakeMidiInput::IgnoreTypes(bool sysex, bool timing, bool activeSensing) {
    FakeStep(*mState, "in", "ignore",
             std::to_string(sysex) + std::to_string(timing) + std::to_string(activeSensing));
}

void FakeMidiInput::Deliver(const std::vector<uint8_t>& message) {
    std::lock_guard lock(mCallbackMutex);
    if (mCallback)
        mCallback(message, mUser);
    ++mDelivered;
}

void FakeMidiInput::StartFeeding(std::vector<uint8_t> message) {
    mFeeding = true;
    mFeeder = std::thread([this, message = std::move(message)] {
        while (mFeeding)
            Deliver(message);
    });
}

void FakeMidiOutput::Send(std::span<const uint8_t> message) {
    FakeStep(*mState, "out", "send");
    std::lock_guard lock(mState->mutex);
    mState->sent.emplace_back(message.begin(), message.end());
}

} // namespace host::test
