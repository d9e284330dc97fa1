#include "framework/host/StandaloneHost.h"

#include "platform/sys/Folders.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace host {

namespace {

std::unique_ptr<StandaloneHost>& TheHost() {
    static std::unique_ptr<StandaloneHost> host;
    return host;
}

void PrintMessage(const std::string& text, const std::string& title) {
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
}

} // namespace

StandaloneHost& StandaloneHost::Make(HostOptions options) {
    TheHost().reset();
    TheHost() = std::make_unique<StandaloneHost>(std::move(options));
    return *TheHost();
}

StandaloneHost* StandaloneHost::Current() {
    return TheHost().get();
}

void StandaloneHost::Destroy() {
    TheHost().reset();
}

StandaloneHost::StandaloneHost(HostOptions options)
    : mPlugin(options.makeProduct(vx::InstanceInfo{this})), mOptions(std::move(options)) {
    if (!mOptions.showMessage)
        mOptions.showMessage = PrintMessage;
    if (!mOptions.midi)
        mOptions.midi = MakeRtMidiSystem();
    if (!mOptions.audio)
        mOptions.audio = MakeRtAudioSystem();
}

// Nothing may reach the plug-in object once it is gone: the stream is closed
// and the MIDI objects, whose destructors end the library's threads, are
// deleted first.
StandaloneHost::~StandaloneHost() {
    mShuttingDown = true;
    CloseAudioStream();
    if (mMidiIn) {
        try {
            mMidiIn->CancelCallback();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s\n", e.what());
        }
    }
    ClosePort(MidiDirection::Output);
    ClosePort(MidiDirection::Input);
    {
        std::lock_guard lock(mSendMutex);
        mMidiOutPort.Attach(nullptr);
        mMidiOut.reset();
    }
    mMidiIn.reset();
    mAudio.reset();
    mPlugin.reset();
}

bool StandaloneHost::StartUp() {
    mPlugin->DetectHost("standalone", 0);
    if (!LoadSettings())
        return false;
    CreateAudioInterface();
    ListAudioDevices();
    CreateMidiPorts();
    ListMidiPorts();
    // Each listing asks the MIDI server once per port: the start opens from
    // the lists it has just made (past "off" and "virtual ...").
    const auto listed = [](const std::vector<std::string>& names) {
        return std::vector<std::string>(names.begin() + std::min<size_t>(2, names.size()),
                                        names.end());
    };
    OpenMidiPortByName(MidiDirection::Input, mSettings.midiInput, listed(mMidiInputNames));
    OpenMidiPortByName(MidiDirection::Output, mSettings.midiOutput, listed(mMidiOutputNames));
    mPlugin->NotifyAllParamsChanged(0);
    mPlugin->OnActivate(true);
    return true;
}

bool StandaloneHost::LoadSettings() {
    sys::FolderError error;
    const std::string path = sys::SettingsFilePath(&error);
    if (!error.path.empty()) {
        std::fprintf(stderr, "OmnarControl: cannot make the settings folder %s: %s\n",
                     error.path.c_str(), error.code.message().c_str());
        return false;
    }
    std::error_code ignored;
    if (std::filesystem::exists(path, ignored)) {
        // A file we cannot read is the user's to mend: never overwrite it.
        if (access(path.c_str(), R_OK | W_OK) != 0) {
            std::fprintf(stderr, "OmnarControl: cannot read %s; using defaults\n", path.c_str());
            return true;
        }
        mSettings = ReadHostSettings(path);
    }
    mSettingsPath = path;
    SaveSettings();
    return true;
}

void StandaloneHost::SaveSettings() {
    if (mSettingsPath.empty())
        return;
    if (!WriteHostSettings(mSettingsPath, mSettings))
        std::fprintf(stderr, "OmnarControl: cannot write %s\n", mSettingsPath.c_str());
}

bool StandaloneHost::ShowEditor(void* parentWindow) {
    return mPlugin->OpenEditor(parentWindow) != nullptr;
}

void StandaloneHost::HideEditor() {
    mPlugin->CloseEditor();
}

void StandaloneHost::Message(const std::string& text) const {
    mOptions.showMessage(text, "Error");
}

} // namespace host
