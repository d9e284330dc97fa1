#include "platform/ak/Box.h"
#include "platform/ak/Button.h"
#include "platform/ak/PopUpButton.h"
#include "platform/ak/Slider.h"
#include "platform/ak/TextField.h"
#include "platform/ak/Window.h"
#include "platform/ak/test/AkTest.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using ak::Rect;

// Dialog units at scale 1.5 land on half points; a widget must cover exactly
// the pixels its frame's edges round to, even at 18 to 22 points high.
Rect ExpectedPixels(Rect frame) {
    const int x = ak::PixelEdge(frame.MinX());
    const int y = ak::PixelEdge(frame.MinY());
    return {{double(x), double(y)},
            {double(ak::PixelEdge(frame.MaxX()) - x), double(ak::PixelEdge(frame.MaxY()) - y)}};
}

TEST(PreferencesLayout, ControlsSitExactlyAtTheirFramesWithoutWarnings) {
    ASSERT_NE(ak::test::App(), nullptr);
    auto window = ak::MakeRef<ak::Window>(Rect{{100, 100}, {487.5, 318}},
                                          ak::StyleMask::Titled | ak::StyleMask::Closable);
    window->SetTitle("Preferences");
    std::vector<ak::Ref<ak::Control>> controls;
    auto add = [&](ak::Control* control) {
        window->ContentView()->AddSubview(control);
        controls.emplace_back(control);
    };
    auto group = ak::MakeRef<ak::Box>(Rect{{7.5, 13.5}, {472.5, 255}}, ak::BoxKind::Titled);
    group->SetTitle("Device");
    add(group.Get());
    auto line = ak::MakeRef<ak::Box>(Rect{{15, 181.5}, {457.5, 3}}, ak::BoxKind::HorizontalLine);
    add(line.Get());
    auto label =
        ak::MakeRef<ak::TextField>(Rect{{16.5, 37.5}, {105, 18}}, ak::TextFieldKind::Label);
    label->SetText("MIDI input:");
    add(label.Get());
    auto port = ak::MakeRef<ak::PopUpButton>(Rect{{127.5, 34.5}, {240, 21}});
    port->AddItem("Omnar Pedal MIDI 1", 1);
    port->SelectIndex(0);
    add(port.Get());
    auto channel =
        ak::MakeRef<ak::TextField>(Rect{{127.5, 64.5}, {60, 21}}, ak::TextFieldKind::Editable);
    channel->SetText("1");
    add(channel.Get());
    auto check = ak::MakeRef<ak::Button>(Rect{{16.5, 97.5}, {300, 18}}, ak::ButtonKind::Check);
    check->SetTitle("Check for firmware updates at start");
    add(check.Get());
    auto slider = ak::MakeRef<ak::Slider>(Rect{{16.5, 127.5}, {210, 22.5}});
    add(slider.Get());
    auto progress = ak::MakeRef<ak::ProgressIndicator>(Rect{{16.5, 157.5}, {210, 12}});
    progress->SetValue(40);
    add(progress.Get());
    const char* titles[] = {"Config...", "OK", "Apply", "Cancel"};
    const double lefts[] = {16.5, 237, 318, 399};
    for (int i = 0; i < 4; ++i) {
        auto button =
            ak::MakeRef<ak::Button>(Rect{{lefts[i], 280.5}, {75, 21}}, ak::ButtonKind::Push);
        button->SetTitle(titles[i]);
        add(button.Get());
        if (i == 1)
            window->SetDefaultButton(button.Get());
    }
    window->MakeKeyAndOrderFront();
    ASSERT_TRUE(ak::test::WaitUntilShown(*window));
    for (const auto& control : controls) {
        SCOPED_TRACE(testing::Message()
                     << control->Frame().MinX() << "," << control->Frame().MinY());
        const Rect want = ExpectedPixels(control->Frame());
        const Rect got = ak::test::NativeWidgetRectInWindow(*control);
        // Lines and frames take the box's top-left; the rest fill it.
        if (control.Get() == line.Get()) {
            EXPECT_EQ(got.origin, want.origin);
            EXPECT_EQ(got.size.width, want.size.width);
        } else {
            EXPECT_EQ(got, want);
        }
    }
    EXPECT_FALSE(ak::test::SaveSnapshot(*window, "ak-preferences-layout").empty());
    window->Close();
    ak::test::WaitUntilServed();
}

} // namespace
