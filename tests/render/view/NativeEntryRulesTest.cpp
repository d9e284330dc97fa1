#include "render/view/NativeEntryRules.h"

#include <gtest/gtest.h>

namespace {

TEST(NativeEntryRules, FieldsOfNumberParametersTakeNumberCharactersOnly) {
    struct Case {
        int type;
        std::u32string accepted;
    };
    const Case cases[] = {{0, U""},
                          {1, U"0123456789-+"},
                          {2, U"0123456789-+"},
                          {3, U"0123456789-+"},
                          {4, U"0123456789.-+"},
                          {5, U""}};
    for (const Case& c : cases)
        EXPECT_EQ(vx::ui::AcceptedEntryCharacters(c.type), c.accepted) << c.type;
}

TEST(NativeEntryRules, MenuItemsAreNumberedFromOneByThePrefixKind) {
    struct Case {
        int kind;
        int index;
        const char* title;
    };
    const Case cases[] = {{0, 0, "Hall"},         {1, 0, "1: Hall"},  {1, 11, "12: Hall"},
                          {2, 0, "01: Hall"},     {2, 9, "10: Hall"}, {3, 4, "005: Hall"},
                          {3, 999, "1000: Hall"}, {4, 0, "Hall"},     {-1, 0, "Hall"}};
    for (const Case& c : cases)
        EXPECT_EQ(vx::ui::NativeMenuItemTitle("Hall", c.kind, c.index), c.title)
            << c.kind << " " << c.index;
    EXPECT_EQ(vx::ui::NativeMenuItemTitle(nullptr, 2, 1), "02: ");
}

TEST(NativeEntryRules, ColourComponentsTruncateButEveryByteComesBack) {
    for (int byte = 0; byte <= 255; ++byte)
        EXPECT_EQ(vx::ui::ColorComponentByte(byte / 255.0), byte) << byte;
    EXPECT_EQ(vx::ui::ColorComponentByte(0.999), 254);
    EXPECT_EQ(vx::ui::ColorComponentByte(-0.5), 0);
    EXPECT_EQ(vx::ui::ColorComponentByte(1.5), 255);
}

} // namespace
