#include "platform/sys/Uuid.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

TEST(UuidTest, RandomUuidsAreVersionFourAndDistinct) {
    std::set<std::string> seen;
    for (int i = 0; i < 64; ++i) {
        const auto uuid = sys::NewRandomUuid();
        ASSERT_TRUE(uuid.has_value());
        EXPECT_EQ((*uuid)[6] >> 4, 4);
        EXPECT_EQ((*uuid)[8] & 0xC0, 0x80);
        const std::string text = sys::UuidToString(*uuid);
        EXPECT_EQ(text.size(), 36u);
        EXPECT_EQ(text[14], '4');
        seen.insert(text);
    }
    EXPECT_EQ(seen.size(), 64u);
}

} // namespace
