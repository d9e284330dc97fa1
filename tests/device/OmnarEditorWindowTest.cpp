#include "device/OmnarControl.h"
#include "platform/ak/test/AkTest.h"
#include "render/view/ICanvasMac.h"
#include "tests/framework/PluginFixtures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

TEST(OmnarEditorWindow, OpensInAWindowAndClosesKeepingSizeAndScale) {
    ASSERT_NE(ak::test::App(), nullptr);
    vx::test::FakeHost host;
    auto editor = std::make_unique<OmnarControl>(vx::InstanceInfo{&host});
    auto window = ak::Ref<ak::Window>::Adopt(new ak::Window({{0, 0}, {960, 600}}, 1));
    window->MakeKeyAndOrderFront();

    auto* view = static_cast<ak::View*>(editor->OpenEditor(window->ContentView()));
    ASSERT_NE(view, nullptr);
    auto* canvas = dynamic_cast<vx::ui::ICanvasMac*>(editor->GetGraphics());
    ASSERT_NE(canvas, nullptr);
    EXPECT_STREQ(canvas->PlatformName(), "Cocoa");
    EXPECT_EQ(canvas->Width(), 1920);
    EXPECT_EQ(canvas->Height(), 1200);
    EXPECT_EQ(canvas->GetDrawScale(), 0.5f);
    EXPECT_EQ(canvas->FPS(), 60);
    EXPECT_EQ(view->Frame().size, (ak::Size{960, 600}));
    ASSERT_TRUE(ak::test::WaitUntilShown(*window));
    ASSERT_TRUE(ak::test::WaitUntilServed()); // the pages are not laid out yet: nothing to draw
    ak::test::SaveSnapshot(*window, "omnar_editor_window");

    editor->CloseEditor();
    EXPECT_EQ(editor->GetGraphics(), nullptr);
    EXPECT_TRUE(window->ContentView()->Subviews().empty());
    // Opening again builds a canvas of the kept size and scale.
    ASSERT_NE(editor->OpenEditor(window->ContentView()), nullptr);
    EXPECT_EQ(editor->GetGraphics()->Width(), 1920);
    EXPECT_EQ(editor->GetGraphics()->GetDrawScale(), 0.5f);
    editor->CloseEditor();
    window->Close();
    ak::test::WaitUntilServed();
}

} // namespace
