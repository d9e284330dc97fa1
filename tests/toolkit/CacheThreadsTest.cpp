#include "tests/support/FakeDelegate.h"
#include "tests/support/RecordingCanvas.h"
#include "tests/support/TempImageFolder.h"
#include "toolkit/ResourceCache.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

using namespace vx::ui;
using vx::test::FakeDelegate;
using vx::test::RecordingCanvas;
using vx::test::TempImageFolder;

// Contexts on several threads load the same images at once: each image is
// decoded once, everyone gets the same one, and the last context to go
// empties the caches.
TEST(CacheThreads, ConcurrentLoadsShareOneDecodePerImage) {
    TempImageFolder images;
    std::vector<std::string> paths;
    for (int i = 0; i < 4; ++i)
        paths.push_back(images.AddPng("img" + std::to_string(i) + ".png", 8 + i, 8));
    const std::string doc = "<svg width=\"4\" height=\"4\"><rect width=\"4\" height=\"4\"/></svg>";
    constexpr int kThreads = 8;
    std::atomic<int> decodes{0};
    std::vector<std::vector<const void*>> seen(kThreads);
    std::atomic<bool> go{false};
    std::atomic<int> finished{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            FakeDelegate delegate;
            RecordingCanvas canvas(delegate);
            while (!go.load())
                std::this_thread::yield();
            for (int round = 0; round < 20; ++round)
                for (const std::string& p : paths)
                    seen[size_t(t)].push_back(
                        canvas.LoadScaledBitmap(p.c_str(), 1, false, 1).bitmap);
            seen[size_t(t)].push_back(
                canvas.LoadSVGData("shared", doc.data(), int(doc.size())).image);
            decodes += canvas.decodeCount;
            // Every context stays until all have loaded, so the caches live throughout.
            ++finished;
            while (finished.load() < kThreads)
                std::this_thread::yield();
        });
    go = true;
    for (std::thread& th : threads)
        th.join();
    EXPECT_EQ(decodes.load(), 4);
    for (int t = 1; t < kThreads; ++t) {
        EXPECT_EQ(seen[size_t(t)].back(), seen[0].back());
        for (size_t i = 0; i < paths.size(); ++i)
            EXPECT_EQ(seen[size_t(t)][i], seen[0][i]);
    }
    EXPECT_EQ(BitmapCache().Size(), 0);
    EXPECT_EQ(SVGCache().Size(), 0);
}

} // namespace
