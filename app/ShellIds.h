#pragma once

// Resource, command and control ids of the application shell.
namespace shell {

inline constexpr int kMainWindowDialog = 40001;
inline constexpr int kPreferencesDialog = 40002;
inline constexpr int kMainMenu = 40004;

// Commands of the main window.
inline constexpr int kCmdAbout = 40005;
inline constexpr int kCmdPreferences = 40006;
inline constexpr int kCmdQuit = 40007;
inline constexpr int kCmdReadManual = 40008;
inline constexpr int kCmdUpdateFirmware = 40029;
inline constexpr int kCmdGlobalSettings = 40030;
inline constexpr int kCmdRebuildLibrary = 40031;
inline constexpr int kCmdRestoreBank = 40033;
inline constexpr int kCmdBackUpBank = 40034;
inline constexpr int kCmdEditorCommand7 = 40035;
inline constexpr int kCmdEditorCommand8 = 40036;

// Controls of the preferences dialog.
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kApply = 40024;
inline constexpr int kDriverList = 40009;
inline constexpr int kInputDeviceList = 40010;
inline constexpr int kOutputDeviceList = 40011;
inline constexpr int kBufferSizeList = 40012;
inline constexpr int kSampleRateList = 40013;
inline constexpr int kInput1List = 40014;
inline constexpr int kInput2List = 40015;
inline constexpr int kOutput2List = 40016;
inline constexpr int kOutput1List = 40017;
inline constexpr int kMidiInputList = 40018;
inline constexpr int kMidiOutputList = 40019;
inline constexpr int kMidiInputChannelList = 40020;
inline constexpr int kMidiOutputChannelList = 40021;
inline constexpr int kConfigButton = 40022;

} // namespace shell
