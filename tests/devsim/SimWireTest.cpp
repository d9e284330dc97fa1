#include "tests/devsim/SimWire.h"
#include "tests/devsim/GoldenVectors.h"
#include "tests/devsim/SimState.h"
#include "tests/devsim/SimTestSupport.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace devsim;
using devsim::test::Of;

namespace {

Bytes Pattern(std::size_t n) {
    Bytes bytes(n);
    for (std::size_t i = 0; i < n; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 37 + (i >> 8) * 11 + 0xA5);
    }
    return bytes;
}

} // namespace

TEST(SimWire, CheckDigitsMatchTheGoldenSums) {
    for (const auto& c : golden::kChecksumCases) {
        const auto check = CheckDigits(c.sum);
        EXPECT_EQ(check[0], c.hi) << c.sum;
        EXPECT_EQ(check[1], c.lo) << c.sum;
    }
}

TEST(SimWire, PackingHasTheGoldenSizesAndUnpacksToTheSource) {
    for (const auto& c : golden::kPackedSizes) {
        const Bytes source = Pattern(c.sourceBytes);
        const Bytes packed = Pack8To7(source);
        ASSERT_EQ(packed.size(), c.packedBytes) << c.sourceBytes;
        EXPECT_TRUE(std::all_of(packed.begin(), packed.end(), [](auto b) { return b < 0x80; }));
        EXPECT_EQ(Unpack7To8(packed), source) << c.sourceBytes;
    }
}

TEST(SimWire, PackingMatchesTheGoldenBytes) {
    EXPECT_EQ(Pack8To7(Of(golden::kPackSevenIn)), Of(golden::kPackSevenOut));
    const Bytes ff = Pack8To7(Bytes{0xFF});
    EXPECT_EQ(ff, Of(golden::kPackFFOut));
    const auto check = CheckDigits(SumOf(ff) & 0x3FFF);
    EXPECT_EQ(Bytes(check.begin(), check.end()), Of(golden::kPackFFCheck));
}

TEST(SimWire, BlankIRTravelsAsTheGoldenTransfer) {
    const IRImage blank = BlankIRImage();
    EXPECT_TRUE(std::equal(std::begin(golden::kBlankIRImageHead),
                           std::end(golden::kBlankIRImageHead), blank.begin()));
    EXPECT_TRUE(std::all_of(blank.begin() + 36, blank.end(), [](auto b) { return b == 0; }));

    const std::vector<Bytes> parts = BuildIRDump(0, blank);
    ASSERT_EQ(parts.size(), 11u); // first, nine middle, last
    EXPECT_EQ(Bytes(parts[0].begin(), parts[0].begin() + 12), Of(golden::kIRDumpFirstHeaderSlot0));
    EXPECT_EQ(parts[0].size(), 269u);
    EXPECT_EQ(parts[5].size(), 264u);
    const Bytes& last = parts.back();
    ASSERT_EQ(last.size(), 235u);
    EXPECT_EQ(Bytes(last.end() - 3, last.end() - 1), Of(golden::kBlankIRTransferCheck));
}

TEST(SimWire, TextFieldsAreCutPaddedAndSanitised) {
    for (const auto& c : golden::kTextFields) {
        const auto field = TextField(c.text);
        EXPECT_TRUE(std::equal(field.begin(), field.end(), std::begin(c.field))) << c.text;
    }
}

TEST(SimWire, BuildersMatchTheGoldenMessages) {
    EXPECT_EQ(BuildShortReply('W'), Of(golden::kReplyWritten));
    EXPECT_EQ(BuildShortReply('}'), Of(golden::kReplyIRRestored));
    EXPECT_EQ(BuildLoaderReply(0x12), Of(golden::kLoaderReady));
    Bytes setup(256, 0);
    std::iota(setup.begin(), setup.begin() + 8, 0);
    EXPECT_EQ(BuildDump(0x52, 0x0C, 1, setup), Of(golden::kSettingsDumpSetupAtDefaults));
}

TEST(SimWire, FramesMustBeDeviceMessagesWithSevenBitBodies) {
    EXPECT_TRUE(IsDeviceFrame(Of(golden::kIdentityRequest)));
    EXPECT_TRUE(IsDeviceFrame(Of(golden::kFirmwareEnter)));
    Bytes wrongMaker = Of(golden::kIdentityRequest);
    wrongMaker[2] = 0x52;
    Bytes highByte = Of(golden::kIdentityRequest);
    highByte[7] = 0x8F;
    Bytes noEnd = Of(golden::kIdentityRequest);
    noEnd.pop_back();
    for (const Bytes& bad : {wrongMaker, highByte, noEnd, Bytes{0xF0, 0xF7}, Bytes{}}) {
        EXPECT_FALSE(IsDeviceFrame(bad));
    }
}
