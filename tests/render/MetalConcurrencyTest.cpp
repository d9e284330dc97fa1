#include "tests/render/support/MetalHarness.h"

#include "render/vg/VG.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>

using namespace std::chrono_literals;
using render_test::MetalHarness;

namespace {

void fill_frame(VGdrawContext* c, float w, float h, VGcolor color) {
    vg_begin_frame(c, w, h, 1);
    vg_begin_path(c);
    vg_rect(c, 0, 0, w, h);
    vg_fill_color(c, color);
    vg_fill(c);
    vg_end_frame(c);
}

class MetalInFlight : public ::testing::Test {
protected:
    MetalHarness h;
    MVGoffscreen* target = nullptr;

    void SetUp() override {
        ASSERT_TRUE(h.ctx);
        target = vgmtl_create_offscreen(h.ctx.get(), 8, 8, 0);
        vgmtl_bind_offscreen(target);
    }
    void TearDown() override {
        h.device->holdCompletions(false);
        vgmtl_bind_offscreen(nullptr);
        if (h.ctx)
            vgmtl_delete_offscreen(target);
        else
            delete target; // its context, and with it the image, is gone
    }
};

TEST_F(MetalInFlight, FourthFrameWaitsForAFreeBufferSet) {
    h.device->holdCompletions(true);
    for (int i = 0; i < 3; ++i)
        fill_frame(h.ctx.get(), 8, 8, vg_rgba_f(1, 0, 0, 1));
    auto fourth = std::async(std::launch::async,
                             [&] { fill_frame(h.ctx.get(), 8, 8, vg_rgba_f(0, 1, 0, 1)); });
    EXPECT_EQ(fourth.wait_for(150ms), std::future_status::timeout);
    h.device->holdCompletions(false);
    ASSERT_EQ(fourth.wait_for(10s), std::future_status::ready);
    fourth.get();
    unsigned char pixel[4] = {};
    vgmtl_read_pixels(h.ctx.get(), target->image, 0, 0, 1, 1, pixel);
    EXPECT_EQ(pixel[1], 255);
}

TEST_F(MetalInFlight, ReadBackWaitsForEveryFrameDrawingIntoTheImage) {
    h.device->holdCompletions(true);
    fill_frame(h.ctx.get(), 8, 8, vg_rgba_f(1, 0, 0, 1));
    fill_frame(h.ctx.get(), 8, 8, vg_rgba_f(0, 0, 1, 1));
    auto read = std::async(std::launch::async, [&] {
        std::vector<unsigned char> pixel(4);
        vgmtl_read_pixels(h.ctx.get(), target->image, 3, 3, 1, 1, pixel.data());
        return pixel;
    });
    EXPECT_EQ(read.wait_for(150ms), std::future_status::timeout);
    h.device->holdCompletions(false);
    ASSERT_EQ(read.wait_for(10s), std::future_status::ready);
    EXPECT_EQ(read.get(), (std::vector<unsigned char>{0, 0, 255, 255}));
}

TEST_F(MetalInFlight, DeletingTheContextWaitsForFramesInFlight) {
    h.device->holdCompletions(true);
    fill_frame(h.ctx.get(), 8, 8, vg_rgba_f(1, 0, 0, 1));
    vgmtl_bind_offscreen(nullptr);
    auto done = std::async(std::launch::async, [&] { h.ctx.reset(); });
    EXPECT_EQ(done.wait_for(150ms), std::future_status::timeout);
    h.device->holdCompletions(false);
    ASSERT_EQ(done.wait_for(10s), std::future_status::ready);
}

TEST(MetalPresent, FramesReachThePresenterInOrder) {
    MetalHarness h(VGMTL_ANTIALIAS | VGMTL_TRIPLE_BUFFER, 8, 8);
    for (int i = 1; i <= 12; ++i)
        fill_frame(h.ctx.get(), 8, 8, vg_rgba(0, 0, static_cast<unsigned char>(i * 20), 255));
    h.ctx.reset(); // waits for the last frame
    EXPECT_EQ(h.presenter->framesPresented(), 12);
    const auto frame = h.presenter->lastFrame();
    EXPECT_EQ(frame[0], 240); // blue of the twelfth frame, BGRA
}

TEST(MetalPresent, PresentingWithTransactionPresentsOnTheCaller) {
    MetalHarness h(VGMTL_ANTIALIAS | VGMTL_TRIPLE_BUFFER, 8, 8);
    h.layer->presentsWithTransaction = true;
    fill_frame(h.ctx.get(), 8, 8, vg_rgba_f(0, 1, 0, 1));
    EXPECT_EQ(h.presenter->framesPresented(), 1); // already, without waiting
    EXPECT_EQ(h.presenter->lastFrame()[1], 255);
}

TEST(MetalPresent, NoDrawableCancelsTheFrame) {
    MetalHarness h(VGMTL_ANTIALIAS | VGMTL_TRIPLE_BUFFER, 8, 8);
    h.layer->withholdDrawables(true);
    for (int i = 0; i < 5; ++i) // more frames than sets: each one was handed back
        fill_frame(h.ctx.get(), 8, 8, vg_rgba_f(0, 1, 0, 1));
    EXPECT_EQ(h.device->commandBuffersMade(), 0);
    EXPECT_EQ(h.presenter->framesPresented(), 0);
}

} // namespace
