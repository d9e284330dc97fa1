#include "platform/ak/Application.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

TEST(NoDisplay, CreationFailsAndSaysWhichDisplayOnce) {
    setenv("DISPLAY", ":97531", 1);
    setenv("GDK_BACKEND", "x11", 1);
    unsetenv("WAYLAND_DISPLAY");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(ak::Application::Create());
    EXPECT_FALSE(ak::Application::Create());
    EXPECT_EQ(ak::Application::Shared(), nullptr);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "cannot open display: :97531\n");
}

} // namespace
