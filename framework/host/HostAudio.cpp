#include "framework/host/StandaloneHost.h"

#include "winlayer/WinBasics.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace host {

namespace {

void PrintError(const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
}

// "Card: Device" lists as "Device": the part after the last ": ".
std::string ShortDeviceName(const std::string& name) {
    const size_t pair = name.rfind(": ");
    return pair == std::string::npos ? name : name.substr(pair + 2);
}

int FindName(const std::vector<std::string>& names, const std::string& name) {
    const auto it = std::find(names.begin(), names.end(), name);
    return it == names.end() ? -1 : static_cast<int>(it - names.begin());
}

// A dead device never fades: the wait ends after four periods, at least 200 ms.
std::chrono::milliseconds FadeWaitLimit(unsigned frames, double rate) {
    const auto periods =
        std::chrono::milliseconds(rate > 0 ? static_cast<long long>(4000.0 * frames / rate) : 0);
    return std::max(std::chrono::milliseconds(200), periods);
}

} // namespace

// The driver's default device of a direction; on a first start, when the
// driver flags none, its first device of that direction. -1 for none; never
// an id past this listing.
int StandaloneHost::DefaultDevice(int32_t systemId, const std::vector<unsigned>& ids,
                                  bool firstStart) const {
    const auto listed = [&](long long id) {
        return id >= 0 && id < static_cast<long long>(mAudioDeviceNames.size());
    };
    if (listed(systemId) && std::find(ids.begin(), ids.end(), unsigned(systemId)) != ids.end())
        return systemId;
    if (firstStart)
        for (const unsigned id : ids)
            if (listed(id))
                return static_cast<int>(id);
    return -1;
}

std::vector<std::string> StandaloneHost::DriverNames() const {
    try {
        return mOptions.audio->DriverNames();
    } catch (const std::exception& e) {
        PrintError(e);
        return {};
    }
}

bool StandaloneHost::CreateAudioInterface() {
    CloseAudioStream();
    mAudio.reset();
    try {
        mAudio = mOptions.audio->Create(mSettings.driver);
    } catch (const std::exception& e) {
        PrintError(e);
    }
    return mAudio != nullptr;
}

// Every listing starts afresh: ids of an earlier listing, the defaults
// among them, may name devices that are gone.
void StandaloneHost::ListAudioDevices() {
    mAudioInputIds.clear();
    mAudioOutputIds.clear();
    mAudioDeviceNames.clear();
    mSystemInputDevice = -1;
    mSystemOutputDevice = -1;
    if (!mAudio)
        return;
    try {
        std::printf("\nRtAudio Version %s\n", mAudio->Version().c_str());
        mAudio->ListDevices([this](unsigned id, const AudioDeviceInfo& info) {
            const std::string name = ShortDeviceName(info.name);
            mAudioDeviceNames.push_back(name);
            if (!info.probed || name == "Generic Low Latency ASIO Driver") {
                std::printf("%s: Probe Status = Unsuccessful\n", name.c_str());
                return;
            }
            if (info.inputChannels > 0)
                mAudioInputIds.push_back(id);
            if (info.outputChannels > 0)
                mAudioOutputIds.push_back(id);
            if (info.isDefaultInput)
                mSystemInputDevice = static_cast<int32_t>(id);
            if (info.isDefaultOutput)
                mSystemOutputDevice = static_cast<int32_t>(id);
        });
    } catch (const std::exception& e) {
        PrintError(e);
    }
}

