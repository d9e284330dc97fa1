#include "winlayer/SizeLimits.h"

#include <gtest/gtest.h>

namespace {

using namespace winlayer;

TEST(SizeLimitsTest, ProcedureAnswersAreUsedOrClamped) {
    struct Case {
        const char* name;
        SizeLimit toolkit;
        POINT answer; // {-1, -1}: the procedure leaves the record alone
        bool maximum;
        SizeLimit expected;
        POINT seen;
    };
    const Case cases[] = {
        {"min untouched", {10.9, 20.2}, {-1, -1}, false, {10, 20}, {10, 20}},
        {"min raised", {10, 20}, {640, 400}, false, {640, 400}, {10, 20}},
        {"min negative", {10, 20}, {-50, 30}, false, {0, 30}, {10, 20}},
        {"max huge toolkit", {3.0e7, 800.7}, {-1, -1}, true, {3.0e7, 800}, {1000000, 800}},
        {"max lowered", {3.0e7, 900}, {1200, 700}, true, {1200, 700}, {1000000, 900}},
        {"max 1e6 keeps toolkit",
         {3.0e7, 900},
         {1000000, 2000000},
         true,
         {3.0e7, 900},
         {1000000, 900}},
        {"max zero", {500, 500}, {0, -3}, true, {1, 1}, {500, 500}},
    };
    for (const Case& c : cases) {
        POINT seen{};
        auto ask = [&](MINMAXINFO& info) {
            POINT& field = c.maximum ? info.ptMaxTrackSize : info.ptMinTrackSize;
            seen = field;
            if (c.answer.x != -1 || c.answer.y != -1)
                field = c.answer;
        };
        const SizeLimit got =
            c.maximum ? AskMaximumSize(c.toolkit, ask) : AskMinimumSize(c.toolkit, ask);
        EXPECT_EQ(got.width, c.expected.width) << c.name;
        EXPECT_EQ(got.height, c.expected.height) << c.name;
        EXPECT_EQ(seen.x, c.seen.x) << c.name;
        EXPECT_EQ(seen.y, c.seen.y) << c.name;
    }
}

} // namespace
