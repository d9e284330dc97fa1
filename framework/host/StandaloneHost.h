#pragma once

#include "framework/IStandaloneApp.h"
#include "framework/StandaloneHostLink.h"
#include "framework/host/AudioSystem.h"
#include "framework/host/HostMidiOutput.h"
#include "framework/host/HostSettings.h"
#include "framework/host/MidiSystem.h"
#include "framework/host/PortMatch.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace host {

using ProductFactory =
    std::function<std::unique_ptr<vx::IStandaloneApp>(const vx::InstanceInfo& info)>;
// Shows a message to the user: the shell's shows a message box, the default
// prints to standard error.
using MessageFunction = std::function<void(const std::string& text, const std::string& title)>;

struct HostOptions {
    ProductFactory makeProduct;
    MessageFunction showMessage;
    std::vector<MidiApi> midiApiOrder = kDefaultMidiApiOrder;
    std::shared_ptr<IMidiSystem> midi;   // default: the MIDI library
    std::shared_ptr<IAudioSystem> audio; // default: the audio library
};

// Turns the plug-in object into an application: owns it, keeps settings.ini,
// opens the stored audio device and MIDI ports and runs both real-time
// callbacks. Everything but the two callbacks runs on the main thread.
class StandaloneHost : public vx::IStandaloneHostLink {
public:
    static constexpr int kSubBlockFrames = 64;
    static constexpr const char* kSoundcardMessage =
        "Please check your soundcard settings in Preferences";

    // The process-wide host; an earlier one is destroyed first.
    static StandaloneHost& Make(HostOptions options);
    static StandaloneHost* Current();
    static void Destroy();

    explicit StandaloneHost(HostOptions options);
    ~StandaloneHost() override;
    StandaloneHost(const StandaloneHost&) = delete;
    StandaloneHost& operator=(const StandaloneHost&) = delete;

    bool StartUp();
    bool LoadSettings();
    void SaveSettings();
    bool CreateAudioInterface();
    void ListAudioDevices();
    bool CreateMidiPorts();
    void ListMidiPorts();
    bool OpenMidiPortByName(MidiDirection direction, const std::string& name);
    bool RefindMidiPorts() override;
    bool HasMidiPortsChosen() const override;
    bool ApplyAudioSettings();
    bool OpenAudioStream(int inputId, int outputId, int sampleRate, int bufferFrames);
    void CloseAudioStream();
    bool ShowEditor(void* parentWindow);
    void HideEditor();

    // ---- For the preferences dialog ----
    std::vector<std::string> DriverNames() const;
    const std::string& AudioDeviceName(size_t index) const { return mAudioDeviceNames.at(index); }
    const std::vector<std::string>& AudioDeviceNames() const { return mAudioDeviceNames; }
    const std::vector<unsigned>& AudioInputIds() const { return mAudioInputIds; }
    const std::vector<unsigned>& AudioOutputIds() const { return mAudioOutputIds; }
    const std::vector<std::string>& MidiInputNames() const { return mMidiInputNames; }
    const std::vector<std::string>& MidiOutputNames() const { return mMidiOutputNames; }
    // Null without an audio object; the dialog reads channels and rates here.
    IAudioInterface* Audio() { return mAudio.get(); }
    bool HasMidiObjects() const { return mMidiIn && mMidiOut; }
    HostSettings& Settings() { return mSettings; }
    HostSettings& SavedSettings() { return mSavedSettings; }
    const HostSettings& OpenedSettings() const { return mOpenedSettings; }
    bool SettingsAudioEqual(const HostSettings& other) const {
        return AudioEqual(mSettings, other);
    }
    bool SettingsMidiEqual(const HostSettings& other) const { return MidiEqual(mSettings, other); }
    const std::string& SettingsPath() const { return mSettingsPath; }

