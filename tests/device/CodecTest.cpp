#include "device/DeviceParamIdTable.h"
#include "device/MessageBuilders.h"
#include "device/NameText.h"
#include "device/Packing.h"
#include "device/ParamTable.h"
#include "device/TransferMessages.h"
#include "tests/devsim/GoldenVectors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

template <std::size_t N>
Bytes ToBytes(const std::uint8_t (&bytes)[N]) {
    return Bytes(bytes, bytes + N);
}

Bytes ToBytes(const omnar::DeviceMessage& message) {
    return Bytes(message.Bytes().begin(), message.Bytes().end());
}

// The integer parameter values of a freshly set-up editor.
omnar::ParamInts DefaultValues() {
    static std::array<vx::IParam, omnar::kParamCount> params;
    std::array<vx::IParam*, omnar::kParamCount> pointers{};
    std::transform(params.begin(), params.end(), pointers.begin(),
                   [](vx::IParam& p) { return &p; });
    omnar::SetUpParameters(pointers);
    return omnar::CurrentIntValues(pointers);
}

std::array<int, 128> IdentityProgramMap() {
    std::array<int, 128> map{};
    std::iota(map.begin(), map.end(), 0);
    return map;
}

omnar::DeviceMessage SettingsDumpAtDefaults(int type) {
    const omnar::ParamInts values = DefaultValues();
    const std::array<int, 128> map = IdentityProgramMap();
    return omnar::BuildSettingsDump(type, 0, values, map).value();
}

omnar::DumpData SerialData(const char* serial) {
    omnar::DumpData data{};
    const omnar::TextField field = omnar::MakeTextField(serial);
    std::copy(field.begin(), field.end(), data.begin() + 224);
    return data;
}

omnar::CurrentPresetSource Named(int presetNumber, const char* name) {
    omnar::CurrentPresetSource source;
    source.presetNumber = presetNumber;
    source.name = name;
    return source;
}

struct GoldenCase {
    const char* what;
    Bytes built;
    Bytes golden;
};

TEST(Codec, BuildersMatchTheGoldenVectors) {
    using namespace omnar;
    const ParamInts defaults = DefaultValues();
    const GoldenCase cases[] = {
        {"identity request", ToBytes(BuildIdentityRequest()), ToBytes(golden::kIdentityRequest)},
        {"settings 0 at defaults", ToBytes(SettingsDumpAtDefaults(0)),
         ToBytes(golden::kSettingsDumpGlobalsAtDefaults)},
        {"settings 1 at defaults", ToBytes(SettingsDumpAtDefaults(1)),
         ToBytes(golden::kSettingsDumpSetupAtDefaults)},
        {"settings 2 identity map", ToBytes(SettingsDumpAtDefaults(2)),
         ToBytes(golden::kSettingsDumpProgramMapIdentity)},
        {"current preset at defaults", ToBytes(BuildCurrentPreset({}, defaults)),
         ToBytes(golden::kCurrentPresetAtDefaults)},
        {"bulk begin", ToBytes(BuildBulkMode(1)), ToBytes(golden::kBulkBegin)},
        {"bulk end", ToBytes(BuildBulkMode(0)), ToBytes(golden::kBulkEnd)},
        {"IR dump request 200", ToBytes(BuildIRDumpRequest(200)),
         ToBytes(golden::kIRDumpRequestSlot200)},
        {"preset select 5", ToBytes(BuildPresetSelect(5)), ToBytes(golden::kPresetSelect5)},
        {"preset dump request 7", ToBytes(BuildPresetDumpRequest(7)),
         ToBytes(golden::kPresetDumpRequest7)},
        {"level to 100", ToBytes(BuildParamMessage(DeviceParamIdTable[0], 100)),
         ToBytes(golden::kParamChangeLevel100)},
        {"room size to 64", ToBytes(BuildParamMessage(DeviceParamIdTable[16], 64)),
         ToBytes(golden::kParamChangeRoomSize64)},
        {"store to slot 9", ToBytes(BuildParamMessage(0x12, 9)), ToBytes(golden::kStoreToSlot9)},
        {"IR names block 32", ToBytes(BuildIRNamesRequest(32)), ToBytes(golden::kIRNamesRequest32)},
        {"factory reset all", ToBytes(BuildFactoryReset(0)), ToBytes(golden::kFactoryResetAll)},
        {"editor closed", ToBytes(BuildEditorClosed()), ToBytes(golden::kEditorClosed)},
        {"firmware enter", ToBytes(BuildFirmwareEnter()), ToBytes(golden::kFirmwareEnter)},
        // Device-side dumps share the framing and checksum, so the same type rebuilds them.
        {"identity reply", ToBytes(MakeDump(0x52, 0x0F, SerialData("OMN-SIM-000001"))),
         ToBytes(golden::kIdentityReply)},
        {"preset 001 reply",
         ToBytes(MakeDump(0x41, 0, PresetData(Named(0, "Preset 001"), defaults))),
         ToBytes(golden::kSimPresetDumpReplySlot0)},
    };
    for (const GoldenCase& c : cases)
        EXPECT_EQ(c.built, c.golden) << c.what;
}

