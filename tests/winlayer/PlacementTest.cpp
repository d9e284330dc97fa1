#include "winlayer/Placement.h"

#include <gtest/gtest.h>

namespace {

TEST(PlacementTest, AWindowGoesToTheScreenItOverlapsMostElseTheNearest) {
    const std::vector<ak::Rect> screens = {
        {{0, 0}, {1920, 1200}}, {{1920, 0}, {1280, 1024}}, {{-1600, 200}, {1600, 900}}};
    struct Case {
        RECT source;
        std::size_t want;
    };
    const Case cases[] = {
        {{100, 100, 500, 500}, 0},       // inside the first
        {{1800, 100, 2400, 500}, 1},     // mostly on the second
        {{2400, 500, 1800, 100}, 1},     // the same, corners swapped
        {{3400, 100, 3500, 200}, 1},     // right of everything: nearest
        {{-1700, 1300, -1650, 1400}, 2}, // below and left: nearest
        {{0, 0, 0, 0}, 0},               // empty: nearest, the first wins a tie
    };
    for (const Case& c : cases)
        EXPECT_EQ(winlayer::ChooseScreen(screens, c.source), c.want)
            << c.source.left << "," << c.source.top;
}

TEST(PlacementTest, NewWindowsSitBelowAndRightOfTheReferencesCorner) {
    EXPECT_EQ(winlayer::NewWindowOrigin({0, 27, 1920, 1200}), (ak::Point{50, 127}));
    EXPECT_EQ(winlayer::NewWindowOrigin({-1600, 200, 0, 1100}), (ak::Point{-1550, 300}));
    EXPECT_EQ(winlayer::RoundedRect({{0.5, 1.49}, {10, 10}}).left, 1);
    EXPECT_EQ(winlayer::RoundedRect({{0.5, 1.49}, {10, 10}}).top, 1);
}

} // namespace
