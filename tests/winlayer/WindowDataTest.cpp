#include "winlayer/WindowData.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace winlayer;

TEST(ExtraDataTest, ByteIndicesShareSlotsAndOutOfRangeReadsZero) {
    ExtraData data;
    data.set(0, 11);
    EXPECT_EQ(data.get(5), 11);
    data.set(5, 12);
    EXPECT_EQ(data.get(0), 12) << "0 and 5 share one slot";
    EXPECT_EQ(data.get(8), 0);
    data.set(255, 13);
    EXPECT_EQ(data.get(248), 13);
    data.set(256, 99);
    data.set(-20, 99);
    EXPECT_EQ(data.get(256), 0);
    EXPECT_EQ(data.get(-20), 0);
    EXPECT_EQ(data.get(255), 13);
}

TEST(WindowTextTest, LongTextIsCutOnACharacterBoundary) {
    WindowText text;
    // 1,022 ASCII bytes then a three-byte character that would end at 1,025.
    std::string title(1022, 'a');
    title += "\xE2\x82\xAC";
    title += std::string(975, 'b');
    ASSERT_EQ(title.size(), 2000u);
    text.set(title);
    EXPECT_EQ(text.get(), std::string(1022, 'a'));

    const std::string fits = std::string(1020, 'a') + "\xE2\x82\xAC" + "zz";
    text.set(fits);
    EXPECT_EQ(text.get(), fits.substr(0, 1023));
    text.set("");
    EXPECT_EQ(text.get(), "");
}

TEST(MoveParamTest, PacksRoundedOriginWithNegativeX) {
    struct Case {
        double x, y;
        LPARAM expected;
    };
    const Case cases[] = {
        {0, 0, 0},
        {10.4, 20.6, (21 << 16) | 10},
        {-1, 5, (5 << 16) | 0xFFFF},
        {-300.5, 100, (100 << 16) | (-300 & 0xFFFF)},
        {70000, 1, (1 << 16) | (70000 & 0xFFFF)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PackMoveParam(c.x, c.y), c.expected) << c.x << "," << c.y;
}

TEST(DialogIntTest, ParsesLikeAFieldOfNumbers) {
    struct Case {
        const char* text;
        BOOL isSigned;
        int value;
        BOOL ok;
    };
    const Case cases[] = {
        {" 42", TRUE, 42, TRUE},        {"\t 7x", FALSE, 7, TRUE},
        {"abc", TRUE, 0, FALSE},        {"0", FALSE, 0, TRUE},
        {"", TRUE, 0, FALSE},           {"-5", TRUE, -5, TRUE},
        {"-5", FALSE, 0, FALSE},        {"2147483647", TRUE, 2147483647, TRUE},
        {"2147483648", TRUE, 0, FALSE}, {"-99999999999999999999", TRUE, 0, FALSE},
        {nullptr, TRUE, 0, FALSE},
    };
    for (const Case& c : cases) {
        BOOL ok = 2;
        EXPECT_EQ(ParseDialogInt(c.text, &ok, c.isSigned), c.value) << (c.text ? c.text : "null");
        EXPECT_EQ(ok, c.ok) << (c.text ? c.text : "null");
    }
    EXPECT_EQ(ParseDialogInt("12", nullptr, TRUE), 12);
}

} // namespace