TEST(Codec, PresetValuesAtDefaultsAreTheGoldenOnes) {
    const omnar::ParamInts defaults = DefaultValues();
    const Bytes values(defaults.begin(), defaults.begin() + omnar::kPresetValueCount);
    EXPECT_EQ(values, ToBytes(golden::kPresetDefaultValues));
}

TEST(Codec, IRDumpFirstHeader) {
    const Bytes packed(256, 0);
    const omnar::DeviceMessage first = omnar::BuildIRDumpFirst(0, 2785, packed);
    ASSERT_EQ(first.Size(), 269);
    EXPECT_EQ(Bytes(first.Bytes().begin(), first.Bytes().begin() + 12),
              ToBytes(golden::kIRDumpFirstHeaderSlot0));
}

TEST(Codec, MessageLengthsOfTheCatalogue) {
    using namespace omnar;
    const ParamInts defaults = DefaultValues();
    const Bytes part(300, 0x11);
    const std::span<const std::uint8_t> all(part);
    const struct {
        const char* what;
        int size;
        int expected;
    } cases[] = {
        {"IR dump middle", BuildIRDumpMiddle(all).Size(), 264},
        {"IR dump last of 1", BuildIRDumpLast(all.first(1), {0, 0}).Size(), 11},
        {"IR dump last of 256", BuildIRDumpLast(all, {0, 0}).Size(), 266},
        {"firmware start", BuildFirmwareStart(1000, all).Size(), 250},
        {"firmware chunk", BuildFirmwareChunk(all).Size(), 247},
        {"firmware chunk last of 5", BuildFirmwareChunkLast(all.first(5), {0, 0}).Size(), 14},
        {"second header params", BuildAltHeaderParams(defaults).Size(), 46},
        {"second header request", BuildAltHeaderRequest().Size(), 9},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.size, c.expected) << c.what;
    EXPECT_EQ(ToBytes(BuildAltHeaderRequest()),
              (Bytes{0xF0, 0x00, 0x21, 0x11, 0x04, 0x02, 0x71, 0x00, 0xF7}));
    const Bytes params = ToBytes(BuildAltHeaderParams(defaults));
    EXPECT_EQ(Bytes(params.begin(), params.begin() + 7),
              (Bytes{0xF0, 0x00, 0x21, 0x11, 0x04, 0x03, 0x0C}));
    EXPECT_EQ(params[7 + 18], 100); // Reverb Diffusion
    EXPECT_EQ(params[7 + 37], 0);
}

TEST(Codec, CheckDigitsOfDumpSums) {
    for (const golden::ChecksumCase& c : golden::kChecksumCases) {
        const auto digits = omnar::CheckDigits(c.sum);
        EXPECT_EQ(digits[0], c.hi) << c.sum;
        EXPECT_EQ(digits[1], c.lo) << c.sum;
    }
}

TEST(Codec, PackedSizesAndFixedPackings) {
    for (const golden::PackedSizeCase& c : golden::kPackedSizes) {
        EXPECT_EQ(omnar::PackedSize(c.sourceBytes), c.packedBytes) << c.sourceBytes;
        EXPECT_EQ(omnar::Pack8To7(Bytes(c.sourceBytes, 0xA5)).size(), c.packedBytes)
            << c.sourceBytes;
    }
    EXPECT_EQ(omnar::Pack8To7(golden::kPackSevenIn), ToBytes(golden::kPackSevenOut));
    const Bytes packedFF = omnar::Pack8To7(Bytes{0xFF});
    EXPECT_EQ(packedFF, ToBytes(golden::kPackFFOut));
    const auto check = omnar::TransferCheck(packedFF);
    EXPECT_EQ(Bytes(check.begin(), check.end()), ToBytes(golden::kPackFFCheck));
}

