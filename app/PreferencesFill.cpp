#include "app/AppShell.h"
#include "app/ComboLists.h"
#include "app/ConfigTool.h"
#include "app/PreferencesSteps.h"
#include "app/ShellIds.h"
#include "winlayer/window/WindowCalls.h"

#include <array>
#include <cstdio>
#include <optional>

namespace shell {

namespace {

constexpr std::array<const char*, 11> kBufferSizes = {"32",  "64",   "96",   "128",  "192", "256",
                                                      "512", "1024", "2048", "4096", "8192"};
constexpr int kMidiChannels = 16;

// The last listed device of that name, else the first; -1 with none listed.
int ChooseDevice(const host::StandaloneHost& host, const std::vector<unsigned>& ids,
                 const std::string& stored) {
    int chosen = ids.empty() ? -1 : 0;
    for (size_t i = 0; i < ids.size(); ++i)
        if (host.AudioDeviceName(ids[i]) == stored)
            chosen = int(i);
    return chosen;
}

int FillDeviceList(host::StandaloneHost& host, HWND dialog, int id,
                   const std::vector<unsigned>& ids, const std::string& stored) {
    ResetList(dialog, id);
    for (unsigned device : ids)
        AddToList(dialog, id, host.AudioDeviceName(device));
    const int chosen = ChooseDevice(host, ids, stored);
    SelectInList(dialog, id, chosen);
    return chosen;
}

std::optional<host::AudioDeviceInfo> Probe(host::StandaloneHost& host,
                                           const std::vector<unsigned>& ids, int chosen) {
    if (chosen < 0 || !host.Audio())
        return std::nullopt;
    try {
        host::AudioDeviceInfo info = host.Audio()->DeviceInfo(ids[size_t(chosen)]);
        if (info.probed)
            return info;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
    }
    return std::nullopt;
}

// The first list gets 1 ... channels - 1, the second 1 ... channels.
void FillChannelPair(HWND dialog, int firstId, int secondId, unsigned channels, int first,
                     int second) {
    ResetList(dialog, firstId);
    ResetList(dialog, secondId);
    for (unsigned c = 1; c <= channels; ++c) {
        if (c < channels)
            AddToList(dialog, firstId, std::to_string(c));
        AddToList(dialog, secondId, std::to_string(c));
    }
    SelectInList(dialog, firstId, first - 1);
    SelectInList(dialog, secondId, second - 1);
}

// The input device's rates that the output device also offers; with no
// input device, the output device's own.
std::vector<unsigned> CommonRates(const std::optional<host::AudioDeviceInfo>& input,
                                  const std::optional<host::AudioDeviceInfo>& output,
                                  bool inputListed) {
    if (!output)
        return {};
    if (!inputListed)
        return output->sampleRates;
    if (!input)
        return {};
    std::vector<unsigned> rates;
    for (unsigned rate : input->sampleRates)
        for (unsigned offered : output->sampleRates)
            if (rate == offered) {
                rates.push_back(rate);
                break;
            }
    return rates;
}

void FillRates(host::StandaloneHost& host, HWND dialog, const std::vector<unsigned>& rates) {
    ResetList(dialog, kSampleRateList);
    int selected = -1;
    for (unsigned rate : rates) {
        const int index = AddToList(dialog, kSampleRateList, std::to_string(rate));
        SendMessage(GetDlgItem(dialog, kSampleRateList), CB_SETITEMDATA, WPARAM(index),
                    LPARAM(rate));
        if (int(rate) == host.Settings().sampleRate)
            selected = index;
    }
    SelectInList(dialog, kSampleRateList, selected);
}

// The stored port's entry by the host's port matching.
void FillMidiPorts(HWND dialog, int id, host::MidiDirection direction,
                   const std::vector<std::string>& names, const std::string& stored) {
    ResetList(dialog, id);
    AddAllToList(dialog, id, names);
    constexpr size_t kFixedEntries = 2; // "off" and the virtual port
    const std::vector<std::string> live(
        names.size() > kFixedEntries ? names.begin() + kFixedEntries : names.end(), names.end());
    const host::PortMatch match = host::FindMidiPort(direction, stored, live);
    if (match.index >= 0 && match.index < int(names.size())) {
        SelectInList(dialog, id, match.index);
        return;
    }
    // A stored port that is not plugged in stays the choice, shown as missing;
    // the reader's "no input" and "no output" name none.
    if (host::NamesNoPort(stored)) {
        SelectInList(dialog, id, 0);
        return;
    }
    SelectInList(dialog, id, AddToList(dialog, id, MissingPortEntry(stored)));
}

void FillMidiChannels(HWND dialog, int id, int stored) {
    ResetList(dialog, id);
    AddToList(dialog, id, "all");
    for (int channel = 1; channel <= kMidiChannels; ++channel)
        AddToList(dialog, id, std::to_string(channel));
    SelectInList(dialog, id, stored >= 0 && stored <= kMidiChannels ? stored : -1);
}

} // namespace

std::string MissingPortEntry(const std::string& stored) {
    return stored + " (not found)";
}

std::string ChosenMidiPort(const std::string& entry, const std::string& stored) {
    return entry == MissingPortEntry(stored) ? stored : entry;
}

void FillDriverList(host::StandaloneHost& host, HWND dialog) {
    const std::vector<std::string> drivers = host.DriverNames();
    ResetList(dialog, kDriverList);
    AddAllToList(dialog, kDriverList, drivers);
    const int driver = host.Settings().driver;
    SelectInList(dialog, kDriverList, driver >= 0 && driver < int(drivers.size()) ? driver : -1);
}

void FillDeviceLists(host::StandaloneHost& host, HWND dialog) {
    host::HostSettings& settings = host.Settings();
    const int input =
        FillDeviceList(host, dialog, kInputDeviceList, host.AudioInputIds(), settings.audioInput);
    const int output = FillDeviceList(host, dialog, kOutputDeviceList, host.AudioOutputIds(),
                                      settings.audioOutput);
    const auto inputInfo = Probe(host, host.AudioInputIds(), input);
    const auto outputInfo = Probe(host, host.AudioOutputIds(), output);
    ResetList(dialog, kInput1List);
    ResetList(dialog, kInput2List);
    ResetList(dialog, kOutput1List);
    ResetList(dialog, kOutput2List);
    if (inputInfo)
        FillChannelPair(dialog, kInput1List, kInput2List, inputInfo->inputChannels, settings.input1,
                        settings.input2);
    if (outputInfo)
        FillChannelPair(dialog, kOutput1List, kOutput2List, outputInfo->outputChannels,
                        settings.output1, settings.output2);
    FillRates(host, dialog, CommonRates(inputInfo, outputInfo, input >= 0));
}

void FillBufferSizes(host::StandaloneHost& host, HWND dialog) {
    ResetList(dialog, kBufferSizeList);
    int selected = -1;
    const std::string stored = std::to_string(host.Settings().bufferFrames);
    for (const char* size : kBufferSizes) {
        const int index = AddToList(dialog, kBufferSizeList, size);
        if (stored == size)
            selected = index;
    }
    SelectInList(dialog, kBufferSizeList, selected);
}

void FillMidiLists(host::StandaloneHost& host, HWND dialog) {
    if (!host.HasMidiObjects())
        return;
    const host::HostSettings& settings = host.Settings();
    FillMidiPorts(dialog, kMidiInputList, host::MidiDirection::Input, host.MidiInputNames(),
                  settings.midiInput);
    FillMidiPorts(dialog, kMidiOutputList, host::MidiDirection::Output, host.MidiOutputNames(),
                  settings.midiOutput);
    FillMidiChannels(dialog, kMidiInputChannelList, settings.midiInputChannel);
    FillMidiChannels(dialog, kMidiOutputChannelList, settings.midiOutputChannel);
}

void FillConfigButton(HWND dialog) {
    EnableWindow(GetDlgItem(dialog, kConfigButton), FindConfigTool().empty() ? FALSE : TRUE);
}

} // namespace shell

void FillPreferencesDialog(host::StandaloneHost& host, HWND dialog) {
    shell::FillDriverList(host, dialog);
    shell::FillDeviceLists(host, dialog);
    shell::FillBufferSizes(host, dialog);
    shell::FillMidiLists(host, dialog);
    shell::FillConfigButton(dialog);
}