bool StandaloneHost::ApplyAudioSettings() {
    const bool needsInput = mPlugin->ChannelCount(vx::BusDirection::Input) > 0;
    int input = FindName(mAudioDeviceNames, mSettings.audioInput);
    int output = FindName(mAudioDeviceNames, mSettings.audioOutput);
    bool messageDue = false;
    bool saveDue = false;
    // The names a fresh settings file holds, which no Linux driver lists.
    const HostSettings fresh;
    const bool firstStart =
        mSettings.audioInput == fresh.audioInput && mSettings.audioOutput == fresh.audioOutput;
    // A stored device that is gone gives way to the system's default, which is kept.
    const auto replaceMissing = [&](int& id, int32_t systemId, const std::vector<unsigned>& ids,
                                    std::string& stored) {
        if (id >= 0)
            return;
        const int fallback = DefaultDevice(systemId, ids, firstStart);
        if (fallback < 0) {
            messageDue = true;
            return;
        }
        id = fallback;
        stored = mAudioDeviceNames[static_cast<size_t>(id)];
        saveDue = true;
    };
    if (needsInput)
        replaceMissing(input, mSystemInputDevice, mAudioInputIds, mSettings.audioInput);
    replaceMissing(output, mSystemOutputDevice, mAudioOutputIds, mSettings.audioOutput);
    if (saveDue)
        SaveSettings();
    if (messageDue)
        Message(kSoundcardMessage);
    if (output < 0 || (needsInput && input < 0))
        return false;
    return OpenAudioStream(input, output, mSettings.sampleRate, mSettings.bufferFrames);
}

void StandaloneHost::SizeStreamBuffers() {
    mInputChannels = mPlugin->ChannelCount(vx::BusDirection::Input);
    mOutputChannels = mPlugin->ChannelCount(vx::BusDirection::Output);
    mInputPointers.assign(static_cast<size_t>(mInputChannels), nullptr);
    mOutputPointers.assign(static_cast<size_t>(mOutputChannels), nullptr);
    mStagingIn.assign(static_cast<size_t>(mInputChannels * kSubBlockFrames), 0.0);
    mStagingOut.assign(static_cast<size_t>(mOutputChannels * kSubBlockFrames), 0.0);
}

bool StandaloneHost::OpenAudioStream(int inputId, int outputId, int sampleRate, int bufferFrames) {
    CloseAudioStream();
    if (!mAudio || outputId < 0 || sampleRate <= 0 || bufferFrames <= 0)
        return false;
    SizeStreamBuffers();
    const AudioStreamSide output{static_cast<unsigned>(outputId),
                                 static_cast<unsigned>(mOutputChannels), 0};
    const AudioStreamSide input{static_cast<unsigned>(std::max(inputId, 0)),
                                static_cast<unsigned>(mInputChannels), 0};
    mGrantedFrames = static_cast<unsigned>(bufferFrames);
    mFirstCallbackDone = 0;
    mSubBlockPos = 0;
    mFramesProcessed = 0;
    mStreamRate = sampleRate;
    mStopRequested = false;
    mFadedOut = false;
    mPlugin->SetBlockFrames(kSubBlockFrames);
    mPlugin->SetSampleRate(mStreamRate);
    mPlugin->OnProcessingReset();
    try {
        mAudio->OpenStream(output, mInputChannels > 0 ? &input : nullptr,
                           static_cast<unsigned>(sampleRate), mGrantedFrames,
                           &StandaloneHost::OnAudioBuffer, this);
        mAudio->StartStream();
    } catch (const std::exception& e) {
        PrintError(e);
        CloseAudioStream();
        return false;
    }
    mOpenedSettings = mSettings;
    return true;
}

void StandaloneHost::CloseAudioStream() {
    if (!mAudio)
        return;
    try {
        if (!mAudio->IsStreamOpen())
            return;
        if (mAudio->IsStreamRunning()) {
            mStopRequested = true;
            const auto limit =
                std::chrono::steady_clock::now() + FadeWaitLimit(mGrantedFrames, mStreamRate);
            while (!mFadedOut && std::chrono::steady_clock::now() < limit)
                Sleep(10);
            if (mFadedOut)
                mAudio->StopStream();
            else
                mAudio->AbortStream();
        }
    } catch (const std::exception& e) {
        PrintError(e);
    }
    try {
        mAudio->CloseStream();
    } catch (const std::exception& e) {
        PrintError(e);
    }
}

} // namespace host
