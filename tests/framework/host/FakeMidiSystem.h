#pragma once

#include "framework/host/MidiSystem.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace host::test {

// What the fake MIDI back ends offer and what was done to them. Shared by the
// system and the objects it made, so a test sees both after the host has gone.
struct FakeMidiState {
    std::set<MidiApi> failingApis; // constructing either direction throws
    std::vector<std::string> inputPorts;
    std::vector<std::string> outputPorts;
    std::set<std::string> throwingCalls; // e.g. "out open", "in count", "out send"
    std::vector<std::string> calls;      // "in create jack", "out open 1 RtMidi Output", ...
    std::vector<std::vector<uint8_t>> sent;
    std::mutex mutex; // guards calls and sent: sends may come from any thread
    void Record(const std::string& call);
    bool Called(const std::string& call);
};

class FakeMidiInput;

class FakeMidiSystem : public IMidiSystem {
public:
    explicit FakeMidiSystem(std::shared_ptr<FakeMidiState> state) : mState(std::move(state)) {}
    std::unique_ptr<IMidiInput> CreateInput(MidiApi api, const std::string& client,
                                            unsigned queue) override;
    std::unique_ptr<IMidiOutput> CreateOutput(MidiApi api, const std::string& client) override;

    // The last input made; valid while the host holds it.
    FakeMidiInput* lastInput = nullptr;

private:
    std::shared_ptr<FakeMidiState> mState;
};

// Records the call, then throws when the test asked that call to fail.
void FakeStep(FakeMidiState& state, const std::string& direction, const std::string& call,
              const std::string& detail = "");

// The port list and open port of one direction.
template <class Base>
class FakePort : public Base {
public:
    FakePort(std::shared_ptr<FakeMidiState> state, const char* direction,
             std::vector<std::string> FakeMidiState::*ports)
        : mState(std::move(state)), mDirection(direction), mPorts(ports) {}
    unsigned PortCount() override {
        FakeStep(*mState, mDirection, "count");
        return static_cast<unsigned>(((*mState).*mPorts).size());
    }
    std::string PortName(unsigned index) override { return ((*mState).*mPorts).at(index); }
    void OpenPort(unsigned index, const std::string& name) override {
        FakeStep(*mState, mDirection, "open", std::to_string(index) + " " + name);
    }
    void OpenVirtualPort(const std::string& name) override {
        FakeStep(*mState, mDirection, "virtual", name);
    }
    void ClosePort() override { FakeStep(*mState, mDirection, "close"); }

protected:
    std::shared_ptr<FakeMidiState> mState;
    const char* mDirection;
    std::vector<std::string> FakeMidiState::*mPorts;
};

// Delivers messages as the library's thread would: from a thread of its own
// that the object ends when it is deleted, as the library's does.
class FakeMidiInput : public FakePort<IMidiInput> {
public:
    explicit FakeMidiInput(std::shared_ptr<FakeMidiState> state)
        : FakePort(std::move(state), "in", &FakeMidiState::inputPorts) {}
    ~FakeMidiInput() override;
    void SetCallback(Callback callback, void* user) override;
    void CancelCallback() override;
    void IgnoreTypes(bool sysex, bool timing, bool activeSensing) override;

    // On the calling thread, as if the library had received the message.
    void Deliver(const std::vector<uint8_t>& message);
    // Delivers the message over and over from the library's thread until deleted.
    void StartFeeding(std::vector<uint8_t> message);
    int delivered() const { return mDelivered.load(); }

private:
    std::mutex mCallbackMutex;
    Callback mCallback = nullptr;
    void* mUser = nullptr;
    std::atomic<bool> mFeeding{false};
    std::atomic<int> mDelivered{0};
    std::thread mFeeder;
};

class FakeMidiOutput : public FakePort<IMidiOutput> {
public:
    explicit FakeMidiOutput(std::shared_ptr<FakeMidiState> state)
        : FakePort(std::move(state), "out", &FakeMidiState::outputPorts) {}
    void Send(std::span<const uint8_t> message) override;
};

} // namespace host::test
