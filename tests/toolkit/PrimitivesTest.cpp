#include "tests/support/ToolkitTest.h"

#include <cmath>

namespace {

using namespace vx::ui;
using vx::test::ToolkitTest;

class Primitives : public ToolkitTest {
protected:
    // The path and paint calls of one primitive, without the primitive's own entry.
    std::vector<std::string> PathOf(const std::function<void()>& draw) {
        canvas.ClearCalls();
        draw();
        std::vector<std::string> out;
        for (const std::string& call : canvas.calls)
            if (call.rfind("Path", 0) == 0)
                out.push_back(call);
        return out;
    }
};

TEST_F(Primitives, PathTable) {
    ICanvas& g = canvas; // the toolkit's signatures, with their default arguments
    const IColor k = kColorBlack;
    const IRECT r{10, 20, 110, 70};
    struct Case {
        const char* name;
        std::function<void()> draw;
        std::vector<std::string> path;
    };
    const Case cases[] = {
        {"square corners",
         [&] { g.DrawRoundRect(k, r, 0.f); },
         {"PathReset", "PathAddMove 10 20", "PathAddLine 110 20", "PathAddLine 110 70",
          "PathAddLine 10 70", "PathAddClose", "PathStrokeCurrent 255,0,0,0 1 0 -"}},
        {"round corners",
         [&] { g.DrawRoundRect(k, r, 5.f); },
         {"PathReset", "PathAddMove 10 25", "PathAddArc 15 25 5 270 360 0",
          "PathAddArc 105 25 5 0 90 0", "PathAddArc 105 65 5 90 180 0",
          "PathAddArc 15 65 5 180 270 0", "PathAddClose", "PathStrokeCurrent 255,0,0,0 1 0 -"}},
        {"mixed corners keep degenerate arcs",
         [&] { g.FillRoundRectCorners(k, r, 0, 8, 0, 8); },
         {"PathReset", "PathAddMove 10 20", "PathAddArc 10 20 0 270 360 0",
          "PathAddArc 102 28 8 0 90 0", "PathAddArc 102 62 8 90 180 0",
          "PathAddArc 10 70 0 180 270 0", "PathAddClose", "PathFillCurrent 255,0,0,0 0 0 -"}},
        {"grid skips the edges",
         [&] {
             g.DrawGrid(k, {0, 0, 100, 50}, 25, 25);
         },
         {"PathReset", "PathAddMove 25 0", "PathAddLine 25 50", "PathAddMove 50 0",
          "PathAddLine 50 50", "PathAddMove 75 0", "PathAddLine 75 50", "PathAddMove 0 25",
          "PathAddLine 100 25", "PathStrokeCurrent 255,0,0,0 1 0 -"}},
        {"grid spacing of one draws nothing that way",
         [&] {
             g.DrawGrid(k, {0, 0, 100, 50}, 1, 30);
         },
         {"PathReset", "PathAddMove 0 30", "PathAddLine 100 30",
          "PathStrokeCurrent 255,0,0,0 1 0 -"}},
        {"data spread over the width",
         [&] {
             const float y[] = {0.f, 0.5f, 1.f};
             g.DrawData(k, {0, 0, 100, 50}, y, 3);
         },
         {"PathReset", "PathAddMove 0 50", "PathAddLine 50 25", "PathAddLine 100 0",
          "PathStrokeCurrent 255,0,0,0 1 0 -"}},
        {"data with x values still starts at the left",
         [&] {
             const float y[] = {0.f, 1.f};
             const float x[] = {0.5f, 0.2f};
             const IColor fill = kColorRed;
             g.DrawData(k, {0, 0, 100, 50}, y, 2, x, nullptr, 1.f, &fill);
         },
         {"PathReset", "PathAddMove 0 50", "PathAddLine 20 0", "PathFillCurrent 255,255,0,0 0 1 -",
          "PathStrokeCurrent 255,0,0,0 1 0 -"}},
        {"arc without a move",
         [&] { g.DrawArc(k, 50, 50, 10, 0, 90); },
         {"PathReset", "PathAddArc 50 50 10 0 90 0", "PathStrokeCurrent 255,0,0,0 1 0 -"}},
        {"pie segment",
         [&] { g.FillArc(k, 50, 50, 10, 0, 90); },
         {"PathReset", "PathAddMove 50 50", "PathAddArc 50 50 10 0 90 0", "PathAddClose",
          "PathFillCurrent 255,0,0,0 0 0 -"}},
        {"circle",
         [&] { g.FillCircle(k, 50, 50, 10); },
         {"PathReset", "PathAddMove 50 40", "PathAddArc 50 50 10 0 360 0", "PathAddClose",
          "PathFillCurrent 255,0,0,0 0 0 -"}},
        {"dashed line",
         [&] { g.DrawDashedLine(k, 0, 0, 10, 0, nullptr, 2.f, 3.f); },
         {"PathReset", "PathAddMove 0 0", "PathAddLine 10 0", "PathStrokeCurrent 255,0,0,0 2 1 -"}},
        {"flat ellipse adds nothing",
         [&] {
             g.DrawEllipse(k, {10, 10, 10, 40});
         },
         {"PathReset", "PathStrokeCurrent 255,0,0,0 1 0 -"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PathOf(c.draw), c.path) << c.name;
}

TEST_F(Primitives, OutlineAndPointTable) {
    ICanvas& g = canvas;
    const IColor k = kColorBlack;
    const float xs[] = {0, 10, 5}, ys[] = {0, 0, 8};
    struct Case {
        const char* name;
        std::function<void()> draw;
        std::vector<std::string> path;
    };
    const Case cases[] = {
        {"point is a one-unit square",
         [&] { g.DrawPoint(k, 3, 4); },
         {"PathReset", "PathAddMove 3 4", "PathAddLine 4 4", "PathAddLine 4 5", "PathAddLine 3 5",
          "PathAddClose", "PathFillCurrent 255,0,0,0 0 0 -"}},
        {"triangle outline",
         [&] { g.DrawTriangle(k, 0, 0, 10, 0, 5, 8, nullptr, 2.f); },
         {"PathReset", "PathAddMove 0 0", "PathAddLine 10 0", "PathAddLine 5 8", "PathAddClose",
          "PathStrokeCurrent 255,0,0,0 2 0 -"}},
        {"filled triangle",
         [&] { g.FillTriangle(k, 0, 0, 10, 0, 5, 8); },
         {"PathReset", "PathAddMove 0 0", "PathAddLine 10 0", "PathAddLine 5 8", "PathAddClose",
          "PathFillCurrent 255,0,0,0 0 0 -"}},
        {"polygon",
         [&] { g.FillConvexPolygon(k, xs, ys, 3); },
         {"PathReset", "PathAddMove 0 0", "PathAddLine 10 0", "PathAddLine 5 8", "PathAddClose",
          "PathFillCurrent 255,0,0,0 0 0 -"}},
        {"polygon without points draws nothing", [&] { g.DrawConvexPolygon(k, xs, ys, 0); }, {}},
        {"dashed rectangle",
         [&] {
             g.DrawDashedRect(k, {0, 0, 4, 4}, nullptr, 1.f, 3.f);
         },
         {"PathReset", "PathAddMove 0 0", "PathAddLine 4 0", "PathAddLine 4 4", "PathAddLine 0 4",
          "PathAddClose", "PathStrokeCurrent 255,0,0,0 1 1 -"}},
        {"rotated ellipse without height",
         [&] { g.DrawRotatedEllipse(k, 10, 20, 4, 0, 30.f); },
         {"PathReset", "PathStrokeCurrent 255,0,0,0 1 0 -"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PathOf(c.draw), c.path) << c.name;
    canvas.ClearCalls();
    g.DrawWrappedText(IText(), "two\nlines", {0, 0, 50, 20});
    EXPECT_EQ(canvas.calls, std::vector<std::string>{"DrawTextString Unsupported 0,0,50,20 14 -"});
    EXPECT_EQ(g.SetCursorShape(5), 0);
    EXPECT_EQ(g.SetCursorShape(0), 5);
}

TEST_F(Primitives, EllipseDrawsAUnitCircleUnderItsOwnTransformAndRestoresIt) {
    canvas.PathMatrixTranslate(5, 5);
    const std::vector<std::string> path = PathOf([&] {
        static_cast<ICanvas&>(canvas).FillEllipse(kColorBlack, {0, 0, 40, 20});
    });
    EXPECT_EQ(path, (std::vector<std::string>{
                        "PathReset", "PathSetTransform 1 0 0 1 25 15",
                        "PathSetTransform 1 0 0 1 25 15", "PathSetTransform 20 0 0 10 25 15",
                        "PathAddMove 0 -1", "PathAddArc 0 0 1 0 360 0", "PathAddClose",
                        "PathSetTransform 1 0 0 1 5 5", "PathFillCurrent 255,0,0,0 0 0 -"}));
    EXPECT_EQ(canvas.TransformStackDepth(), 0);
}

TEST_F(Primitives, TransformsComposeInTheLocalFrame) {
    canvas.PathMatrixTranslate(10, 0);
    canvas.PathMatrixScale(2.f);
    canvas.PathMatrixTranslate(5, 5); // in the scaled frame: moves by 10, 10
    IAffineMatrix m = canvas.GetTransform();
    EXPECT_DOUBLE_EQ(m.tx, 20.0);
    EXPECT_DOUBLE_EQ(m.ty, 10.0);
    canvas.PathMatrixPush();
    canvas.PathMatrixRotate(90.f);
    double x = 1.0, y = 0.0;
    canvas.GetTransform().TransformPoint(x, y); // local +x turns to screen +y
    EXPECT_NEAR(x, 20.0, 1e-5);
    EXPECT_NEAR(y, 12.0, 1e-5);
    canvas.PathMatrixPop();
    EXPECT_EQ(canvas.GetTransform(), m);
    canvas.PathMatrixPop(); // empty stack: unchanged
    EXPECT_EQ(canvas.GetTransform(), m);
    canvas.PathMatrixReset();
    EXPECT_EQ(canvas.GetTransform(), IAffineMatrix());
}

TEST_F(Primitives, ClipToRectStaysInsideTheControlClip) {
    canvas.PrepareDrawRegion({0, 0, 50, 50});
    struct Case {
        IRECT r;
        const char* clip;
    };
    const Case cases[] = {
        {{0, 0, 0, 0}, "SetClipRect 0,0,50,50"},
        {{40, 40, 80, 80}, "SetClipRect 40,40,50,50"},
        {{60, 60, 80, 80}, "SetClipRect 0,0,0,0"},
    };
    for (const Case& c : cases) {
        canvas.ClearCalls();
        canvas.PathClipToRect(c.r);
        EXPECT_EQ(canvas.CallsStartingWith("SetClipRect"), std::vector<std::string>{c.clip});
    }
}

} // namespace
