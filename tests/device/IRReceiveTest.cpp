#include "device/IRReceive.h"
#include "device/Packing.h"
#include "device/TransferMessages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using omnar::IRReceive;

// The messages of one IR upload of the image, as the transfer timer cuts them.
std::vector<Bytes> TransferMessages(int slot, const Bytes& image) {
    const Bytes packed = omnar::Pack8To7(image);
    const std::span<const std::uint8_t> all(packed);
    auto bytes = [](const omnar::DeviceMessage& m) {
        return Bytes(m.Bytes().begin(), m.Bytes().end());
    };
    std::vector<Bytes> messages{bytes(omnar::BuildIRDumpFirst(slot, int(packed.size()), all))};
    std::size_t at = std::min<std::size_t>(256, packed.size());
    for (; packed.size() - at > 256; at += 256)
        messages.push_back(bytes(omnar::BuildIRDumpMiddle(all.subspan(at, 256))));
    messages.push_back(
        bytes(omnar::BuildIRDumpLast(all.subspan(at), omnar::TransferCheck(packed))));
    return messages;
}

TEST(IRReceive, AnUploadReadsBackAsTheImage) {
    std::mt19937 random(3);
    Bytes image(2436);
    std::generate(image.begin(), image.end(), [&] { return std::uint8_t(random()); });
    const std::vector<Bytes> messages = TransferMessages(300, image);
    ASSERT_EQ(messages.size(), 11u); // 2785 packed bytes: 256 + 9 x 256 + 225

    IRReceive receive;
    EXPECT_EQ(receive.Take(messages.front()), IRReceive::Part::kFirst);
    for (std::size_t i = 1; i + 1 < messages.size(); ++i)
        EXPECT_EQ(receive.Take(messages[i]), IRReceive::Part::kMiddle);
    EXPECT_EQ(receive.Take(messages.back()), IRReceive::Part::kLast);

    EXPECT_EQ(receive.Slot(), 300);
    EXPECT_EQ(receive.PackedSize(), 2785);
    EXPECT_EQ(Bytes(receive.Image().begin(), receive.Image().end()), image);
    const auto check = omnar::CheckDigits(receive.RunningSum());
    EXPECT_EQ(check[0], receive.CheckHigh());
    EXPECT_EQ(check[1], receive.CheckLow());
}

TEST(IRReceive, OtherAndMalformedMessagesChangeNothing) {
    const struct {
        const char* what;
        Bytes message;
    } cases[] = {
        {"empty", {}},
        {"preset select", {0xF0, 0x00, 0x51, 0x21, 0x05, 0x23, 0x0C, 0x05, 0xF7}},
        {"loader group",
         {0xF0, 0x00, 0x51, 0x21, 0x04, 0x60, 0x0C, 0x00, 0x00, 0x00, 0x15, 0x61, 0xF7}},
        {"first part cut in its header",
         {0xF0, 0x00, 0x51, 0x21, 0x05, 0x60, 0x0C, 0x00, 0x00, 0xF7}},
        {"last part without check digits", {0xF0, 0x00, 0x51, 0x21, 0x05, 0x66, 0x0C, 0xF7}},
        {"no closing F7", {0xF0, 0x00, 0x51, 0x21, 0x05, 0x65, 0x0C, 0x01, 0x02}},
    };
    for (const auto& c : cases) {
        IRReceive receive;
        EXPECT_EQ(receive.Take(c.message), IRReceive::Part::kNone) << c.what;
        EXPECT_EQ(receive.PackedSize(), 0) << c.what;
        EXPECT_TRUE(receive.Image().empty()) << c.what;
    }
}

TEST(IRReceive, AnOversizedAnnouncementStopsAtTheImageBuffer) {
    // The first part claims 2^21 - 1 packed bytes, then the parts keep coming.
    Bytes first = {0xF0, 0x00, 0x51, 0x21, 0x05, 0x60, 0x0C, 0x00, 0x01, 0x7F, 0x7F, 0x7F};
    first.resize(12 + 256, 0x2A);
    first.push_back(0xF7);
    Bytes middle = {0xF0, 0x00, 0x51, 0x21, 0x05, 0x65, 0x0C};
    middle.resize(7 + 256, 0x55);
    middle.push_back(0xF7);

    IRReceive receive;
    ASSERT_EQ(receive.Take(first), IRReceive::Part::kFirst);
    for (int i = 0; i < 40; ++i)
        receive.Take(middle);
    EXPECT_EQ(receive.Take(Bytes{0xF0, 0x00, 0x51, 0x21, 0x05, 0x66, 0x0C, 0x11, 0x00, 0x00, 0xF7}),
              IRReceive::Part::kLast);
    EXPECT_EQ(receive.Image().size(), IRReceive::kImageCapacity);
    EXPECT_TRUE(receive.Overflowed());
    EXPECT_LE(receive.RunningSum(), 0x3FFFu);
}

} // namespace
