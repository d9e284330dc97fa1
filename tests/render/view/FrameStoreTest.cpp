#include "render/view/FrameStore.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

using vx::ui::FrameStore;

TEST(FrameStore, KeepsTheNewestFrameAndAsksForOneRedrawPerBatch) {
    FrameStore store;
    // Pitch wider than the row: only width x 4 bytes of each row are kept.
    std::vector<unsigned char> a(2 * 12, 1), b(2 * 12, 2);
    EXPECT_TRUE(store.Store(a.data(), 2, 2, 12));
    EXPECT_FALSE(store.Store(b.data(), 2, 2, 12)); // a redraw already waits
    store.WithKept([](const FrameStore::Frame& f) {
        EXPECT_EQ(f.width, 2);
        ASSERT_EQ(f.pixels.size(), 16u);
        EXPECT_EQ(f.pixels[0], 2);
    });
    store.RedrawTaken();
    EXPECT_TRUE(store.Store(a.data(), 2, 2, 8));
    EXPECT_EQ(store.FramesStored(), 3);
}

TEST(FrameStore, RefusesFramesItCannotRead) {
    FrameStore store;
    std::vector<unsigned char> a(16);
    EXPECT_FALSE(store.Store(nullptr, 2, 2, 8));
    EXPECT_FALSE(store.Store(a.data(), 0, 2, 8));
    EXPECT_FALSE(store.Store(a.data(), 2, 2, 4)); // pitch shorter than a row
    EXPECT_EQ(store.FramesStored(), 0);
}

// Frames after the first bring only their damage: the kept frame takes those
// rows alone, and the redraw taken names every damage since the last one. A
// frame of another size is taken whole, whatever its damage says.
TEST(FrameStore, TakesOnlyTheDamageAndNamesItForTheRedraw) {
    constexpr int kW = 6, kH = 4;
    const auto filled = [](unsigned char v) { return std::vector<unsigned char>(kW * kH * 4, v); };
    const auto pixel = [](const FrameStore& store, int x, int y) {
        unsigned char v = 0;
        store.WithKept(
            [&](const FrameStore::Frame& f) { v = f.pixels[(size_t(y) * f.width + x) * 4]; });
        return v;
    };
    FrameStore store;
    const auto one = filled(1), two = filled(2), three = filled(3);
    EXPECT_TRUE(store.Store(one.data(), kW, kH, kW * 4, {2, 1, 2, 2})); // first: whole
    EXPECT_EQ(pixel(store, 0, 0), 1);
    store.RedrawTaken();
    EXPECT_TRUE(store.Store(two.data(), kW, kH, kW * 4, {1, 1, 2, 1}));
    EXPECT_FALSE(store.Store(three.data(), kW, kH, kW * 4, {4, 2, 5, 5})); // reaches past the edge
    EXPECT_EQ(pixel(store, 0, 0), 1);
    EXPECT_EQ(pixel(store, 1, 1), 2);
    EXPECT_EQ(pixel(store, 3, 1), 1);
    EXPECT_EQ(pixel(store, 5, 3), 3);
    const mtl::PixelRect changed = store.RedrawTaken();
    EXPECT_EQ(changed.x, 1);
    EXPECT_EQ(changed.y, 1);
    EXPECT_EQ(changed.width, 5);
    EXPECT_EQ(changed.height, 3);
    EXPECT_EQ(store.RedrawTaken().width, 0) << "nothing changed since";
    const std::vector<unsigned char> wide(8 * kH * 4, 7);
    EXPECT_TRUE(store.Store(wide.data(), 8, kH, 8 * 4, {0, 0, 1, 1}));
    EXPECT_EQ(pixel(store, 7, 3), 7);
    EXPECT_EQ(store.RedrawTaken().width, 8);
}

// A worker presents while the main thread paints: every painted frame is
// whole (one value throughout), and redraw requests never pile up.
TEST(FrameStore, HandsFramesBetweenThreadsWhole) {
    FrameStore store;
    constexpr int kSide = 32, kFrames = 100;
    std::atomic<int> requests{0};
    std::thread worker([&] {
        std::vector<unsigned char> frame(kSide * kSide * 4);
        for (int i = 0; i < kFrames; ++i) {
            std::fill(frame.begin(), frame.end(), static_cast<unsigned char>(i));
            if (store.Store(frame.data(), kSide, kSide, kSide * 4))
                ++requests;
        }
    });
    int taken = 0;
    while (store.FramesStored() < kFrames) {
        if (requests.load() > taken) {
            ++taken;
            store.RedrawTaken();
        }
        store.WithKept([](const FrameStore::Frame& f) {
            for (unsigned char byte : f.pixels)
                ASSERT_EQ(byte, f.pixels[0]);
        });
    }
    worker.join();
    EXPECT_LE(requests.load(), taken + 1);
}

} // namespace
