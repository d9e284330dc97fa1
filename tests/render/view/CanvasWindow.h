#pragma once

// A window holding the platform canvas of a FakeDelegate: 200 x 100 panel
// units at draw scale 1, a red panel and a test control logging what it is told.

#include "platform/ak/test/AkTest.h"
#include "render/view/ICanvasMac.h"
#include "render/view/ViewGeometry.h"
#include "tests/render/view/WindowGolden.h"
#include "tests/support/FakeDelegate.h"
#include "tests/support/TestControl.h"
#include "toolkit/IPanelControl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vx::test {

struct CanvasWindow : ::testing::Test {
    void SetUp() override {
        ASSERT_NE(ak::test::App(), nullptr);
        delegate.SetMakeGraphicsFunc([this] {
            log.push_back("make");
            return std::make_unique<ui::ICanvasMac>(delegate, 200, 100, 60, drawScale);
        });
        delegate.layout = [this](ui::ICanvas* canvas) {
            log.push_back(canvas->DrawContextHandle() ? "layout with context" : "layout");
            log.push_back("scale " + std::to_string(int(canvas->GetScreenScale())));
            canvas->AddControl(
                new ui::IPanelControl(canvas->GetBounds(), ui::IColor(255, 200, 0, 0)));
            control = new TestControl(log, "control", {20, 20, 60, 60}, paramIdx, action);
            canvas->AddControl(control);
            if (moreLayout)
                moreLayout(canvas);
        };
        window = ak::Ref<ak::Window>::Adopt(
            new ak::Window({{100, 100}, {200 * drawScale, 100 * drawScale}}, 1));
        window->MakeKeyAndOrderFront();
    }
    void TearDown() override {
        delegate.CloseEditor();
        if (window)
            window->Close();
        ak::test::WaitUntilServed();
    }

    // The view's frame timer has ticked: a later timer of its interval has
    // ticked n times, so the view's own has ticked n - 1 times at least.
    bool WaitForTicks(int n) {
        int ticks = 0;
        ak::TimeoutSource later(
            ui::FrameIntervalMs(Canvas() ? Canvas()->FPS() : 60), [&] { ++ticks; },
            ak::TimeoutSource::Start::AfterInterval);
        return ak::test::PumpUntil([&] { return ticks >= n; });
    }
    // The panel stands still: ticks went by with no frame stored, and the
    // window has drawn the newest since.
    bool WaitUntilStill(ui::ICanvasView* view) {
        return ak::test::PumpUntil([&] {
                   const int stored = view->Frames().FramesStored();
                   return WaitForTicks(3) && view->Frames().FramesStored() == stored;
               }) &&
               ak::test::WaitUntilServed() && ak::test::WaitUntilDrawn(*window);
    }
    // The window shows the golden picture: compared again after each frame
    // painted, up to the deadline; false with the last reason.
    bool WaitUntilWindowMatches(ui::ICanvasView* view, const std::string& name,
                                std::string& message) {
        int compared = -1;
        bool matches = false;
        ak::test::PumpUntil([&] {
            if (view->FramesPainted() != compared) {
                compared = view->FramesPainted();
                matches = WindowMatchesGolden(*window, name, message);
            }
            return matches;
        });
        return matches;
    }

    ui::ICanvasMac* Canvas() { return static_cast<ui::ICanvasMac*>(delegate.GetGraphics()); }
    ui::ICanvasView* Open() {
        delegate.OpenEditor(window->ContentView());
        return Canvas() ? Canvas()->View() : nullptr;
    }

    FakeDelegate delegate;
    std::vector<std::string> log;
    TestControl* control = nullptr;
    int paramIdx = -1;
    ui::IActionFunction action;
    std::function<void(ui::ICanvas*)> moreLayout;
    float drawScale = 1.f;
    ak::Ref<ak::Window> window;
};

} // namespace vx::test
