#include "winlayer/GdiRecords.h"
#include "winlayer/GdiText.h"

#include "platform/ak/Font.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

using namespace winlayer;

// Pens, brushes and fonts made and deleted on four threads at once share one
// pool; each thread checks its own objects stay intact until it deletes them.
TEST(GdiThreadsTest, FourThreadsMakeAndDeleteObjects) {
    constexpr int kThreads = 4;
    constexpr int kRounds = 10000;
    const char* faces[] = {"DejaVu Sans", "DejaVu Sans Mono", "Sans", "Serif"};
    std::vector<int> failures(kThreads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < kRounds; ++i) {
                const int colour = (t << 16) | i;
                HPEN pen = CreatePen(0, 1 + i % 3, colour);
                HBRUSH brush = CreateSolidBrush(colour);
                HFONT font = CreateFont(-(8 + i % 5), 0, 0, 0, i % 2 ? 700 : 400, 0, 0, 0, 0, 0, 0,
                                        0, 0, faces[(t + i) % 4]);
                HGDIOBJ clone = WISP_CloneGDIObject(brush);
                const ak::Font* made = WISP_FontHandleToCTFont(font);
                if (pen->colorValue != colour || !IsDrawablePen(pen) || clone != brush ||
                    brush->colorValue != colour || !made || made->PointSize() != 8 + i % 5)
                    ++failures[size_t(t)];
                DeleteObject(pen);
                DeleteObject(brush);
                if (!IsFillableBrush(brush))
                    ++failures[size_t(t)];
                DeleteObject(brush);
                DeleteObject(font);
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    for (int t = 0; t < kThreads; ++t)
        EXPECT_EQ(failures[size_t(t)], 0) << "thread " << t;
    EXPECT_LE(PooledObjectCount(), 200);
}

} // namespace
