#pragma once

#include "framework/host/StandaloneHost.h"
#include "winlayer/WindowApi.h"

#include <string>

// The steps of filling the preferences dialog, which its procedure repeats
// when a choice changes what the other lists offer.
namespace shell {

// The device lists, channel lists and sample rates (steps 2 to 4).
void FillDeviceLists(host::StandaloneHost& host, HWND dialog);
// The eleven buffer sizes, the stored one selected.
void FillBufferSizes(host::StandaloneHost& host, HWND dialog);
void FillDriverList(host::StandaloneHost& host, HWND dialog);
void FillMidiLists(host::StandaloneHost& host, HWND dialog);
// The MIDI lists' entry of a stored port that is not listed now.
std::string MissingPortEntry(const std::string& stored);
// The port a MIDI list's entry names: the listed port, or the stored one it
// shows as missing.
std::string ChosenMidiPort(const std::string& entry, const std::string& stored);
// Enables "Config..." when a sound settings tool is on the PATH.
void FillConfigButton(HWND dialog);

} // namespace shell