    vx::IStandaloneApp& Plugin() { return *mPlugin; }
    void SetMainWindow(HWND window) { mMainWindow = window; }
    uint32_t FramesProcessed() const { return mFramesProcessed.load(); }
    int GrantedBufferFrames() const { return static_cast<int>(mGrantedFrames); }
    double StreamRate() const { return mStreamRate; }

    // ---- vx::IStandaloneHostLink ----
    vx::IMidiOutputPort* MidiOutput() override { return mMidiOut ? &mMidiOutPort : nullptr; }
    std::mutex& MidiOutputMutex() override { return mSendMutex; }
    HWND MainWindow() const override { return mMainWindow; }

    // ---- The real-time callbacks ----
    static int OnAudioBuffer(double* output, double* input, unsigned frames, void* user);
    static void OnMidiInput(std::span<const uint8_t> message, void* user);

private:
    void Message(const std::string& text) const;
    void ReplaceMidiObjects(std::unique_ptr<IMidiInput> in, std::unique_ptr<IMidiOutput> out);
    std::optional<std::vector<std::string>> TryPortNames(IMidiPort& port) const;
    std::vector<std::string> LivePortNames(IMidiPort& port) const;
    // Opens the port named among those just listed (the names after "off" and "virtual").
    bool OpenMidiPortByName(MidiDirection direction, const std::string& name,
                            const std::vector<std::string>& live);
    IMidiPort* Port(MidiDirection direction) const;
    std::string& OpenedPortName(MidiDirection direction);
    bool OpenPort(IMidiPort& port, MidiDirection direction, int index);
    void ClosePort(MidiDirection direction);
    int DefaultDevice(int32_t systemId, const std::vector<unsigned>& ids, bool firstStart) const;
    void SizeStreamBuffers();
    void RunSubBlocksInPlace(double* output, double* input, unsigned frames);
    void RunSubBlocksStaged(double* output, double* input, unsigned frames);
    void ProcessSubBlock(double* const* inputs, double* const* outputs);
    void ApplyFades(double* buffer, int channels, unsigned frames, bool fadeOut) const;

    std::unique_ptr<vx::IStandaloneApp> mPlugin;
    HostOptions mOptions;
    std::unique_ptr<IAudioInterface> mAudio;
    std::unique_ptr<IMidiInput> mMidiIn;
    std::unique_ptr<IMidiOutput> mMidiOut;
    HostMidiOutput mMidiOutPort;
    std::mutex mSendMutex;
    HWND mMainWindow = nullptr;

    HostSettings mSettings;
    HostSettings mSavedSettings;
    HostSettings mOpenedSettings;
    double mStreamRate = 44100.0;
    std::atomic<uint32_t> mFramesProcessed{0};
    std::atomic<int32_t> mFirstCallbackDone{0};
    unsigned mGrantedFrames = 512;
    int32_t mSubBlockPos = 0;
    std::atomic<bool> mShuttingDown{false};
    std::atomic<bool> mStopRequested{false};
    std::atomic<bool> mFadedOut{false};
    int32_t mSystemInputDevice = -1;
    int32_t mSystemOutputDevice = -1;
    std::string mSettingsPath;
    std::vector<unsigned> mAudioInputIds;
    std::vector<unsigned> mAudioOutputIds;
    std::vector<std::string> mAudioDeviceNames;
    std::vector<std::string> mMidiInputNames;
    std::vector<std::string> mMidiOutputNames;
    // The listed port each direction has open; empty while closed or virtual.
    std::string mOpenedInputPort;
    std::string mOpenedOutputPort;
    // A port went away while open: the MIDI objects are made afresh before reopening.
    bool mMidiObjectsStale = false;
    int mInputChannels = 0;
    int mOutputChannels = 0;
    // Sized to the channel counts when a stream opens; the callback only reuses them.
    std::vector<double*> mInputPointers;
    std::vector<double*> mOutputPointers;
    // One 64-frame block per channel for callbacks that are not whole sub-blocks.
    std::vector<double> mStagingIn;
    std::vector<double> mStagingOut;
};

} // namespace host
