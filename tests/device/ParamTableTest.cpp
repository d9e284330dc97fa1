#include "device/ParamTable.h"
#include "device/DeviceParamIdTable.h"
#include "device/FactoryIRNames.h"
#include "device/MidiCCNames.h"
#include "device/OmnarConfig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace {

using omnar::kParamCount;
using vx::IParam;

enum Kind { kBase, kInt, kEnum, kDouble };

struct Row {
    int index;
    Kind kind;
    const char* name = "";
    double defaultValue = 0;
    double min = 0;
    double max = 1;
    const char* label = "";
    std::vector<const char*> texts = {};
    int textCount = 0;
};

// clang-format off
const Row kRows[] = {
    {0, kInt, "Level", 64, 0, 127, ""},
    {1, kInt, "Gain", 64, 0, 127, ""},
    {2, kInt, "Buzz", 64, 0, 127, ""},
    {3, kInt, "Punch", 64, 0, 127, ""},
    {4, kInt, "Crunch", 64, 0, 127, ""},
    {5, kInt, "Drive", 64, 0, 127, ""},
    {6, kInt, "Low", 64, 0, 127, ""},
    {7, kInt, "High", 64, 0, 127, ""},
    {8, kInt, "Reverb", 0, 0, 127, ""},
    {9, kInt, "Gate", 0, 0, 127, ""},
    {10, kInt, "Dynamics", 64, 0, 127, ""},
    {11, kInt, "Punch Freq", 64, 0, 127, ""},
    {12, kInt, "Mid", 64, 0, 127, ""},
    {13, kInt, "Mid Shift", 64, 0, 127, ""},
    {14, kInt, "IR", 0, 0, 127, ""},
    {15, kInt, "AnalogSim", 64, 0, 127, ""},
    {16, kInt, "Reverb Room Size", 64, 0, 127, "[Room...Arena]"},
    {17, kInt, "Reverb Decay Time", 64, 0, 127, ""},
    {18, kInt, "Reverb Diffusion", 100, 0, 127, ""},
    {19, kInt, "Reverb Extension Factor", 2, 2, 5, "[2...5 semitones]"},
    {20, kInt, "Reverb Fbk. Delay Size", 64, 0, 127, ""},
    {21, kInt, "Reverb Fbk. Filter", 127, 0, 127, "[500...5000Hz]"},
    {22, kInt, "Reverb Fbk. Damper Factor", 0, 0, 127, ""},
    {23, kInt, "Reverb LP Filter", 127, 0, 127, "[500...5000Hz]"},
    {24, kInt, "Reverb HP Filter", 0, 0, 127, "[20...2000Hz]"},
    {25, kInt, "Compressor Ratio", 0, 0, 127, "[1:1...16:1]"},
    {26, kInt, "Compressor Output Gain", 64, 0, 127, "[-30dB...18dB]"},
    {27, kInt, "Compressor Attack", 64, 0, 127, "[0ms...100ms]"},
    {28, kInt, "Compressor Release", 64, 0, 127, "[50ms...5000ms]"},
    {29, kInt, "Expander Ratio", 0, 0, 127, "[1:1...1:16]"},
    {30, kInt, "Expander Output Gain", 64, 0, 127, "[-30dB...18dB]"},
    {31, kInt, "Expander Attack", 64, 0, 127, "[0.5ms...100ms]"},
    {32, kInt, "Expander Release", 64, 0, 127, "[50ms...5000ms]"},
    {33, kInt, "Soft Clipping", 127, 0, 127, ""},
    {34, kInt, "AnalogSim Gain", 127, 0, 127, "[0...1x]"},
    {35, kInt, "Anti-aliasing Filter", 127, 0, 127, ""},
    {36, kInt, "Clean Input Level", 127, 0, 127, ""},
    {37, kInt, "Compressor Ratio", 0, 0, 127, "[1:1...16:1]"},
    {38, kInt, "Gate Attack", 0, 0, 127, ""},
    {39, kInt, "Gate Release", 64, 0, 127, ""},
    {40, kInt, "IR Mode", 0, 0, 1, ""},
    {41, kInt, "IR Mode", 0, 0, 1, ""},
    {42, kInt, "User IR Gain", 64, 0, 127, ""},
    {43, kInt, "User IR Gain", 64, 0, 127, ""},
    {44, kInt, "Buzz Q", 64, 0, 127, ""},
    {45, kInt, "Punch Q", 64, 0, 127, ""},
    {46, kInt, "Crunch Q", 64, 0, 127, ""},
    {47, kInt, "Mid Q", 64, 0, 127, ""},
    {48, kInt, "Low Q", 64, 0, 127, ""},
    {49, kInt, "High Q", 64, 0, 127, ""},
    {50, kInt, "Auto Gain", 1, 0, 1, "On/Off"},
    {51, kInt, "Lookahead", 0, 0, 1, "On/Off"},
    {52, kInt, "Tuner", 0, 0, 2, "Off/Mute/Bypass"},
    {53, kInt, "User IR7 Preset MSB", 0, 0, 127, ""},
    {54, kInt, "User IR7 Preset", 0, 0, 127, ""},
    {55, kInt, "User IR8 Preset MSB", 0, 0, 127, ""},
    {56, kInt, "User IR8 Preset", 0, 0, 127, ""},
    {57, kInt, "Reverb Mode", 0, 0, 4, "[Room, Hall, Arena, Spring, Plate]"},
    {58, kInt, "Reverb Modulation Depth", 0, 0, 127, ""},
    {59, kInt, "Reverb Modulation Rate", 0, 0, 127, "[0...5Hz]"},
    {60, kInt, "AutoFiler Level", 0, 0, 1, ""},
    {61, kInt, "AutoFiler Level", 64, 0, 127, ""},
    {62, kInt, "AF. Attack", 64, 0, 127, ""},
    {63, kInt, "AF. Release", 64, 0, 127, ""},
    {64, kInt, "Preset Level", 32, 0, 127, ""},
    {65, kInt, "Chorus On", 0, 0, 1, ""},
    {66, kInt, "Chorus Level", 0, 0, 127, ""},
    {67, kInt, "Chorus Level", 0, 0, 127, ""},
    {68, kInt, "Chorus Level", 0, 0, 127, ""},
    {69, kInt, "Chorus Level", 0, 0, 127, ""},
    {70, kInt, "Chorus Level", 64, 0, 127, ""},
    {71, kInt, "Blend Level", 127, 0, 127, ""},
    {72, kInt, "Low Freq", 64, 0, 127, ""},
    {73, kInt, "High Freq", 64, 0, 127, ""},
    {74, kBase},
    {75, kBase},
    {76, kBase},
    {77, kBase},
    {78, kInt, "Compression", 64, 64, 127, ""},
    {79, kInt, "Scroll", 109, 0, 109, ""},
    {80, kDouble, "", 0, 0, 19, ""},
    {81, kDouble, "", 0, 0, 9, ""},
    {82, kInt, "IR", 0, 0, 127, ""},
    {83, kBase},
    {84, kBase},
    {85, kBase},
    {86, kEnum, "Custom IR Bank", 0, 0, 8, "", {}, 9},  // formatted texts, checked below
    {87, kDouble, "", 0, 0, 16, ""},
    {88, kDouble, "", 0, 0, 16, ""},
    {89, kEnum, "DEFINE MIDI MAPPING", 0, 0, 1, "", {"Disabled", "Enabled"}, 2},
    {90, kEnum, "MIDI THRU MODE", 0, 0, 1, "", {"Disabled", "Enabled"}, 2},
    {91, kEnum, "PATCH OFFSET", 0, 0, 1, "", {"0-127", "1-128"}, 2},
    {92, kEnum, "MIDI CC MODE", 0, 0, 1, "", {"Disabled", "Enabled"}, 2},
    {93, kEnum, "MIDI CC CHANNEL", 0, 0, 16, "", {}, 17},  // formatted texts, checked below
    {94, kEnum, "EDIT POT DISPLAY MODE", 0, 0, 1, "", {"Digits", "Numerical Value (0-127)"}, 2},
    {95, kEnum, "DISENGAGE ALL POTS", 0, 0, 1, "", {"All pots engaged", "All pots disengaged"}, 2},
    {96, kEnum, "TUNER FREQUENCY", 12, 0, 24, "", {}, 25},  // formatted texts, checked below
    {97, kEnum, "PRESET PROTECTION WRITER", 0, 0, 1, "", {"Off", "On"}, 2},
    {98, kEnum, "TUNER DETUNE", 0, 0, 2, "", {"Disabled", "b", "bb"}, 3},
    {99, kEnum, "CABINET BYPASS", 0, 0, 1, "", {"Off", "On"}, 2},
    {100, kEnum, "SAFE LEVEL", 0, 0, 1, "", {"Off", "On"}, 2},
    {101, kInt, "", 0, 0, 127, ""},
    {102, kInt, "", 1, 0, 127, ""},
    {103, kInt, "", 2, 0, 127, ""},
    {104, kInt, "", 3, 0, 127, ""},
    {105, kInt, "", 4, 0, 127, ""},
    {106, kInt, "", 5, 0, 127, ""},
    {107, kInt, "", 6, 0, 127, ""},
    {108, kInt, "", 7, 0, 127, ""},
    {109, kInt, "Controller Program", 0, 0, 127, ""},
    {110, kInt, "ZMK3 Program", 0, 0, 127, ""},
    {111, kInt, "Controller Program", 1, 1, 128, ""},
    {112, kInt, "ZMK3 Program", 1, 1, 128, ""},
    {113, kEnum, "JACK2 Mode", 0, 0, 1, "", {"Pedal", "Switches"}, 2},
    {114, kEnum, "JACK2 Mode", 0, 0, 1, "", {"Tip", "Ring"}, 2},
    {115, kEnum, "JACK 1 Mode", 0, 0, 1, "", {"Pedal", "Switches"}, 2},
    {116, kEnum, "JACK 1 Polarity", 0, 0, 1, "", {"Tip", "Ring"}, 2},
    {117, kEnum, "PEDAL2 Midi Channel", 0, 0, 15, "", {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15", "16"}, 16},
    {118, kEnum, "PEDAL2 Mode", 0, 0, 2, "", {"Control", "Aftertouch", "Bend"}, 3},
    {119, kInt, "PEDAL2 Controller", 0, 0, 127, ""},
    {120, kInt, "PEDAL2 Out Minimum", 0, 0, 127, ""},
    {121, kInt, "PEDAL2 Out Maximum", 0, 0, 127, ""},
    {122, kInt, "PEDAL2 Calibration Low End", 0, 0, 127, ""},
    {123, kInt, "PEDAL2 Calibration High End", 0, 0, 127, ""},
    {124, kEnum, "SWITCHA2 Midi Channel", 0, 0, 15, "", {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15", "16"}, 16},
    {125, kEnum, "SWITCHA2 Operation", 0, 0, 1, "", {"Momentary", "Latching"}, 2},
    {126, kEnum, "SWITCHA2 Function Mode", 0, 0, 6, "", {"Control", "Note On/Off", "Start", "Stop", "Program Change", "Special Control", "Pedal"}, 7},
    {127, kInt, "SWITCHA2 Controller", 0, 0, 127, ""},
    {128, kEnum, "SWITCHB2 Midi Channel", 0, 0, 15, "", {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15", "16"}, 16},
    {129, kEnum, "SWITCHB2 Operation", 0, 0, 1, "", {"Momentary", "Latching"}, 2},
    {130, kEnum, "SWITCHB2 Function Mode", 0, 0, 6, "", {"Control", "Note On/Off", "Start", "Stop", "Program Change", "Special Control", "Pedal"}, 7},
    {131, kInt, "SWITCHB2 Controller", 0, 0, 127, ""},
    {132, kInt, "SWITCH2 Special Ctrl Lower", 0, 0, 127, ""},
    {133, kInt, "SWITCH2 Special Ctrl Upper", 0, 0, 127, ""},
    {134, kEnum, "PEDAL1 Midi Channel", 0, 0, 15, "", {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15", "16"}, 16},
    {135, kEnum, "PEDAL1 Mode", 0, 0, 2, "", {"Control", "Aftertouch", "Bend"}, 3},
    {136, kInt, "PEDAL1 Controller", 0, 0, 127, ""},
    {137, kInt, "PEDAL1 Out Minimum", 0, 0, 127, ""},
    {138, kInt, "PEDAL1 Out Maximum", 0, 0, 127, ""},
    {139, kInt, "PEDAL1 Calibration Low End", 0, 0, 127, ""},
    {140, kInt, "PEDAL1 Calibration High End", 0, 0, 127, ""},
    {141, kEnum, "SWITCHA1 Midi Channel", 0, 0, 15, "", {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15", "16"}, 16},
    {142, kEnum, "SWITCHA1 Operation", 0, 0, 1, "", {"Momentary", "Latching"}, 2},
    {143, kEnum, "SWITCHA1 Function Mode", 0, 0, 6, "", {"Control", "Note On/Off", "Start", "Stop", "Program Change", "Special Control", "Pedal"}, 7},
    {144, kInt, "SWITCHA1 Controller", 0, 0, 127, ""},
    {145, kEnum, "SWITCHB1 Midi Channel", 0, 0, 15, "", {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15", "16"}, 16},
    {146, kEnum, "SWITCHB1 Operation", 0, 0, 1, "", {"Momentary", "Latching"}, 2},
    {147, kEnum, "SWITCHB1 Function Mode", 0, 0, 6, "", {"Control", "Note On/Off", "Start", "Stop", "Program Change", "Special Control", "Pedal"}, 7},
    {148, kInt, "SWITCHB1 Controller", 0, 0, 127, ""},
    {149, kInt, "SWITCH1 Special Ctrl Lower", 0, 0, 127, ""},
    {150, kInt, "SWITCH1 Special Ctrl Upper", 0, 0, 127, ""},
};
// clang-format on

class ParamTableTest : public ::testing::Test {
protected:
    ParamTableTest() {
        std::transform(params.begin(), params.end(), pointers.begin(),
                       [](IParam& p) { return &p; });
        omnar::SetUpParameters(pointers);
    }
    std::array<IParam, kParamCount> params;
    std::array<IParam*, kParamCount> pointers{};
};

// The framework keeps at most this many bytes of a label.
std::string StoredText(const char* text) {
    return std::string(text).substr(0, IParam::kMaxTextLength);
}

TEST_F(ParamTableTest, EveryParameterMatchesItsRow) {
    ASSERT_EQ(std::size(kRows), std::size_t(kParamCount));
    const IParam untouched;
    for (int i = 0; i < kParamCount; ++i) {
        const Row& row = kRows[i];
        ASSERT_EQ(row.index, i);
        const IParam& p = params[i];
        SCOPED_TRACE("parameter " + std::to_string(i));
        if (row.kind == kBase) {
            EXPECT_EQ(p.Type(), untouched.Type());
            EXPECT_STREQ(p.Name(), untouched.Name());
            EXPECT_EQ(p.Min(), untouched.Min());
            EXPECT_EQ(p.Max(), untouched.Max());
            EXPECT_EQ(p.Default(), untouched.Default());
            EXPECT_EQ(p.DisplayTextCount(), 0);
            continue;
        }
        const int type = row.kind == kInt    ? IParam::kTypeInt
                         : row.kind == kEnum ? IParam::kTypeEnum
                                             : IParam::kTypeDouble;
        EXPECT_EQ(p.Type(), type);
        EXPECT_STREQ(p.Name(), row.name);
        EXPECT_EQ(p.Default(), row.defaultValue);
        EXPECT_EQ(p.CurrentValue(), row.defaultValue);
        EXPECT_EQ(p.Min(), row.min);
        EXPECT_EQ(p.Max(), row.max);
        EXPECT_EQ(p.Step(), 1.0);
        EXPECT_EQ(p.Label(), StoredText(row.label));
        EXPECT_STREQ(p.Group(), "");
        EXPECT_EQ(p.ShapeKind(), 0);
        EXPECT_EQ(p.Flags() & ~IParam::kFlagStepped, 0);
        EXPECT_EQ(p.DisplayTextCount(), row.textCount);
        for (std::size_t t = 0; t < row.texts.size(); ++t)
            EXPECT_STREQ(p.DisplayTextFor(double(t)), row.texts[t]) << "text " << t;
    }
}

TEST_F(ParamTableTest, FormattedTextsAtTheirEnds) {
    struct Case {
        int index;
        double value;
        const char* text;
    };
    const Case cases[] = {
        {96, 12, "440Hz"},        {96, 0, "428Hz"},         {96, 24, "452Hz"},
        {93, 0, "OMNI"},          {93, 1, "Channel 1"},     {93, 16, "Channel 16"},
        {86, 0, "Custom Bank 1"}, {86, 7, "Custom Bank 8"}, {86, 8, "Factory Bank"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(params[c.index].DisplayTextFor(c.value), c.text)
            << "parameter " << c.index << " at " << c.value;
}

TEST_F(ParamTableTest, IntegerValuesAreTheDefaultsUntilChanged) {
    params[0].Set(100);
    params[80].Set(3.6); // not stepped: the integer part travels
    const omnar::ParamInts values = omnar::CurrentIntValues(pointers);
    EXPECT_EQ(values[0], 100);
    EXPECT_EQ(values[80], 3);
    EXPECT_EQ(values[19], 2);
    EXPECT_EQ(values[96], 12);
    EXPECT_EQ(values[111], 1);
    EXPECT_EQ(values[74], 0);
}

TEST(DeviceTables, ParameterIdsAndControllerNames) {
    EXPECT_EQ(omnar::DeviceParamIdTable[15], 15);
    EXPECT_EQ(omnar::DeviceParamIdTable[16], 20);
    EXPECT_EQ(omnar::DeviceParamIdTable[73], 77);
    EXPECT_EQ(omnar::DeviceParamIdTable[74], 16);
    EXPECT_EQ(omnar::DeviceParamIdTable[76], 18);

    EXPECT_EQ(MidiCCNames[0], "Bank Select");
    EXPECT_EQ(MidiCCNames[3], "");
    for (int cc = 16; cc <= 19; ++cc)
        EXPECT_EQ(MidiCCNames[cc], "Slider, Knob or Ribbon Controller");
    EXPECT_EQ(MidiCCNames[83], "General Purpose");
    EXPECT_EQ(MidiCCNames[127], "Poly Mode");
    EXPECT_EQ(std::count(MidiCCNames.begin(), MidiCCNames.end(), ""), 59);

    // Shown while IR position A or B is off.
    EXPECT_STREQ(omnar::FactoryIRNameTable[7], "Tirn 12L");
    EXPECT_STREQ(omnar::FactoryIRNameTable[8], "Isle V30");
}

TEST(DeviceTables, ConfigurationRecord) {
    const vx::PluginConfig config = omnar::OmnarPluginConfig();
    EXPECT_EQ(config.paramCount, 151);
    EXPECT_STREQ(config.channelIOText, "0-2");
    EXPECT_EQ(config.version, 0x00010200);
    char uniqueId[4];
    std::memcpy(uniqueId, &config.uniqueId, 4);
    EXPECT_EQ(std::string(uniqueId, 4), "qOMd");
    EXPECT_EQ((config.makerId >> 24) & 0xFF, 'V');
    EXPECT_EQ(config.pluginType, 2);
    EXPECT_TRUE(config.midiIn && config.midiOut && config.hasUI);
    EXPECT_FALSE(config.mpe || config.stateChunks || config.hostResize);
    EXPECT_EQ(config.width, 1920);
    EXPECT_EQ(config.maxHeight, 3600);
    EXPECT_STREQ(config.bundleId, "com.Vorlixinc.app.OmnarControl");
}

} // namespace
