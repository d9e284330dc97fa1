#include "framework/VxHeapBuf.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

namespace {

struct ResizeCase {
    const char* what;
    int granularity;
    int startSize;
    int newSize;
    bool resizeDown;
    int expectSize;
    int expectAlloc; // -1: the allocation from before the resize
};

class ResizeTable : public testing::TestWithParam<ResizeCase> {};

TEST_P(ResizeTable, SizeAndAllocationFollowTheGrowthRules) {
    const ResizeCase& c = GetParam();
    VxHeapBuf buf(c.granularity);
    buf.Resize(c.startSize, false);
    const int allocBefore = buf.GetAlloc();
    buf.Resize(c.newSize, c.resizeDown);
    EXPECT_EQ(buf.GetSize(), c.expectSize);
    EXPECT_EQ(buf.GetAlloc(), c.expectAlloc < 0 ? allocBefore : c.expectAlloc);
}

// A 4096-granularity buffer of 10000 bytes allocates 12192; its shrink
// threshold is max(1, min(12192 - 16384, 6096)) = 1, so any shrink above 0 stays put.
// A 128-granularity buffer of 1000 bytes allocates 1500; its threshold is min(988, 750) = 750.
INSTANTIATE_TEST_SUITE_P(
    VxHeapBuf, ResizeTable,
    testing::Values(ResizeCase{"negative is zero", 4096, 0, -5, true, 0, 0},
                    ResizeCase{"page-sized first block", 4096, 0, 264, true, 264, 4000},
                    ResizeCase{"string of ten characters", 128, 0, 11, true, 11, 139},
                    ResizeCase{"large buffer shrinks in place", 4096, 10000, 100, true, 100, -1},
                    ResizeCase{"above the threshold stays", 128, 1000, 750, true, 750, -1},
                    ResizeCase{"below the threshold moves", 128, 1000, 749, true, 749, 749 + 374},
                    ResizeCase{"small buffer keeps memory", 128, 1000, 10, false, 10, -1},
                    ResizeCase{"zero with resize down frees", 128, 1000, 0, true, 0, 0},
                    ResizeCase{"zero without resize down keeps", 128, 1000, 0, false, 0, -1},
                    ResizeCase{"step capped at four megabytes", 4096, 0, 20000000, true, 20000000,
                               24190880}),
    [](const testing::TestParamInfo<ResizeCase>& info) {
        std::string name = info.param.what;
        for (char& ch : name)
            if (!isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return name;
    });

TEST(VxHeapBuf, ResizeKeepsContentsAndReturnsNullOnlyWhenEmpty) {
    VxHeapBuf buf(128);
    auto* bytes = static_cast<char*>(buf.Resize(5));
    ASSERT_NE(bytes, nullptr);
    std::memcpy(bytes, "abcde", 5);
    bytes = static_cast<char*>(buf.Resize(5000));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(std::memcmp(bytes, "abcde", 5), 0);
    EXPECT_EQ(buf.Resize(0), nullptr);
}

TEST(VxHeapBuf, SizeBeyondInt32FailsAndLeavesTheBufferAlone) {
    for (const int granularity : {128, 4096}) {
        VxHeapBuf buf(granularity);
        auto* bytes = static_cast<char*>(buf.Resize(100));
        std::memcpy(bytes, "kept", 5);
        EXPECT_EQ(buf.Resize(INT_MAX - 10), bytes) << granularity;
        EXPECT_EQ(buf.GetSize(), 100);
        EXPECT_STREQ(static_cast<char*>(buf.Get()), "kept");
    }
}

TEST(VxHeapBuf, CopiesAreDeepAndMovesTakeTheBytes) {
    VxHeapBuf original(128);
    std::memcpy(original.Resize(4), "abc", 4);
    VxHeapBuf copy(original);
    static_cast<char*>(copy.Get())[0] = 'X';
    EXPECT_STREQ(static_cast<char*>(original.Get()), "abc");
    VxHeapBuf moved(std::move(copy));
    EXPECT_STREQ(static_cast<char*>(moved.Get()), "Xbc");
    EXPECT_EQ(copy.GetSize(), 0);
}

} // namespace
