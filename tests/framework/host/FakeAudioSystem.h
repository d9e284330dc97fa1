#pragma once

#include "framework/host/AudioSystem.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace host::test {

// One callback as the fake driver ran it: what the host left in the buffers.
struct CallbackRecord {
    unsigned frames = 0;
    std::vector<double> output; // channel-major, exactly channels × frames
};

// The fake driver's devices and stream, shared with the test.
struct FakeAudioState {
    std::vector<std::string> drivers = {"ALSA", "Pulse", "Jack"};
    std::vector<AudioDeviceInfo> devices;
    std::set<std::string> throwingCalls; // "open", "start", "stop", "close", "info"
    unsigned grantedFrames = 0;          // 0: the driver grants what was asked
    bool callbackThread = true;          // false: the stream runs but never calls back
    std::atomic<int> callbacks{0};

    std::mutex mutex;                    // guards what follows
    std::vector<std::string> calls;      // "create 0", "open out 1x2 in none 44100 512", ...
    std::vector<CallbackRecord> records; // the first 2,000
    std::vector<std::string> Calls();
    std::vector<CallbackRecord> Records();
};

class FakeAudioSystem : public IAudioSystem {
public:
    explicit FakeAudioSystem(std::shared_ptr<FakeAudioState> state) : mState(std::move(state)) {}
    std::vector<std::string> DriverNames() override { return mState->drivers; }
    std::unique_ptr<IAudioInterface> Create(int driver) override;

private:
    std::shared_ptr<FakeAudioState> mState;
};

// Runs the host's callback from a thread of its own with buffers of exactly
// the stream's size, so a write past them is caught by the sanitizer.
class FakeAudioInterface : public IAudioInterface {
public:
    explicit FakeAudioInterface(std::shared_ptr<FakeAudioState> state) : mState(std::move(state)) {}
    ~FakeAudioInterface() override { EndThread(); }
    std::string Version() override { return "fake"; }
    unsigned DeviceCount() override { return static_cast<unsigned>(mState->devices.size()); }
    AudioDeviceInfo DeviceInfo(unsigned id) override;
    void OpenStream(const AudioStreamSide& output, const AudioStreamSide* input,
                    unsigned sampleRate, unsigned& frames, AudioCallback callback,
                    void* user) override;
    void StartStream() override;
    void StopStream() override;
    void AbortStream() override;
    void CloseStream() override;
    bool IsStreamOpen() override { return mOpen; }
    bool IsStreamRunning() override { return mRunning; }

private:
    void Step(const std::string& call, const std::string& detail = "");
    void EndThread();
    void Run();

    std::shared_ptr<FakeAudioState> mState;
    bool mOpen = false;
    std::atomic<bool> mRunning{false};
    unsigned mFrames = 0;
    unsigned mInChannels = 0;
    unsigned mOutChannels = 0;
    AudioCallback mCallback = nullptr;
    void* mUser = nullptr;
    std::thread mThread;
};

} // namespace host::test
