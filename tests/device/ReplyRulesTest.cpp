#include "device/ReplyRules.h"
#include "device/ModeDefaults.h"
#include "device/Packing.h"
#include "tests/devsim/SimState.h"
#include "tests/devsim/SimWire.h"

#include <gtest/gtest.h>

#include <numeric>

namespace {

using devsim::Bytes;
using omnar::IsWellFormedReply;

Bytes WithByte(Bytes m, std::size_t at, std::uint8_t value) {
    m.at(at) = value;
    return m;
}

using devsim::Concat;

TEST(ReplyRules, OnlyFramedSevenBitMessagesOfTheirCommandsLengthPass) {
    const Bytes dump = devsim::BuildDump(0x41, 12, 3, devsim::DefaultPreset(3));
    const std::vector<Bytes> ir = devsim::BuildIRDump(5, devsim::BlankIRImage());
    Bytes lastIR42 = ir.back();
    lastIR42.erase(lastIR42.begin() + 7, lastIR42.begin() + 7 + (lastIR42.size() - 42));
    Bytes shortParam = devsim::BuildParamValue(3, 4);
    shortParam.erase(shortParam.begin() + 8);
    struct Case {
        const char* what;
        Bytes message;
        bool legal;
    };
    const Case cases[] = {
        {"preset dump", dump, true},
        {"preset dump a byte short", Bytes(dump.begin() + 1, dump.end()), false},
        {"dump with a byte of 80", WithByte(dump, 100, 0x80), false},
        {"dump without F7", WithByte(dump, 266, 0x00), false},
        {"other maker", WithByte(dump, 2, 0x52), false},
        {"other group", WithByte(dump, 4, 0x06), false},
        {"IR first part", ir.front(), true},
        {"IR middle part", ir[1], true},
        {"IR last part", ir.back(), true},
        {"IR last part of 42 bytes", lastIR42, true},
        {"param value", devsim::BuildParamValue(3, 4), true},
        {"param value of 9 bytes", shortParam, false},
        {"short reply q", devsim::BuildShortReply('q'), true},
        {"unknown short reply", devsim::BuildShortReply('z'), false},
        {"loader reply", devsim::BuildLoaderReply(0x14), true},
        {"empty", Bytes{}, false},
        {"F0 F7", Bytes{0xF0, 0xF7}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsWellFormedReply(c.message), c.legal) << c.what;
}

TEST(ReplyRules, DeviceValuesReachPresetKnobBankAndSettingsOnly) {
    for (int index = 0; index < 128; ++index) {
        const bool expected = index <= 73 || index == 0x4D || index >= 89;
        EXPECT_EQ(omnar::IsDeviceValueIndex(index), expected) << index;
    }
    EXPECT_FALSE(omnar::IsDeviceValueIndex(-1));
    EXPECT_FALSE(omnar::IsDeviceValueIndex(200));
}

TEST(ReplyRules, VersionGate) {
    const std::string upgrade = "Please upgrade Omnar to actual version 12.";
    const std::string outdated =
        "Editor version out of date. Please download the most recent version.";
    EXPECT_EQ(omnar::VersionGateMessage(0), upgrade);
    EXPECT_EQ(omnar::VersionGateMessage(9), upgrade);
    EXPECT_EQ(omnar::VersionGateMessage(10), std::nullopt);
    EXPECT_EQ(omnar::VersionGateMessage(129), std::nullopt);
    EXPECT_EQ(omnar::VersionGateMessage(130), outdated);
    EXPECT_EQ(omnar::VersionGateMessage(255), outdated);
}

TEST(ReplyRules, ReceivedNamesLoseTrailingBlanksUnlessAllBlank) {
    const auto field = [](const std::string& text) {
        const auto padded = devsim::TextField(text);
        return Bytes(padded.begin(), padded.end());
    };
    EXPECT_EQ(omnar::TrimReceivedName(field("Big Cab")), "Big Cab");
    EXPECT_EQ(omnar::TrimReceivedName(field(std::string(32, 'x'))), std::string(32, 'x'));
    EXPECT_EQ(omnar::TrimReceivedName(field("")), std::string(32, ' '));
    EXPECT_EQ(omnar::TrimReceivedName(field("A")), "A" + std::string(31, ' '));
    EXPECT_EQ(omnar::TrimReceivedName(WithByte(field("Cab 2"), 3, 0)), "Cab");
}

TEST(ReplyRules, AmpAndReverbModesFromPresetValues) {
    const auto preset = [](std::initializer_list<std::pair<int, int>> values) {
        std::vector<int> v(74, 0);
        for (const auto& [index, value] : values)
            v[std::size_t(index)] = value;
        return v;
    };
    const auto& amp = omnar::AmpModeDefaults;
    const auto& reverb = omnar::ReverbModeDefaults;
    struct Case {
        std::vector<int> values;
        int amp;
        int reverb;
    };
    const auto ampRow = [&](int r, int buzzOverride = -1) {
        const auto& row = amp[std::size_t(r)];
        return preset({{2, buzzOverride >= 0 ? buzzOverride : row[1]},
                       {3, row[2]},
                       {44, row[4]},
                       {45, row[5]},
                       {46, row[6]},
                       {11, row[7]}});
    };
    const auto& room = reverb[4];
    const Case cases[] = {
        {ampRow(0), 0, 7},
        {ampRow(7), 7, 7},
        {ampRow(9), 9, 7},
        {ampRow(3, 62), 12, 7}, // no row: Buzz 62
        {ampRow(3, 63), 11, 7}, // no row: Buzz 63
        {ampRow(3, 20), 10, 7}, // no row otherwise
        {preset({{18, room[1]},
                 {19, room[2]},
                 {20, room[3]},
                 {21, room[4]},
                 {22, room[5]},
                 {23, room[6]},
                 {24, room[7]},
                 {58, room[8]},
                 {59, room[9]}}),
         10, 4},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(omnar::DetectAmpMode(c.values, amp), c.amp);
        EXPECT_EQ(omnar::DetectReverbMode(c.values, reverb), c.reverb);
    }
}

TEST(ReplyRules, StoredMessagesAreFoundOnlyWhole) {
    const Bytes a = devsim::BuildShortReply('q');
    const Bytes b = devsim::BuildDump(0x41, 12, 1, devsim::DefaultPreset(1));
    const Bytes stream = Concat({a, b, Bytes{0xF0, 0x00, 0x51}});
    const auto first = omnar::NthStoredMessage(stream, 0);
    const auto second = omnar::NthStoredMessage(stream, 1);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(Bytes(first->begin(), first->end()), a);
    EXPECT_EQ(Bytes(second->begin(), second->end()), b);
    EXPECT_FALSE(omnar::NthStoredMessage(stream, 2)); // cut short
    EXPECT_FALSE(omnar::NthStoredMessage(stream, 3));
    EXPECT_FALSE(omnar::NthStoredMessage(stream, -1));
    EXPECT_FALSE(omnar::NthStoredMessage(Bytes(300, 0x10), 0)); // no F7 in reach
}

TEST(ReplyRules, RestoreWritesTranslateCommandsAndForceTheVersionByte) {
    const Bytes preset = devsim::BuildDump(0x41, 31, 7, devsim::DefaultPreset(7));
    const std::vector<Bytes> ir = devsim::BuildIRDump(9, devsim::SyntheticFactoryIR(2));
    struct Case {
        Bytes stored;
        std::uint8_t command;
    };
    const Case cases[] = {
        {preset, 0x7F},
        {ir.front(), 0x77},
        {ir[1], 0x78},
        {ir.back(), 0x79},
        {devsim::BuildShortReply('W'), 'W'},
    };
    int running = 0;
    for (const Case& c : cases) {
        const Bytes out = omnar::RestoreWrite(c.stored, running);
        ASSERT_EQ(out.size(), c.stored.size());
        EXPECT_EQ(out[5], c.command);
        EXPECT_EQ(out[6], 0x0C);
        if (out.size() > 10) {
            EXPECT_TRUE(std::equal(out.begin() + 7, out.end() - 3, c.stored.begin() + 7));
        }
    }
}

TEST(ReplyRules, RestoredIRCheckBytesAreRecomputedWhateverTheFileHeld) {
    const std::vector<Bytes> intact = devsim::BuildIRDump(9, devsim::SyntheticFactoryIR(2));
    std::vector<Bytes> spoilt = intact;
    spoilt.back()[spoilt.back().size() - 2] ^= 0x55;
    spoilt.back()[spoilt.back().size() - 3] ^= 0x11;
    const auto restore = [](const std::vector<Bytes>& parts) {
        int running = 12345;
        Bytes last;
        for (const Bytes& part : parts)
            last = omnar::RestoreWrite(part, running);
        return Bytes(last.end() - 3, last.end() - 1);
    };
    EXPECT_EQ(restore(spoilt), restore(intact));
    EXPECT_EQ(restore(intact), Bytes(intact.back().end() - 3, intact.back().end() - 1));
}

TEST(ReplyRules, BackedUpIRDumpsMustBeWholeAndChecked) {
    const std::vector<Bytes> parts = devsim::BuildIRDump(9, devsim::SyntheticFactoryIR(2));
    EXPECT_TRUE(omnar::IsWholeIRDump(Concat(parts)));
    std::vector<Bytes> missing = parts;
    missing.erase(missing.begin() + 3);
    EXPECT_FALSE(omnar::IsWholeIRDump(Concat(missing)));
    std::vector<Bytes> spoilt = parts;
    spoilt[4][100] ^= 1;
    EXPECT_FALSE(omnar::IsWholeIRDump(Concat(spoilt)));
    std::vector<Bytes> twice = parts;
    twice.push_back(parts.back());
    EXPECT_FALSE(omnar::IsWholeIRDump(Concat(twice)));
    EXPECT_FALSE(omnar::IsWholeIRDump(Concat({parts.back()})));
}

TEST(ReplyRules, PresetDumpsNameTheUserIRsTheyPlayBelow256) {
    devsim::PresetImage image = devsim::DefaultPreset(0);
    const auto dump = [&] { return devsim::BuildDump(0x41, 12, 0, image); };
    EXPECT_TRUE(omnar::UserIRsOfPresetDump(dump()).empty());
    image[34 + 40] = 1; // IR A on: number 1 * 128 + 5
    image[34 + 53] = 1;
    image[34 + 54] = 5;
    image[34 + 41] = 1; // IR B on: number 2 * 128 + 1, out of the backup's range
    image[34 + 55] = 2;
    image[34 + 56] = 1;
    EXPECT_EQ(omnar::UserIRsOfPresetDump(dump()), std::vector<int>{133});
}

} // namespace
