#pragma once

// A window holding the platform canvas of a FakeDelegate: 200 x 100 panel
// units at draw scale 1, a red panel and a test control logging what it is told.

#include "platform/ak/test/AkTest.h"
#include "render/view/ICanvasMac.h"
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
        ak::test::Pump();
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
