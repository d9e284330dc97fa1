#pragma once

// The names by which the page code, the device core and the tests reach the
// panel: control groups (shown, hidden, enabled and disabled as a whole) and
// the tags of single controls.

namespace omnar::pages {

namespace group {
// Controls that no group operation may reach: the preset list and its click areas.
inline constexpr const char* kNone = "";
inline constexpr const char* kBackground = "background";
inline constexpr const char* kBankA = "bcontrolsa";
inline constexpr const char* kBankAPostMid = "postbcontrolsa";
inline constexpr const char* kBankAPreMid = "prebcontrolsa";
inline constexpr const char* kBankB = "bcontrolsb";
inline constexpr const char* kBankBPostMid = "postbcontrolsb";
inline constexpr const char* kBankBPreMid = "prebcontrolsb";
inline constexpr const char* kFrontPanel = "bcontrols";
inline constexpr const char* kMain = "maincontrols";
inline constexpr const char* kAmbience = "ambiencecontrols";
inline constexpr const char* kAmbienceTime = "ambiencecontrols2";
inline constexpr const char* kAnalogSim = "analogsimcontrols";
inline constexpr const char* kLevel = "levelcontrols";
inline constexpr const char* kDrive = "drivecontrols";
inline constexpr const char* kPreamp = "preampcontrols";
inline constexpr const char* kCompressor = "compcontrols";
inline constexpr const char* kExpander = "expcontrols";
inline constexpr const char* kGate = "gatecontrols";
inline constexpr const char* kDynamics = "dynamicscontrols";
inline constexpr const char* kBuzzFilter = "buzzfiltercontrols";
inline constexpr const char* kPunchFilter = "punchfiltercontrols";
inline constexpr const char* kCrunchFilter = "crunchfiltercontrols";
inline constexpr const char* kLowFilter = "lowfiltercontrols";
inline constexpr const char* kMidFilter = "midfiltercontrols";
inline constexpr const char* kHighFilter = "highfiltercontrols";
inline constexpr const char* kAutoFilter = "autofiltercontrols";
inline constexpr const char* kChorus = "choruscontrols";
inline constexpr const char* kIR = "ircontrols";
inline constexpr const char* kFilterLed = "filterled";
inline constexpr const char* kIRDisplay = "irdisplay";
inline constexpr const char* kDevice = "devicecontrols";
inline constexpr const char* kFirmwareBackground = "fwbgcontrols";
inline constexpr const char* kFirmwareUpdate = "fwupdatecontrols";
inline constexpr const char* kFirmware = "firmwarecontrols";
inline constexpr const char* kCustomIR = "customircontrols";
inline constexpr const char* kGlobalSettings = "globalsettingscontrols";
inline constexpr const char* kMidiCC = "midicccontrols";
inline constexpr const char* kMidiProgram = "midiprogramcontrols";
inline constexpr const char* kMidiProgramOffset0 = "midiprogramcontrolsofs0";
inline constexpr const char* kMidiProgramOffset1 = "midiprogramcontrolsofs1";
inline constexpr const char* kAbout = "aboutcontrols";
inline constexpr const char* kProgress = "progresscontrols";
inline constexpr const char* kFactoryPreset = "factorypresetcontrols";
} // namespace group

namespace tag {
inline constexpr int kNone = -1;
inline constexpr int kPresetDisplay = 1;
inline constexpr int kCompressorTitle = 6;
inline constexpr int kDynamicsThreshold = 8;
inline constexpr int kCompressorRatio = 9;
inline constexpr int kCompressorOutputGain = 10;
inline constexpr int kCompressorAttack = 11;
inline constexpr int kCompressorRelease = 12;
inline constexpr int kExpanderRatio = 13;
inline constexpr int kGateRatio = 17;
inline constexpr int kGateRelease = 19;
inline constexpr int kGateThreshold = 20;
inline constexpr int kAnalogSimReadout = 21;
inline constexpr int kAnalogSimCaption = 22;
inline constexpr int kBuzzGain = 29;
inline constexpr int kBuzzQuality = 30;
inline constexpr int kPunchGain = 31;
inline constexpr int kPunchQuality = 32;
inline constexpr int kPunchFrequency = 33;
inline constexpr int kPresence = 34;
inline constexpr int kCrunchQuality = 35;
inline constexpr int kLowGain = 36;
inline constexpr int kLowQuality = 37;
inline constexpr int kLowFrequency = 38;
inline constexpr int kMidGain = 39;
inline constexpr int kMidQuality = 40;
inline constexpr int kMidFrequency = 41;
inline constexpr int kHighGain = 42;
inline constexpr int kHighQuality = 43;
inline constexpr int kHighFrequency = 44;
inline constexpr int kReverbLevel = 45;
inline constexpr int kReverbDecay = 46;
inline constexpr int kReverbTime = 47;
inline constexpr int kDrive = 48;
inline constexpr int kPreampGain = 49;
inline constexpr int kMasterLevel = 50;
inline constexpr int kAutoFilterLevel = 51;
inline constexpr int kAutoFilterAttack = 52;
inline constexpr int kAutoFilterRelease = 53;
inline constexpr int kParallelClean = 54;
inline constexpr int kProgressTitle = 56;
inline constexpr int kProgressKnob = 57;
inline constexpr int kProgressText = 58;
inline constexpr int kFootswitchUp = 59;
inline constexpr int kFootswitchDown = 60;
inline constexpr int kSaveButton = 61;
inline constexpr int kFootswitchSelect = 62;
inline constexpr int kFootswitchBank = 63;
inline constexpr int kFilterLed = 64;
// The IR page: slot 7 and slot 8 pairs, the slider, the list rows 1..8.
inline constexpr int kIRModeSlot7 = 23;
inline constexpr int kIRModeSlot8 = 24;
inline constexpr int kIRKnobSlot7 = 25;
inline constexpr int kIRKnobSlot8 = 26;
inline constexpr int kIRReadoutSlot7 = 27;
inline constexpr int kIRReadoutSlot8 = 28;
inline constexpr int kIRSlider = 65;
inline constexpr int kIRImportSlot7 = 66;
inline constexpr int kIRImportSlot8 = 67;
inline constexpr int kIRListRow1 = 68; // rows 2..8 follow
inline constexpr int kFactoryTitle = 76;
inline constexpr int kFactoryText = 77;
inline constexpr int kFactoryKnob = 78;
// The seven reverb-type radios follow this one, the ten amp-model radios kAmpRadio0.
inline constexpr int kReverbRadio0 = 79;
inline constexpr int kAmpRadio0 = 86;
inline constexpr int kChorusLevel = 97;
inline constexpr int kChorusFrequency = 98;
inline constexpr int kChorusDepth = 99;
inline constexpr int kChorusDelay = 100;
inline constexpr int kChorusFeedback = 101;
inline constexpr int kIRHint = 102;
inline constexpr int kRedBackground = 103;
// The LIST buttons beside the IR page's IMPORT buttons.
inline constexpr int kIRListSlot7 = 105;
inline constexpr int kIRListSlot8 = 106;
inline constexpr int kPresetName = 148;
inline constexpr int kFirmwareText = 149;
inline constexpr int kFirmwareKnob = 150;
inline constexpr int kStatusDevice = 151;
inline constexpr int kStatusVersion = 152;
inline constexpr int kStatusSerial = 153;
inline constexpr int kStandaloneNotice = 154;
inline constexpr int kFirmwareBackground = 155;
} // namespace tag

} // namespace omnar::pages
