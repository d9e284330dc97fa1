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
