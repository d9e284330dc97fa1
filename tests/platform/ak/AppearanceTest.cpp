#include "platform/ak/Appearance.h"
#include "platform/ak/test/AkTest.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// The theme chosen in settings rather than forced by the environment, so the
// test can change it.
const bool kUnforced = unsetenv("GTK_THEME") == 0;

TEST(Appearance, FollowsTheThemeAndReportsChanges) {
    ASSERT_TRUE(kUnforced);
    ASSERT_NE(ak::test::App(), nullptr);
    ak::test::SetTheme("Adwaita", false);
    ASSERT_TRUE(ak::test::WaitUntilServed());
    EXPECT_FALSE(ak::Appearance::IsDark());
    EXPECT_GT(ak::Appearance::WindowBackground().red, 0.5);
    EXPECT_GT(ak::Appearance::TextBackground().green, 0.5);

    int changes = 0;
    ak::Appearance::SetChangeCallback([&] { ++changes; });
    ak::test::SetTheme("Adwaita", true);
    ASSERT_TRUE(ak::test::PumpUntil([&] { return ak::Appearance::IsDark(); }));
    EXPECT_GE(changes, 1);
    EXPECT_LT(ak::Appearance::WindowBackground().red, 0.5);
    ak::Appearance::SetChangeCallback({});
}

} // namespace
