#include "framework/VxString.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(VxString, EmptyStringReadsAsEmptyText) {
    VxString text;
    EXPECT_STREQ(text.Get(), "");
    EXPECT_EQ(text.GetLength(), 0);
    text.Set(nullptr, 0);
    EXPECT_STREQ(text.Get(), "");
    EXPECT_EQ(text.Buffer().GetSize(), 1);
}

TEST(VxString, AppendingItsOwnTextDoublesItWhenTheBufferMoves) {
    VxString text;
    std::string expected(100, 'a');
    text.SetBounded(expected.c_str());
    bool moved = false;
    for (int i = 0; i < 6; ++i) {
        const void* before = text.Buffer().Get();
        text.Append(text.Get(), text.GetLength());
        expected += expected;
        ASSERT_STREQ(text.Get(), expected.c_str()) << "round " << i;
        moved = moved || text.Buffer().Get() != before;
    }
    EXPECT_TRUE(moved) << "the test never made the buffer move";
}

TEST(VxString, ShorterSetKeepsTheAllocation) {
    VxString text;
    text.SetBounded("a text of some forty characters in all..");
    const int alloc = text.Buffer().GetAlloc();
    text.SetBounded("short");
    EXPECT_STREQ(text.Get(), "short");
    EXPECT_EQ(text.Buffer().GetSize(), 6);
    EXPECT_EQ(text.Buffer().GetAlloc(), alloc);
}

TEST(VxString, SetFormattedCutsAtTheMaximum) {
    VxString text;
    text.SetFormatted(32, "%i", 123456);
    EXPECT_STREQ(text.Get(), "123456");
    EXPECT_EQ(text.Buffer().GetSize(), 7);
    text.SetFormatted(3, "%i", 123456);
    EXPECT_STREQ(text.Get(), "123");
    EXPECT_EQ(text.Buffer().GetSize(), 4);
    text.SetFormatted(0, "%s", "anything");
    EXPECT_STREQ(text.Get(), "");
}

TEST(VxString, AppendFormattedCutsOnlyTheAppendedPart) {
    VxString text("Preset ");
    text.AppendFormatted(2, "%03d", 7);
    EXPECT_STREQ(text.Get(), "Preset 00");
    text.AppendFormatted(32, "/%s", "end");
    EXPECT_STREQ(text.Get(), "Preset 00/end");
    EXPECT_EQ(text.Buffer().GetSize(), text.GetLength() + 1);
}

struct BoundedCase {
    const char* start;
    const char* text;
    int maximum;
    const char* afterSet;
    const char* afterAppend;
};

TEST(VxString, BoundedSetAndAppend) {
    const BoundedCase cases[] = {
        {"x", "hello", 0, "hello", "xhello"},
        {"x", "hello", -3, "hello", "xhello"},
        {"x", "hello", 3, "hel", "xhel"},
        {"x", "hello", 50, "hello", "xhello"},
        {"x", "he\0llo", 5, "he", "xhe"},
        {"x", nullptr, 4, "", "x"},
        {"x", "", 4, "", "x"},
    };
    for (const BoundedCase& c : cases) {
        VxString set(c.start);
        set.SetBounded(c.text, c.maximum);
        EXPECT_STREQ(set.Get(), c.afterSet) << c.maximum;
        VxString append(c.start);
        append.AppendBounded(c.text, c.maximum);
        EXPECT_STREQ(append.Get(), c.afterAppend) << c.maximum;
    }
}

TEST(VxString, CopiesAreIndependent) {
    VxString original("one");
    VxString copy = original;
    copy.AppendBounded(" two");
    EXPECT_STREQ(original.Get(), "one");
    EXPECT_STREQ(copy.Get(), "one two");
}

} // namespace
