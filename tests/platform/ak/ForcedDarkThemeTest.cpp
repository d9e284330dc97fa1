#include "platform/ak/Appearance.h"
#include "platform/ak/test/AkTest.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

const bool kForced = setenv("GTK_THEME", "Adwaita:dark", 1) == 0;

TEST(ForcedDarkTheme, CountsAsDark) {
    ASSERT_TRUE(kForced);
    ASSERT_NE(ak::test::App(), nullptr);
    EXPECT_TRUE(ak::Appearance::IsDark());
    EXPECT_LT(ak::Appearance::TextBackground().red, 0.5);
}

} // namespace
