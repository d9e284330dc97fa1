#include "platform/sys/Utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct ValidityCase {
    const char* name;
    std::string bytes;
    bool valid;
};

TEST(Utf8Test, ValidityFollowsTheEncodingRules) {
    const ValidityCase cases[] = {
        {"ascii", "settings.ini", true},
        {"empty", "", true},
        {"embedded nul", std::string("a\0b", 3), true},
        {"two-byte", "caf\xC3\xA9", true},
        {"four-byte", "\xF0\x9F\x8E\xB8", true},
        {"largest code point", "\xF4\x8F\xBF\xBF", true},
        {"lone continuation", "\x80", false},
        {"truncated three-byte", "\xE2\x82", false},
        {"overlong slash", "\xC0\xAF", false},
        {"overlong three-byte", "\xE0\x80\xAF", false},
        {"surrogate", "\xED\xA0\x80", false},
        {"above U+10FFFF", "\xF4\x90\x80\x80", false},
        {"latin-1", "Gr\xFC\xDF", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sys::IsValidUtf8(c.bytes), c.valid) << c.name;
}

TEST(Utf8Test, RoundTripsThroughCodePoints) {
    const std::u32string codePoints = {U'a', U'\u00E9', U'\u20AC', U'\U0001F3B8', U'\0', U'z'};
    const std::string text = sys::Utf32ToUtf8(codePoints);
    EXPECT_EQ(text, std::string("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x8E\xB8\0z", 12));
    EXPECT_EQ(sys::Utf8ToUtf32(text), codePoints);
}

TEST(Utf8Test, MalformedBytesDecodeAsReplacementOneByteEach) {
    EXPECT_EQ(sys::Utf8ToUtf32("a\xE2\x82z\xFF"),
              (std::u32string{U'a', 0xFFFD, 0xFFFD, U'z', 0xFFFD}));
    EXPECT_EQ(sys::Utf32ToUtf8(std::u32string{0xD800, 0x110000}), "\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(Utf8Test, BoundariesStepOverWholeSequences) {
    const std::string text = "a\xC3\xA9\xF0\x9F\x8E\xB8\x80";
    const std::size_t forward[] = {1, 3, 7, 8, 8};
    std::size_t offset = 0;
    for (std::size_t expected : forward) {
        offset = sys::NextUtf8Boundary(text, offset);
        EXPECT_EQ(offset, expected);
    }
    const std::size_t backward[] = {7, 3, 1, 0, 0};
    for (std::size_t expected : backward) {
        offset = sys::PreviousUtf8Boundary(text, offset);
        EXPECT_EQ(offset, expected);
    }
}

TEST(Utf8Test, PrefixNeverEndsInsideASequence) {
    const std::string text = "\xC3\xA9t\xC3\xA9";
    const std::size_t expected[] = {0, 0, 2, 3, 3, 5, 5};
    for (std::size_t maxBytes = 0; maxBytes < std::size(expected); ++maxBytes)
        EXPECT_EQ(sys::Utf8PrefixLength(text, maxBytes), expected[maxBytes]) << maxBytes;
}

TEST(Utf8Test, InvalidTextIsTakenAsAscii) {
    EXPECT_EQ(sys::Utf8OrAscii("caf\xC3\xA9"), "caf\xC3\xA9");
    EXPECT_EQ(sys::Utf8OrAscii("caf\xE9 \xC3\xA9"), "caf? ??");
}

} // namespace
