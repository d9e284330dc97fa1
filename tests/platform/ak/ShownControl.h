#pragma once

#include "platform/ak/Control.h"
#include "platform/ak/Window.h"
#include "platform/ak/test/AkTest.h"

#include <gtest/gtest.h>

// A control of type C alone in a shown window, counting its actions.
template <class C>
struct ShownControl : ::testing::Test {
    void SetUp() override {
        ASSERT_NE(ak::test::App(), nullptr);
        window = ak::MakeRef<ak::Window>(ak::Rect{{40, 40}, {400, 300}}, ak::StyleMask::Titled);
        control = ak::MakeRef<C>(ak::Rect{{10, 10}, {300, 200}});
    }
    // After the control is set up: shows it and waits until it is drawn.
    void Show() {
        control->SetAction([this](ak::Control&) { ++fired; });
        window->ContentView()->AddSubview(control.Get());
        window->MakeKeyAndOrderFront();
        ASSERT_TRUE(ak::test::WaitUntilShown(*window));
    }
    void TearDown() override {
        window->Close();
        ak::test::WaitUntilServed();
    }
    ak::Ref<ak::Window> window;
    ak::Ref<C> control;
    int fired = 0;
};
