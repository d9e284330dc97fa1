#include "tests/framework/host/FakeAudioSystem.h"

#include <chrono>
#include <stdexcept>

namespace host::test {

namespace {

constexpr size_t kMaxRecords = 2000;

} // namespace

std::vector<std::string> FakeAudioState::Calls() {
    std::lock_guard lock(mutex);
    return calls;
}

std::vector<CallbackRecord> FakeAudioState::Records() {
    std::lock_guard lock(mutex);
    return records;
}

std::unique_ptr<IAudioInterface> FakeAudioSystem::Create(int driver) {
    {
        std::lock_guard lock(mState->mutex);
        mState->calls.push_back("create " + std::to_string(driver));
    }
    if (driver < 0 || static_cast<size_t>(driver) >= mState->drivers.size())
        return nullptr;
    return std::make_unique<FakeAudioInterface>(mState);
}

void FakeAudioInterface::Step(const std::string& call, const std::string& detail) {
    std::lock_guard lock(mState->mutex);
    mState->calls.push_back(call + (detail.empty() ? "" : " " + detail));
    if (mState->throwingCalls.count(call))
        throw std::runtime_error("fake audio: " + call + " failed");
}

AudioDeviceInfo FakeAudioInterface::DeviceInfo(unsigned id) {
    Step("info");
    return mState->devices.at(id);
}

void FakeAudioInterface::OpenStream(const AudioStreamSide& output, const AudioStreamSide* input,
                                    unsigned sampleRate, unsigned& frames, AudioCallback callback,
                                    void* user) {
    Step("open",
         "out " + std::to_string(output.deviceId) + "x" + std::to_string(output.channels) + " in " +
             (input ? std::to_string(input->deviceId) + "x" + std::to_string(input->channels)
                    : std::string("none")) +
             " " + std::to_string(sampleRate) + " " + std::to_string(frames));
    if (mState->grantedFrames)
        frames = mState->grantedFrames;
    mFrames = frames;
    mOutChannels = output.channels;
    mInChannels = input ? input->channels : 0;
    mCallback = callback;
    mUser = user;
    mOpen = true;
}

void FakeAudioInterface::StartStream() {
    Step("start");
    mRunning = true;
    mThread = std::thread([this] { Run(); });
}

void FakeAudioInterface::Run() {
    std::vector<double> output(static_cast<size_t>(mOutChannels) * mFrames);
    std::vector<double> input(static_cast<size_t>(mInChannels) * mFrames);
    while (mRunning) {
        if (mState->callbackThread) {
            std::fill(output.begin(), output.end(), -1.0); // the host must overwrite it all
            std::fill(input.begin(), input.end(), 1.0);
            mCallback(output.empty() ? nullptr : output.data(),
                      input.empty() ? nullptr : input.data(), mFrames, mUser);
            ++mState->callbacks;
            std::lock_guard lock(mState->mutex);
            if (mState->records.size() < kMaxRecords)
                mState->records.push_back({mFrames, output});
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void FakeAudioInterface::EndThread() {
    mRunning = false;
    if (mThread.joinable())
        mThread.join();
}

void FakeAudioInterface::StopStream() {
    EndThread();
    Step("stop");
}

void FakeAudioInterface::AbortStream() {
    EndThread();
    Step("abort");
}

void FakeAudioInterface::CloseStream() {
    EndThread();
    mOpen = false;
    Step("close");
}

} // namespace host::test