TEST(Codec, BlankIRImagePacksToItsTransferCheck) {
    Bytes image(2436, 0);
    std::copy(std::begin(golden::kBlankIRImageHead), std::end(golden::kBlankIRImageHead),
              image.begin());
    const Bytes packed = omnar::Pack8To7(image);
    ASSERT_EQ(packed.size(), 2785u);
    EXPECT_EQ(packed.back(), 0);
    const auto check = omnar::TransferCheck(packed);
    EXPECT_EQ(Bytes(check.begin(), check.end()), ToBytes(golden::kBlankIRTransferCheck));
}

// Feeds a packed transfer in message-sized parts, as the receiver does, then the closing 0.
Bytes StreamUnpack(const Bytes& packed, std::size_t capacity,
                   omnar::StreamUnpacker* out = nullptr) {
    omnar::StreamUnpacker local(capacity);
    omnar::StreamUnpacker& unpacker = out ? *out : local;
    unpacker.Begin(static_cast<int>(packed.size()));
    for (std::size_t at = 0; at < packed.size(); at += 256) {
        const std::size_t end = std::min(packed.size(), at + 256);
        for (std::size_t i = at; i < end; ++i)
            unpacker.Feed(packed[i]);
    }
    unpacker.Flush();
    return Bytes(unpacker.Output().begin(), unpacker.Output().end());
}

TEST(Codec, PackThenStreamUnpackIsTheIdentity) {
    std::mt19937 random(7);
    for (const std::size_t size : {1u, 7u, 8u, 100u, 2436u, 65535u}) {
        Bytes source(size);
        std::generate(source.begin(), source.end(), [&] { return std::uint8_t(random()); });
        source.back() = 0xFF; // the last bits must survive the closing 0
        const Bytes packed = omnar::Pack8To7(source);
        omnar::StreamUnpacker unpacker(65536);
        EXPECT_EQ(StreamUnpack(packed, 65536, &unpacker), source) << size;
        EXPECT_EQ(unpacker.Expected(), size);
        EXPECT_FALSE(unpacker.Overflowed());
    }
}

TEST(Codec, UnpackerWithoutTheClosingByteHoldsBackTheLastBits) {
    const Bytes packed = omnar::Pack8To7(Bytes{0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE});
    omnar::StreamUnpacker unpacker(16);
    unpacker.Begin(static_cast<int>(packed.size()));
    for (const std::uint8_t byte : packed)
        unpacker.Feed(byte);
    EXPECT_EQ(unpacker.OutputPosition(), 7u); // the trailing packed 0 flushed the data
    omnar::StreamUnpacker early(16);
    early.Begin(static_cast<int>(packed.size()));
    for (std::size_t i = 0; i + 1 < packed.size(); ++i)
        early.Feed(packed[i]);
    EXPECT_EQ(early.OutputPosition(), 6u);
}

TEST(Codec, DeclaredSizeBeyondTheBufferStopsAtItsEnd) {
    // A first IR message may announce up to 2^21 - 1 packed bytes; the IR buffer holds 4096.
    omnar::StreamUnpacker unpacker(4096);
    unpacker.Begin((1 << 21) - 1);
    for (int i = 0; i < 6000; ++i)
        unpacker.Feed(0x55);
    unpacker.Flush();
    EXPECT_EQ(unpacker.OutputPosition(), 4096u);
    EXPECT_TRUE(unpacker.Overflowed());

    // A new transfer starts clean.
    const Bytes source(10, 0x3C);
    EXPECT_EQ(StreamUnpack(omnar::Pack8To7(source), 4096, &unpacker), source);
    EXPECT_FALSE(unpacker.Overflowed());
}

TEST(Codec, TextFieldsAreCutPaddedAndSanitised) {
    for (const golden::TextFieldCase& c : golden::kTextFields) {
        const omnar::TextField field = omnar::MakeTextField(c.text);
        EXPECT_EQ(Bytes(field.begin(), field.end()), Bytes(c.field, c.field + 32))
            << '"' << c.text << '"';
    }
    // The preset name travels through the same field, at data offset 2.
    const omnar::DeviceMessage preset =
        omnar::BuildCurrentPreset(Named(3, golden::kTextFields[2].text), DefaultValues());
    EXPECT_EQ(preset.Bytes()[7], 3);
    EXPECT_EQ(Bytes(preset.Bytes().begin() + 10, preset.Bytes().begin() + 42),
              Bytes(golden::kTextFields[2].field, golden::kTextFields[2].field + 32));
}

