#include "device/ParamTable.h"

#include "framework/VxString.h"

namespace omnar {
namespace {

struct IntRow {
    int index;
    const char* name;
    int defaultValue;
    int min;
    int max;
    const char* label = "";
};

// clang-format off
constexpr IntRow kIntRows[] = {
    {0, "Level", 64, 0, 127},
    {1, "Gain", 64, 0, 127},
    {2, "Buzz", 64, 0, 127},
    {3, "Punch", 64, 0, 127},
    {4, "Crunch", 64, 0, 127},
    {5, "Drive", 64, 0, 127},
    {6, "Low", 64, 0, 127},
    {7, "High", 64, 0, 127},
    {8, "Reverb", 0, 0, 127},
    {9, "Gate", 0, 0, 127},
    {10, "Dynamics", 64, 0, 127},
    {11, "Punch Freq", 64, 0, 127},
    {12, "Mid", 64, 0, 127},
    {13, "Mid Shift", 64, 0, 127},
    {14, "IR", 0, 0, 127},
    {15, "AnalogSim", 64, 0, 127},
    {16, "Reverb Room Size", 64, 0, 127, "[Room...Arena]"},
    {17, "Reverb Decay Time", 64, 0, 127},
    {18, "Reverb Diffusion", 100, 0, 127},
    {19, "Reverb Extension Factor", 2, 2, 5, "[2...5 semitones]"},
    {20, "Reverb Fbk. Delay Size", 64, 0, 127},
    {21, "Reverb Fbk. Filter", 127, 0, 127, "[500...5000Hz]"},
    {22, "Reverb Fbk. Damper Factor", 0, 0, 127},
    {23, "Reverb LP Filter", 127, 0, 127, "[500...5000Hz]"},
    {24, "Reverb HP Filter", 0, 0, 127, "[20...2000Hz]"},
    {25, "Compressor Ratio", 0, 0, 127, "[1:1...16:1]"},
    {26, "Compressor Output Gain", 64, 0, 127, "[-30dB...18dB]"},
    {27, "Compressor Attack", 64, 0, 127, "[0ms...100ms]"},
    {28, "Compressor Release", 64, 0, 127, "[50ms...5000ms]"},
    {29, "Expander Ratio", 0, 0, 127, "[1:1...1:16]"},
    {30, "Expander Output Gain", 64, 0, 127, "[-30dB...18dB]"},
    {31, "Expander Attack", 64, 0, 127, "[0.5ms...100ms]"},
    {32, "Expander Release", 64, 0, 127, "[50ms...5000ms]"},
    {33, "Soft Clipping", 127, 0, 127},
    {34, "AnalogSim Gain", 127, 0, 127, "[0...1x]"},
    {35, "Anti-aliasing Filter", 127, 0, 127},
    {36, "Clean Input Level", 127, 0, 127},
    {37, "Compressor Ratio", 0, 0, 127, "[1:1...16:1]"},
    {38, "Gate Attack", 0, 0, 127},
    {39, "Gate Release", 64, 0, 127},
    {40, "IR Mode", 0, 0, 1},
    {41, "IR Mode", 0, 0, 1},
    {42, "User IR Gain", 64, 0, 127},
    {43, "User IR Gain", 64, 0, 127},
    {44, "Buzz Q", 64, 0, 127},
    {45, "Punch Q", 64, 0, 127},
    {46, "Crunch Q", 64, 0, 127},
    {47, "Mid Q", 64, 0, 127},
    {48, "Low Q", 64, 0, 127},
    {49, "High Q", 64, 0, 127},
    {50, "Auto Gain", 1, 0, 1, "On/Off"},
    {51, "Lookahead", 0, 0, 1, "On/Off"},
    {52, "Tuner", 0, 0, 2, "Off/Mute/Bypass"},
    {53, "User IR7 Preset MSB", 0, 0, 127},
    {54, "User IR7 Preset", 0, 0, 127},
    {55, "User IR8 Preset MSB", 0, 0, 127},
    {56, "User IR8 Preset", 0, 0, 127},
    {57, "Reverb Mode", 0, 0, 4, "[Room, Hall, Arena, Spring, Plate]"},
    {58, "Reverb Modulation Depth", 0, 0, 127},
    {59, "Reverb Modulation Rate", 0, 0, 127, "[0...5Hz]"},
    {60, "AutoFiler Level", 0, 0, 1},
    {61, "AutoFiler Level", 64, 0, 127},
    {62, "AF. Attack", 64, 0, 127},
    {63, "AF. Release", 64, 0, 127},
    {64, "Preset Level", 32, 0, 127},
    {65, "Chorus On", 0, 0, 1},
    {66, "Chorus Level", 0, 0, 127},
    {67, "Chorus Level", 0, 0, 127},
    {68, "Chorus Level", 0, 0, 127},
    {69, "Chorus Level", 0, 0, 127},
    {70, "Chorus Level", 64, 0, 127},
    {71, "Blend Level", 127, 0, 127},
    {72, "Low Freq", 64, 0, 127},
    {73, "High Freq", 64, 0, 127},
    {78, "Compression", 64, 64, 127},
    {79, "Scroll", 109, 0, 109},
    {82, "IR", 0, 0, 127},
    {101, "", 0, 0, 127},
    {102, "", 1, 0, 127},
    {103, "", 2, 0, 127},
    {104, "", 3, 0, 127},
    {105, "", 4, 0, 127},
    {106, "", 5, 0, 127},
    {107, "", 6, 0, 127},
    {108, "", 7, 0, 127},
    {109, "Controller Program", 0, 0, 127},
    {110, "ZMK3 Program", 0, 0, 127},
    {111, "Controller Program", 1, 1, 128},
    {112, "ZMK3 Program", 1, 1, 128},
    {119, "PEDAL2 Controller", 0, 0, 127},
    {120, "PEDAL2 Out Minimum", 0, 0, 127},
    {121, "PEDAL2 Out Maximum", 0, 0, 127},
    {122, "PEDAL2 Calibration Low End", 0, 0, 127},
    {123, "PEDAL2 Calibration High End", 0, 0, 127},
    {127, "SWITCHA2 Controller", 0, 0, 127},
    {131, "SWITCHB2 Controller", 0, 0, 127},
    {132, "SWITCH2 Special Ctrl Lower", 0, 0, 127},
    {133, "SWITCH2 Special Ctrl Upper", 0, 0, 127},
    {136, "PEDAL1 Controller", 0, 0, 127},
    {137, "PEDAL1 Out Minimum", 0, 0, 127},
    {138, "PEDAL1 Out Maximum", 0, 0, 127},
    {139, "PEDAL1 Calibration Low End", 0, 0, 127},
    {140, "PEDAL1 Calibration High End", 0, 0, 127},
    {144, "SWITCHA1 Controller", 0, 0, 127},
    {148, "SWITCHB1 Controller", 0, 0, 127},
    {149, "SWITCH1 Special Ctrl Lower", 0, 0, 127},
    {150, "SWITCH1 Special Ctrl Upper", 0, 0, 127},
};
// clang-format on

// Unnamed stepped controls of the pages: default 0, minimum 0, step 1.
struct DoubleRow {
    int index;
    double max;
};
constexpr DoubleRow kDoubleRows[] = {{80, 19}, {81, 9}, {87, 16}, {88, 16}};

constexpr const char* kDisabledEnabled[] = {"Disabled", "Enabled"};
constexpr const char* kOffOn[] = {"Off", "On"};
constexpr const char* kJackModes[] = {"Pedal", "Switches"};
constexpr const char* kJackPolarities[] = {"Tip", "Ring"};
constexpr const char* kPedalModes[] = {"Control", "Aftertouch", "Bend"};
constexpr const char* kSwitchOperations[] = {"Momentary", "Latching"};
constexpr const char* kSwitchFunctions[] = {"Control",        "Note On/Off",     "Start", "Stop",
                                            "Program Change", "Special Control", "Pedal"};
constexpr const char* kMidiChannels[] = {"1", "2",  "3",  "4",  "5",  "6",  "7",  "8",
                                         "9", "10", "11", "12", "13", "14", "15", "16"};

constexpr const char* kPatchOffsets[] = {"0-127", "1-128"};
constexpr const char* kPotDisplayModes[] = {"Digits", "Numerical Value (0-127)"};
constexpr const char* kPotEngagement[] = {"All pots engaged", "All pots disengaged"};
constexpr const char* kDetunes[] = {"Disabled", "b", "bb"};

struct ListRow {
    int index;
    const char* name;
    std::span<const char* const> texts;
};

const ListRow kListRows[] = {
    {89, "DEFINE MIDI MAPPING", kDisabledEnabled},
    {90, "MIDI THRU MODE", kDisabledEnabled},
    {91, "PATCH OFFSET", kPatchOffsets},
    {92, "MIDI CC MODE", kDisabledEnabled},
    {94, "EDIT POT DISPLAY MODE", kPotDisplayModes},
    {95, "DISENGAGE ALL POTS", kPotEngagement},
    {97, "PRESET PROTECTION WRITER", kOffOn},
    {98, "TUNER DETUNE", kDetunes},
    {99, "CABINET BYPASS", kOffOn},
    {100, "SAFE LEVEL", kOffOn},
    {113, "JACK2 Mode", kJackModes},
    {114, "JACK2 Mode", kJackPolarities},
    {115, "JACK 1 Mode", kJackModes},
    {116, "JACK 1 Polarity", kJackPolarities},
    {117, "PEDAL2 Midi Channel", kMidiChannels},
    {118, "PEDAL2 Mode", kPedalModes},
    {124, "SWITCHA2 Midi Channel", kMidiChannels},
    {125, "SWITCHA2 Operation", kSwitchOperations},
    {126, "SWITCHA2 Function Mode", kSwitchFunctions},
    {128, "SWITCHB2 Midi Channel", kMidiChannels},
    {129, "SWITCHB2 Operation", kSwitchOperations},
    {130, "SWITCHB2 Function Mode", kSwitchFunctions},
    {134, "PEDAL1 Midi Channel", kMidiChannels},
    {135, "PEDAL1 Mode", kPedalModes},
    {141, "SWITCHA1 Midi Channel", kMidiChannels},
    {142, "SWITCHA1 Operation", kSwitchOperations},
    {143, "SWITCHA1 Function Mode", kSwitchFunctions},
    {145, "SWITCHB1 Midi Channel", kMidiChannels},
    {146, "SWITCHB1 Operation", kSwitchOperations},
    {147, "SWITCHB1 Function Mode", kSwitchFunctions},
};

void SetUpList(vx::IParam& param, const char* name, std::span<const char* const> texts) {
    param.SetUpEnum(name, 0, static_cast<int>(texts.size()));
    for (std::size_t i = 0; i < texts.size(); ++i)
        param.SetDisplayLabel(static_cast<double>(i), texts[i]);
}

} // namespace

void SetUpParameters(ParamList params) {
    for (const IntRow& row : kIntRows)
        params[row.index]->SetUpInt(row.name, row.defaultValue, row.min, row.max, row.label);
    for (const DoubleRow& row : kDoubleRows)
        params[row.index]->SetUpDouble("", 0.0, 0.0, row.max, 1.0);

    for (const ListRow& row : kListRows)
        SetUpList(*params[row.index], row.name, row.texts);

    // "Custom Bank 1".."Custom Bank 8", then the factory bank.
    params[86]->SetUpEnum("Custom IR Bank", 0, 9);
    VxString text;
    for (int value = 0; value < 8; ++value) {
        text.SetFormatted(64, "Custom Bank %d", value + 1);
        params[86]->SetDisplayLabel(value, text.Get());
    }
    params[86]->SetDisplayLabel(8, "Factory Bank");

    // "OMNI", then "Channel 1".."Channel 16".
    params[93]->SetUpEnum("MIDI CC CHANNEL", 0, 17);
    params[93]->SetDisplayLabel(0, "OMNI");
    for (int value = 1; value <= 16; ++value) {
        text.SetFormatted(64, "Channel %d", value);
        params[93]->SetDisplayLabel(value, text.Get());
    }

    // 428..452 Hz, 440 Hz by default.
    params[96]->SetUpEnum("TUNER FREQUENCY", 12, 25);
    for (int value = 0; value < 25; ++value) {
        text.SetFormatted(64, "%dHz", 428 + value);
        params[96]->SetDisplayLabel(value, text.Get());
    }
}

ParamInts CurrentIntValues(ParamList params) {
    ParamInts values{};
    for (int i = 0; i < kParamCount; ++i)
        values[i] = static_cast<int>(params[i]->CurrentValue());
    return values;
}

} // namespace omnar
