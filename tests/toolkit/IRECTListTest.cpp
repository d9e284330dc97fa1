#include "toolkit/IRECTList.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

using vx::ui::IRECT;
using vx::ui::IRECTList;

IRECTList Make(std::initializer_list<IRECT> rects) {
    IRECTList list;
    for (const IRECT& r : rects)
        list.Add(r);
    return list;
}

std::vector<IRECT> Items(const IRECTList& list) {
    std::vector<IRECT> out;
    for (int i = 0; i < list.Size(); ++i)
        out.push_back(list.Get(i));
    return out;
}

// Whether the point (sampled at a cell centre) lies in any rectangle.
bool Covered(const std::vector<IRECT>& rects, float x, float y) {
    for (const IRECT& r : rects)
        if (r.L <= x && x < r.R && r.T <= y && y < r.B)
            return true;
    return false;
}

// Every half-unit cell of the input union keeps exactly its coverage.
void ExpectSameCoverage(const std::vector<IRECT>& before, const std::vector<IRECT>& after,
                        const IRECT& area) {
    for (float y = area.T + 0.25f; y < area.B; y += 0.5f)
        for (float x = area.L + 0.25f; x < area.R; x += 0.5f)
            ASSERT_EQ(Covered(before, x, y), Covered(after, x, y)) << "at " << x << "," << y;
}

TEST(IRECTList, MergeCases) {
    struct Case {
        const char* name;
        std::vector<IRECT> in;
        std::vector<IRECT> out;
    };
    const Case cases[] = {
        {"equal rectangles become one", {{0, 0, 10, 10}, {0, 0, 10, 10}}, {{0, 0, 10, 10}}},
        {"inner rectangle disappears", {{2, 2, 5, 5}, {0, 0, 10, 10}}, {{0, 0, 10, 10}}},
        {"side by side join", {{0, 0, 10, 10}, {10, 0, 20, 10}}, {{0, 0, 20, 10}}},
        {"stacked join", {{0, 0, 10, 10}, {0, 10, 10, 25}}, {{0, 0, 10, 25}}},
        {"empty rectangles vanish", {{0, 0, 0, 0}, {1, 1, 4, 4}, {0, 0, 0, 0}}, {{1, 1, 4, 4}}},
        {"overlap across full height shrinks the first",
         {{0, 0, 10, 10}, {5, 0, 20, 10}},
         {{0, 0, 20, 10}}},
    };
    for (const Case& c : cases) {
        IRECTList list;
        for (const IRECT& r : c.in)
            list.Add(r);
        list.MergeAdjacent();
        EXPECT_EQ(Items(list), c.out) << c.name;
    }
}

TEST(IRECTList, CornerOverlapSplitsTheSmallerAndKeepsTheArea) {
    IRECTList list = Make({{0, 0, 10, 10}, {5, 5, 25, 25}});
    const std::vector<IRECT> before = Items(list);
    list.MergeAdjacent();
    EXPECT_EQ(list.Size(), 3);
    ExpectSameCoverage(before, Items(list), {0, 0, 25, 25});
}

// A band crossing r's middle must not cut away r's far side.
TEST(IRECTList, CrossingBandsLoseNoArea) {
    const std::vector<std::vector<IRECT>> fixtures = {
        {{0, 0, 10, 30}, {-5, 10, 15, 20}},
        {{-5, 10, 15, 20}, {0, 0, 10, 30}},
        {{0, 0, 30, 10}, {10, -5, 20, 15}},
        {{0, 0, 10, 30}, {0, 10, 15, 20}}, // band flush with r's left edge
    };
    for (const auto& fixture : fixtures) {
        IRECTList list;
        for (const IRECT& r : fixture)
            list.Add(r);
        list.MergeAdjacent();
        ExpectSameCoverage(fixture, Items(list), {-10, -10, 40, 40});
    }
}

TEST(IRECTList, RandomSnappedListsKeepExactlyTheirCoverage) {
    std::mt19937 rng(20261210);
    std::uniform_int_distribution<int> coord(0, 60); // half units
    std::uniform_int_distribution<int> count(1, 7);
    for (int round = 0; round < 400; ++round) {
        IRECTList list;
        const int n = count(rng);
        for (int i = 0; i < n; ++i) {
            const int a = coord(rng), b = coord(rng), c = coord(rng), d = coord(rng);
            if (a == b || c == d)
                continue;
            list.Add({std::min(a, b) * 0.5f, std::min(c, d) * 0.5f, std::max(a, b) * 0.5f,
                      std::max(c, d) * 0.5f});
        }
        const std::vector<IRECT> before = Items(list);
        list.MergeAdjacent();
        ExpectSameCoverage(before, Items(list), {0, 0, 30, 30});
        EXPECT_LE(list.Size(), static_cast<int>(before.size()) * 4);
    }
}

TEST(IRECTList, PixelSnapGrowsOutwardAtTheScale) {
    IRECTList list = Make({{0.3f, 0.9f, 10.1f, 10.6f}});
    list.PixelSnap(0.5f);
    EXPECT_EQ(list.Get(0), (IRECT{0, 0, 12, 12}));
    list = Make({{0.3f, 0.9f, 10.1f, 10.6f}});
    list.PixelSnap(2.f);
    EXPECT_EQ(list.Get(0), (IRECT{0, 0.5f, 10.5f, 11}));
}

} // namespace