// What a name may hold on the pedal: accented letters and typographic marks
// become plain ones, every other character that is not printable ASCII goes.
TEST(Codec, NamesAreMadePlainForThePedal) {
    const struct {
        std::u32string typed;
        std::u32string plain;
    } cases[] = {
        {U"Café Größe", U"Cafe Grosse"},
        {U"ÀÉÎÕÜ àéîõü Ññ Çç Øø Åå", U"AEIOU aeiou Nn Cc Oo Aa"},
        {U"Łódź Šibenik Œuvre Æther", U"Lodz Sibenik OEuvre AEther"},
        {U"“Slap” – ‘Tone’", U"\"Slap\" - 'Tone'"},
        {U"Bass 日本 ♯ 🎸 ×÷", U"Bass    "},
        {U"tab\there\x7F", U"tabhere"},
        {U" !~", U" !~"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(omnar::PlainNameText(c.typed), c.plain)
            << std::string(c.plain.begin(), c.plain.end());
}

TEST(Codec, IRNamesTravelOnlyWhileTheirIRIsOn) {
    omnar::ParamInts values = DefaultValues();
    values[40] = 1;
    const omnar::DeviceMessage preset =
        omnar::BuildCurrentPreset({0, "Name", "Cab A", "Cab B"}, values);
    const auto bytes = preset.Bytes();
    EXPECT_EQ(std::string(bytes.begin() + 200, bytes.begin() + 205), "Cab A");
    EXPECT_EQ(bytes[205], ' ');
    EXPECT_TRUE(std::all_of(bytes.begin() + 232, bytes.begin() + 264,
                            [](std::uint8_t b) { return b == ' '; }));
    EXPECT_EQ(bytes[8 + 34 + 40], 1);
}

TEST(Codec, NoBodyByteReachesTheStatusRange) {
    // Out-of-range arguments must not put a status byte inside a message.
    using namespace omnar;
    omnar::ParamInts values{};
    values.fill(0x1FF);
    std::array<int, 128> map{};
    map.fill(200);
    const DeviceMessage messages[] = {
        BuildPresetSelect(200),
        BuildIRDumpRequest(20000),
        BuildParamMessage(300, 255),
        BuildCurrentPreset(Named(130, "x"), values),
        *BuildSettingsDump(0, 255, values, map),
        *BuildSettingsDump(2, 0, values, map),
        BuildIRDumpFirst(1 << 15, 1 << 22, Bytes(256, 0xFF)),
    };
    for (const DeviceMessage& message : messages) {
        const auto bytes = message.Bytes();
        ASSERT_GE(bytes.size(), 7u);
        EXPECT_EQ(bytes.front(), 0xF0);
        EXPECT_EQ(bytes.back(), 0xF7);
        EXPECT_TRUE(std::all_of(bytes.begin() + 1, bytes.end() - 1,
                                [](std::uint8_t b) { return b < 0x80; }));
    }
}

TEST(Codec, DumpChecksumCoversTheBytesSent) {
    omnar::DumpData data{};
    data.fill(0xFF); // sent as 7F each
    const omnar::DeviceMessage dump = omnar::MakeDump(0x20, 0, data);
    EXPECT_EQ(dump.Bytes()[264], 0x7E);
    EXPECT_EQ(dump.Bytes()[265], 0x00);
}

TEST(Codec, ReceivedDumpChecksums) {
    Bytes corrupt = ToBytes(golden::kIdentityReply);
    corrupt[240] ^= 0x01;
    const Bytes shortened(std::begin(golden::kIdentityReply), std::end(golden::kIdentityReply) - 1);
    const struct {
        const char* what;
        Bytes dump;
        bool ok;
    } cases[] = {
        {"identity reply", ToBytes(golden::kIdentityReply), true},
        {"device globals", ToBytes(golden::kSimGlobalsReply), true},
        {"preset 001", ToBytes(golden::kSimPresetDumpReplySlot0), true},
        {"a data byte altered", corrupt, false},
        {"one byte short", shortened, false},
        {"not a dump", ToBytes(golden::kPresetSelect5), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(omnar::DumpChecksumOk(c.dump), c.ok) << c.what;
}

TEST(Codec, SettingsDumpsOfOtherTypesAreNeverBuilt) {
    const omnar::ParamInts values = DefaultValues();
    const std::array<int, 128> map = IdentityProgramMap();
    for (const int type : {-1, 3, 0x0F})
        EXPECT_FALSE(omnar::BuildSettingsDump(type, 0, values, map).has_value()) << type;
}

} // namespace
