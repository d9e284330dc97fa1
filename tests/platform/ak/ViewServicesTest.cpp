#include "platform/ak/View.h"
#include "platform/ak/Window.h"
#include "platform/ak/test/AkTest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using ak::Point;
using ak::Rect;

struct DropView : ak::View {
    DropView(Rect frame, bool flipped) : View(frame), flipped(flipped) {
        RegisterForDraggedFiles();
    }
    bool IsFlipped() const override { return flipped; }
    bool DraggingEntered(const ak::FileDrag& drag) override {
        log.push_back("entered " + Describe(drag));
        return accept;
    }
    bool DraggingUpdated(const ak::FileDrag& drag) override {
        log.push_back("updated " + Describe(drag));
        return accept;
    }
    void DraggingExited() override { log.push_back("exited"); }
    bool PerformDrop(const ak::FileDrag& drag) override {
        log.push_back("drop " + Describe(drag));
        return true;
    }
    static std::string Describe(const ak::FileDrag& drag) {
        std::string text =
            std::to_string(int(drag.location.x)) + "," + std::to_string(int(drag.location.y));
        for (const auto& path : drag.paths)
            text += " " + path;
        return text;
    }
    bool flipped;
    bool accept = true;
    std::vector<std::string> log;
};

struct ViewServicesTest : ::testing::Test {
    void SetUp() override {
        ASSERT_NE(ak::test::App(), nullptr);
        window = ak::MakeRef<ak::Window>(Rect{{50, 50}, {300, 200}}, ak::StyleMask::Titled);
    }
    void TearDown() override {
        window->Close();
        ak::test::WaitUntilServed();
    }
    ak::Ref<ak::Window> window;
};

TEST_F(ViewServicesTest, DroppedFilesArriveOnceWithTheirPathsAndPoint) {
    auto view = ak::MakeRef<DropView>(Rect{{10, 10}, {100, 80}}, true);
    window->ContentView()->AddSubview(view.Get());
    const std::string list =
        "# from a file manager\r\nfile:///tmp/a%20b.wav\r\nfile:///tmp/c.wav\r\n"
        "http://example.com/x.wav\r\n";
    EXPECT_TRUE(ak::test::DragFiles(*view, list, {{5, 6}, {7, 8}, {9, 10}}, true));
    EXPECT_EQ(view->log, (std::vector<std::string>{
                             "entered 5,6 /tmp/a b.wav /tmp/c.wav",
                             "updated 7,8 /tmp/a b.wav /tmp/c.wav",
                             "updated 9,10 /tmp/a b.wav /tmp/c.wav",
                             "drop 9,10 /tmp/a b.wav /tmp/c.wav",
                             "exited",
                         }));
}

TEST_F(ViewServicesTest, RefusedOrFilelessDragsDropNothing) {
    auto upward = ak::MakeRef<DropView>(Rect{{10, 10}, {100, 80}}, false);
    window->ContentView()->AddSubview(upward.Get());
    upward->accept = false;
    EXPECT_FALSE(ak::test::DragFiles(*upward, "file:///x\n", {{5, 6}}, true));
    // Not flipped: y counts from the bottom, and the point comes back as given.
    EXPECT_EQ(upward->log, (std::vector<std::string>{"entered 5,6 /x", "exited"}));

    upward->log.clear();
    upward->accept = true;
    EXPECT_FALSE(ak::test::DragFiles(*upward, "http://a/b\nfile://other/c\n", {{1, 1}}, true));
    EXPECT_TRUE(upward->log.empty());

    EXPECT_FALSE(ak::test::DragFiles(*upward, "file:///y\n", {{1, 2}, {3, 4}}, false));
    EXPECT_EQ(upward->log,
              (std::vector<std::string>{"entered 1,2 /y", "updated 3,4 /y", "exited"}));
}

TEST_F(ViewServicesTest, ToolTipsComeFromTheLastRectHoldingThePoint) {
    auto view = ak::MakeRef<ak::View>(Rect{{0, 0}, {200, 100}});
    window->ContentView()->AddSubview(view.Get());
    std::vector<Point> asked;
    view->AddToolTipRect({{0, 0}, {100, 100}}, [&](Point p) {
        asked.push_back(p);
        return std::string("left");
    });
    const int inner =
        view->AddToolTipRect({{20, 20}, {10, 10}}, [](Point) { return std::string("inner"); });
    view->AddToolTipRect({{150, 0}, {50, 50}}, [](Point) { return std::string(); });
    Rect area;
    EXPECT_EQ(view->ToolTipAt({25, 25}, &area), "inner");
    EXPECT_EQ(area, (Rect{{20, 20}, {10, 10}}));
    EXPECT_EQ(view->ToolTipAt({50, 50}), "left");
    EXPECT_EQ(asked, std::vector<Point>{(Point{50, 50})});
    EXPECT_EQ(view->ToolTipAt({160, 10}), "");
    EXPECT_EQ(view->ToolTipAt({120, 80}), "");
    view->RemoveToolTip(inner);
    EXPECT_EQ(view->ToolTipAt({25, 25}), "left");
    view->RemoveAllToolTips();
    EXPECT_EQ(view->ToolTipAt({25, 25}), "");
}

} // namespace
