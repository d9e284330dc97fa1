#include "framework/SpscRing.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <thread>

namespace {

// One producer, one consumer, a ring much smaller than the traffic: every
// entry that arrives arrives whole and in order, and none is lost unreported.
TEST(SpscRingThreads, NumberedEntriesKeepTheirOrder) {
    struct Entry {
        uint32_t number;
        uint32_t check;
    };
    constexpr uint32_t kSent = 1'000'000;
    vx::SpscRing<Entry> ring(32); // 33 slots
    std::atomic<bool> done{false};
    uint32_t dropped = 0;

    std::thread producer([&] {
        for (uint32_t n = 0; n < kSent; ++n)
            if (!ring.Push({n, ~n}))
                ++dropped;
        done.store(true, std::memory_order_release);
    });

    uint32_t received = 0;
    int64_t last = -1;
    bool inOrder = true;
    bool whole = true;
    Entry entry{};
    for (;;) {
        const bool finished = done.load(std::memory_order_acquire);
        while (ring.Pop(entry)) {
            inOrder = inOrder && int64_t{entry.number} > last;
            whole = whole && entry.check == ~entry.number;
            last = entry.number;
            ++received;
        }
        if (finished)
            break;
        std::this_thread::yield();
    }
    producer.join();

    EXPECT_TRUE(inOrder);
    EXPECT_TRUE(whole);
    EXPECT_EQ(received + dropped, kSent);
    EXPECT_GT(received, 0u);
}

} // namespace
