// The editor's own panel (the platform canvas over the project's window
// layer) in a real window on a virtual display, as the program shows it.

#include "device/OmnarControl.h"
#include "platform/ak/test/AkTest.h"
#include "platform/sys/Log.h"
#include "render/view/ICanvasMac.h"
#include "tests/device/LibraryFixtures.h"
#include "tests/framework/PluginFixtures.h"
#include "tests/pages/PagesFixture.h"

#include <gtest/gtest.h>

namespace omnar::test {
namespace {

TEST(PanelWindow, ShowsThePanelItsPagesAndOverlaysWithEveryImage) {
    ASSERT_NE(ak::test::App(), nullptr);
    TempDataHome dataHome;
    TempDataHome configHome("XDG_CONFIG_HOME");
    std::vector<std::string> logged;
    sys::SetLogSink([&](const std::string& line) { logged.push_back(line); });

    vx::test::FakeHost host;
    OmnarControl editor(vx::InstanceInfo{&host});
    auto window = ak::Ref<ak::Window>::Adopt(new ak::Window({{50, 50}, {960, 600}}, 1));
    window->MakeKeyAndOrderFront();
    editor.OpenEditor(window->ContentView());
    auto* canvas = dynamic_cast<vx::ui::ICanvasMac*>(editor.GetGraphics());
    ASSERT_NE(canvas, nullptr);
    EXPECT_EQ(canvas->GetDrawScale(), 0.5f);

    ASSERT_TRUE(ak::test::WaitUntilShown(*window));
    ASSERT_TRUE(ak::test::PumpUntil([&] { return canvas->View()->FramesPainted() > 0; }, 60000));
    EXPECT_FALSE(ak::test::SaveSnapshot(*window, "pages/window-start-up").empty());
    for (const std::string& line : logged)
        EXPECT_EQ(line.find("missing"), std::string::npos) << line;

    sys::SetLogSink({});

    // Each effect page through its page method, then the overlays shown directly.
    const auto shoot = [&](const std::string& name) {
        canvas->MarkAllControlsDirty();
        const auto painted = canvas->View()->FramesPainted();
        // A whole panel's frame on the CPU stand-in, sanitised, on a loaded
        // machine: seconds.
        ASSERT_TRUE(
            ak::test::PumpUntil([&] { return canvas->View()->FramesPainted() > painted; }, 60000));
        EXPECT_FALSE(ak::test::SaveSnapshot(*window, "pages/window-" + name).empty());
    };
    for (const PageMethod& page : kPageMethods) {
        (editor.*page.method)();
        shoot(std::string("page-") + page.name);
    }
    const std::pair<const char*, std::vector<const char*>> overlays[] = {
        {"firmware", {"fwbgcontrols", "fwupdatecontrols"}},
        {"global-settings", {"globalsettingscontrols"}},
        {"midi-program-ofs0", {"midiprogramcontrols", "midiprogramcontrolsofs0"}},
        {"midi-program-ofs1", {"midiprogramcontrols", "midiprogramcontrolsofs1"}},
        {"midi-cc", {"midicccontrols"}},
        {"about", {"aboutcontrols"}},
        {"custom-ir-list", {"customircontrols"}},
        {"loading-presets", {"progresscontrols"}},
        {"upgrading-factory-presets", {"factorypresetcontrols"}}};
    for (const auto& [name, groups] : overlays) {
        for (const char* group : groups)
            canvas->ForEachControlInGroup(group, [](vx::ui::IControl* c) { c->Hide(false); });
        shoot(std::string("overlay-") + name);
        for (const char* group : groups)
            canvas->ForEachControlInGroup(group, [](vx::ui::IControl* c) { c->Hide(true); });
    }

    editor.CloseEditor();
    window->Close();
    ak::test::WaitUntilServed();
}

} // namespace
} // namespace omnar::test
