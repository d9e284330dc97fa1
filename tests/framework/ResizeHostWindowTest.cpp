#include "platform/ak/test/AkTest.h"
#include "tests/framework/PluginFixtures.h"
#include "winlayer/window/TopLevel.h"

#include <gtest/gtest.h>

namespace vx::test {
namespace {

INT_PTR IgnoreAll(HWND, UINT, WPARAM, LPARAM) {
    return 0;
}

TEST(ResizeHostWindowTest, ResizesTheClientAreaKeepingTheTopLeftCorner) {
    ASSERT_NE(ak::test::App(), nullptr);
    FakeHost host;
    TestProduct product{&host};
    EXPECT_FALSE(product.ResizeHostWindow(1280, 800)); // no main window

    DialogResourceRecord resource{40001, "OmnarControl", 28, nullptr, 1920, 1200, nullptr};
    host.window = winlayer::CreateModelessWindow(&resource, nullptr, &IgnoreAll, 0, 0);
    ASSERT_NE(host.window, nullptr);
    RECT before{};
    ASSERT_TRUE(GetWindowRect(host.window, &before));
    EXPECT_FALSE(product.ResizeHostWindow(1920, 1200)); // the current size

    EXPECT_TRUE(product.ResizeHostWindow(1280, 800));
    RECT frame{}, client{};
    GetWindowRect(host.window, &frame);
    GetClientRect(host.window, &client);
    EXPECT_EQ(client.right, 1280);
    EXPECT_EQ(client.bottom, 800);
    EXPECT_EQ(frame.left, before.left);
    EXPECT_EQ(frame.top, before.top);
    EXPECT_EQ(product.EditorWidth(), 1280);
    EXPECT_EQ(product.EditorHeight(), 800);
    DestroyWindow(host.window);
}

} // namespace
} // namespace vx::test
