#include "framework/SpscRing.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Step {
    char op; // 'u' push, 'o' pop
    int value;
    bool ok;
    int availableAfter;
};

// A ring of 3 entries has 4 slots: the fourth push is dropped, and after
// pops and pushes the indices wrap around the end of the storage.
TEST(SpscRing, FillDropWrapAndAvailable) {
    const Step steps[] = {
        {'o', 0, false, 0}, {'u', 1, true, 1},  {'u', 2, true, 2}, {'u', 3, true, 3},
        {'u', 4, false, 3}, {'o', 1, true, 2},  {'o', 2, true, 1}, {'u', 5, true, 2},
        {'u', 6, true, 3},  {'u', 7, false, 3}, {'o', 3, true, 2}, {'o', 5, true, 1},
        {'o', 6, true, 0},  {'o', 0, false, 0}, {'u', 8, true, 1}, {'o', 8, true, 0},
    };
    vx::SpscRing<int> ring(3);
    EXPECT_EQ(ring.Capacity(), 3);
    int index = 0;
    for (const Step& step : steps) {
        if (step.op == 'u') {
            EXPECT_EQ(ring.Push(step.value), step.ok) << "step " << index;
        } else {
            int out = -1;
            EXPECT_EQ(ring.Pop(out), step.ok) << "step " << index;
            if (step.ok) {
                EXPECT_EQ(out, step.value) << "step " << index;
            }
        }
        EXPECT_EQ(ring.Available(), step.availableAfter) << "step " << index;
        ++index;
    }
}

TEST(SpscRing, EntriesAreCopiedWhole) {
    struct Record {
        int size;
        unsigned char bytes[512];
    };
    vx::SpscRing<Record> ring(4);
    Record in{3, {0xF0, 0x7E, 0xF7}};
    ASSERT_TRUE(ring.Push(in));
    in.bytes[0] = 0;
    Record out{};
    ASSERT_TRUE(ring.Pop(out));
    EXPECT_EQ(out.size, 3);
    EXPECT_EQ(out.bytes[0], 0xF0);
    EXPECT_EQ(out.bytes[2], 0xF7);
}

} // namespace
