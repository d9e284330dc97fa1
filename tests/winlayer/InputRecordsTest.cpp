#include "winlayer/InputRecords.h"
#include "winlayer/DialogKeys.h"
#include "winlayer/Keyboard.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

namespace winlayer {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(InputRecordsTest, ClientPointsRoundHalfUpAndPackSignExtended) {
    struct Case {
        double x, y;
        LPARAM packed;
    };
    const Case cases[] = {
        {10.4, 20.6, 0x0015000A},
        {-1, 5, 0x0005FFFF},
        {3, -2, LPARAM(std::int32_t(0xFFFE0003))},
        {-0.5, -0.6, LPARAM(std::int32_t(0xFFFF0000))}, // floor(0) and floor(-0.1)
        {70000, 1, 0x00011170},                         // x keeps its low 16 bits only
    };
    for (const Case& c : cases)
        EXPECT_EQ(PackClientPoint(c.x, c.y), c.packed) << c.x << ", " << c.y;
    EXPECT_EQ(RoundCoordinate(kNaN), 0);
    EXPECT_EQ(RoundCoordinate(1e300), INT32_MAX);
}

TEST(InputRecordsTest, WheelDeltasBecomeSixtyPerLineClampedAndSignExtended) {
    struct Case {
        double delta;
        std::optional<WPARAM> wParam;
    };
    const Case cases[] = {
        {1.0, WPARAM(60) << 16},
        {-1.0, WPARAM(std::int64_t(-60) * 65536)},
        {0.1, WPARAM(6) << 16}, // 0.1f × 60 truncates to 6
        {1000, WPARAM(32767) << 16},
        {-1000, WPARAM(std::int64_t(-32767) * 65536)},
        {1e300, WPARAM(32767) << 16},
        {0.001, std::nullopt}, // rounds to no step
        {0, std::nullopt},
        {kNaN, std::nullopt},
        {kInf, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WheelParam(c.delta), c.wParam) << c.delta;
}

TEST(InputRecordsTest, GestureArgumentsMoveAtLeastOneStepAndClamp) {
    struct Case {
        const char* name;
        std::uint64_t got, want;
    };
    const Case cases[] = {
        {"zoom 0.0001", ZoomArgument(0.0001), 1025},
        {"zoom -0.0001", ZoomArgument(-0.0001), 1023},
        {"zoom 0.5", ZoomArgument(0.5), 1536},
        {"zoom 5", ZoomArgument(5.0), 2048},
        {"zoom -5", ZoomArgument(-5.0), 512},
        {"zoom NaN", ZoomArgument(kNaN), 1025},
        {"zoom huge", ZoomArgument(1e300), 2048},
        {"rotate 0.0001", RotateArgument(0.0001), 32768},
        {"rotate -0.0001", RotateArgument(-0.0001), 32766},
        {"rotate 30", RotateArgument(30), 32767 + 16383},
        {"rotate 200", RotateArgument(200), 65535},
        {"rotate -200", RotateArgument(-200), 0},
        {"rotate infinity", RotateArgument(kInf), 32768},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got, c.want) << c.name;
}

TEST(InputRecordsTest, SwipesMoveTheLocationByTheViewInTheSwipeDirection) {
    const POINT start{100, 200};
    struct Case {
        double dx, dy;
        POINT end;
    };
    const Case cases[] = {
        {-1, 0, {70, 200}}, {1, 0, {130, 200}},    {0, -1, {100, 220}},
        {0, 1, {100, 180}}, {1, 1, {130, 200}}, // horizontal wins
        {0, 0, {100, 200}}, {kNaN, 0, {100, 200}},
    };
    for (const Case& c : cases) {
        const POINT end = SwipeLocation(start, 30, 20, c.dx, c.dy);
        EXPECT_EQ(end.x, c.end.x) << c.dx << ", " << c.dy;
        EXPECT_EQ(end.y, c.end.y) << c.dx << ", " << c.dy;
    }
    EXPECT_EQ(GestureCoordinate(40000.7), std::int16_t(40000 - 65536));
    EXPECT_EQ(GestureCoordinate(-3.9), -3);
}

TEST(InputRecordsTest, PaintRectangleRoundsEachEdgeAndStaysInTheClient) {
    const RECT client{0, 0, 100, 50};
    struct Case {
        double x, y, w, h;
        RECT want;
    };
    const Case cases[] = {
        {0.4, 0.5, 10.2, 10.0, {0, 1, 11, 11}},
        {10, 10, 200, 200, {10, 10, 100, 50}},
        {-2.6, -0.4, 5, 5, {-3, 0, 2, 5}},
    };
    for (const Case& c : cases) {
        const RECT r = PaintRectangle(c.x, c.y, c.w, c.h, client);
        EXPECT_EQ((std::array{r.left, r.top, r.right, r.bottom}),
                  (std::array{c.want.left, c.want.top, c.want.right, c.want.bottom}))
            << c.x << ", " << c.y;
    }
}

TEST(InputRecordsTest, CommandParamsCarryTheCodeAboveTheMaskedId) {
    EXPECT_EQ(CommandParam(1, 7), WPARAM(0x10007));
    EXPECT_EQ(CommandParam(0x300, 0x12345), WPARAM(0x3002345));
    EXPECT_EQ(CommandParam(-12, 1), WPARAM(0xFFF40001));
}

TEST(DialogKeysTest, EscapeReturnCloseAndClipboardKeysByFocus) {
    using F = KeyFocus;
    using K = DialogKey;
    constexpr int V = FVIRTKEY;
    struct Case {
        const char* name;
        int key, flags;
        F focus;
        K want;
    };
    const Case cases[] = {
        {"Escape on a button", 27, V, F::Other, K::Cancel},
        {"Escape in a field", 27, V, F::OneLineText, K::Cancel},
        {"Shift+Escape in a field", 27, V | FSHIFT, F::OneLineText, K::DropFocus},
        {"Shift+Escape on a button", 27, V | FSHIFT, F::Other, K::Cancel},
        {"Escape in a multi-line view", 27, V, F::MultiLineText, K::DropFocus},
        {"Option+Escape", 27, V | FALT, F::Other, K::PassOn},
        {"Command+W", 'W', V | FCONTROL, F::Other, K::Cancel},
        {"Command+Shift+W", 'W', V | FCONTROL | FSHIFT, F::Other, K::PassOn},
        {"Return in a field", 13, V, F::OneLineText, K::DefaultButton},
        {"keypad Enter", 13, V | FEXTENDED, F::Other, K::DefaultButton},
        {"Return in a multi-line view", 13, V, F::MultiLineText, K::PassOn},
        {"Shift+Return", 13, V | FSHIFT, F::OneLineText, K::PassOn},
        {"Command+C in a field", 'C', V | FCONTROL, F::OneLineText, K::Copy},
        {"Command+X in a field", 'X', V | FCONTROL, F::OneLineText, K::Cut},
        {"Command+V in a text view", 'V', V | FCONTROL, F::MultiLineText, K::Paste},
        {"Command+C on a button", 'C', V | FCONTROL, F::Other, K::PassOn},
        {"C alone", 'C', V, F::OneLineText, K::PassOn},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChooseDialogKey(c.key, c.flags, c.focus), c.want) << c.name;
}

} // namespace
} // namespace winlayer
