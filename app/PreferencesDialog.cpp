#include "app/AppShell.h"
#include "app/ComboLists.h"
#include "app/ConfigTool.h"
#include "app/PreferencesSteps.h"
#include "app/ShellIds.h"
#include "winlayer/InputRecords.h"

#include <cstdlib>

namespace {

using host::MidiDirection;
using host::StandaloneHost;

void RefillDevices(StandaloneHost& host, HWND dialog) {
    shell::FillDeviceLists(host, dialog);
}

// The MIDI ports are opened again even when their names stayed: a pedal
// restarted under the same names is reached again this way.
void ReopenMidi(StandaloneHost& host) {
    host.OpenMidiPortByName(MidiDirection::Input, host.Settings().midiInput);
    host.OpenMidiPortByName(MidiDirection::Output, host.Settings().midiOutput);
}

void Ok(StandaloneHost& host, HWND dialog) {
    if (host.Settings() != host.OpenedSettings())
        host.ApplyAudioSettings();
    ReopenMidi(host);
    EndDialog(dialog, shell::kOk);
}

// Back to the settings the dialog opened with. The MIDI ports chosen
// meanwhile were opened at once, so they are reopened by the restored names.
void Cancel(StandaloneHost& host, HWND dialog) {
    EndDialog(dialog, shell::kCancel);
    const bool audioSame = host.SettingsAudioEqual(host.SavedSettings());
    const bool midiSame = host.SettingsMidiEqual(host.SavedSettings());
    if (audioSame && midiSame)
        return;
    host.Settings() = host.SavedSettings();
    host.CreateAudioInterface();
    host.ListAudioDevices();
    host.ApplyAudioSettings();
    if (!midiSame)
        ReopenMidi(host);
}

void ChooseDriver(StandaloneHost& host, HWND dialog, int chosen) {
    host::HostSettings& settings = host.Settings();
    if (chosen < 0 || chosen == settings.driver)
        return;
    settings.driver = chosen;
    host.CreateAudioInterface();
    host.ListAudioDevices();
    if (!host.AudioInputIds().empty())
        settings.audioInput = host.AudioDeviceName(host.AudioInputIds().front());
    if (!host.AudioOutputIds().empty())
        settings.audioOutput = host.AudioDeviceName(host.AudioOutputIds().front());
    settings.output1 = 1;
    settings.output2 = 2;
    RefillDevices(host, dialog);
    shell::FillBufferSizes(host, dialog);
}

// A selection change of one list; the selected index and its text.
void Select(StandaloneHost& host, HWND dialog, int id) {
    host::HostSettings& settings = host.Settings();
    const int index = shell::ListSelection(dialog, id);
    if (index < 0)
        return;
    switch (id) {
    case shell::kDriverList:
        ChooseDriver(host, dialog, index);
        break;
    case shell::kInputDeviceList:
        settings.audioInput = shell::ListText(dialog, id, index);
        settings.input1 = 1;
        settings.input2 = 2;
        RefillDevices(host, dialog);
        break;
    case shell::kOutputDeviceList:
        settings.audioOutput = shell::ListText(dialog, id, index);
        settings.output1 = 1;
        settings.output2 = 2;
        RefillDevices(host, dialog);
        break;
    case shell::kBufferSizeList:
        settings.bufferFrames = std::atoi(shell::ListText(dialog, id, index).c_str());
        break;
    case shell::kSampleRateList:
        settings.sampleRate =
            int(SendMessage(GetDlgItem(dialog, id), CB_GETITEMDATA, WPARAM(index), 0));
        break;
    case shell::kInput1List:
        settings.input1 = index + 1;
        settings.input2 = index + 2;
        shell::SelectInList(dialog, shell::kInput2List, settings.input2 - 1);
        break;
    case shell::kOutput1List:
        settings.output1 = index + 1;
        settings.output2 = index + 2;
        shell::SelectInList(dialog, shell::kOutput2List, settings.output2 - 1);
        break;
    case shell::kMidiInputList:
        settings.midiInput =
            shell::ChosenMidiPort(shell::ListText(dialog, id, index), settings.midiInput);
        host.OpenMidiPortByName(MidiDirection::Input, settings.midiInput);
        break;
    case shell::kMidiOutputList:
        settings.midiOutput =
            shell::ChosenMidiPort(shell::ListText(dialog, id, index), settings.midiOutput);
        host.OpenMidiPortByName(MidiDirection::Output, settings.midiOutput);
        break;
    case shell::kMidiInputChannelList:
        settings.midiInputChannel = index;
        break;
    case shell::kMidiOutputChannelList:
        settings.midiOutputChannel = index;
        break;
    default:
        break;
    }
}

void Command(StandaloneHost& host, HWND dialog, int id, int code) {
    switch (id) {
    case shell::kOk:
        Ok(host, dialog);
        return;
    case shell::kCancel:
        Cancel(host, dialog);
        return;
    case shell::kApply:
        host.ApplyAudioSettings();
        ReopenMidi(host);
        return;
    // The second channel always follows the first.
    case shell::kInput2List:
        shell::SelectInList(dialog, id, host.Settings().input2 - 1);
        return;
    case shell::kOutput2List:
        shell::SelectInList(dialog, id, host.Settings().output2 - 1);
        return;
    case shell::kConfigButton:
        if (code == BN_CLICKED)
            shell::StartConfigTool();
        return;
    default:
        if (code == CBN_SELCHANGE)
            Select(host, dialog, id);
        return;
    }
}

} // namespace

INT_PTR PreferencesDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    StandaloneHost* host = StandaloneHost::Current();
    switch (message) {
    case WM_INITDIALOG:
        if (host) {
            // Ports plugged in since start-up are offered too.
            host->ListMidiPorts();
            FillPreferencesDialog(*host, dialog);
            host->SavedSettings() = host->Settings();
        }
        return 1;
    case WM_COMMAND: {
        const int id = int(wParam & 0xFFFF);
        if (host)
            Command(*host, dialog, id, int((wParam >> 16) & 0xFFFF));
        else if (id == shell::kOk || id == shell::kCancel)
            EndDialog(dialog, id);
        return 1;
    }
    default:
        return 0;
    }
}
