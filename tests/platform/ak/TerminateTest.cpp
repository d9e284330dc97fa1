#include "platform/ak/Application.h"
#include "platform/ak/test/AkTest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Delegate : ak::ApplicationDelegate {
    void DidFinishLaunching() override { log.push_back("launched"); }
    bool ShouldTerminate() override {
        log.push_back("should terminate");
        return allow;
    }
    void WillTerminate() override { log.push_back("will terminate"); }
    std::vector<std::string> log;
    bool allow = true;
};

// Terminating is once per process, so this program has only this test.
TEST(Terminate, EndsEveryLoopLevelOnceAndRunReturns) {
    ak::Application* app = ak::test::App();
    ASSERT_NE(app, nullptr);
    Delegate delegate;
    app->SetDelegate(&delegate);
    auto window = ak::MakeRef<ak::Window>(ak::Rect{{10, 10}, {100, 100}}, ak::StyleMask::Titled);
    int modalResult = 0;
    ak::Application::RunOnMainLater([&] {
        delegate.allow = false;
        app->Terminate(); // refused: nothing ends
        delegate.allow = true;
        ak::Application::RunOnMainLater([&] {
            app->Terminate();
            app->Terminate();
        });
        modalResult = app->RunModal(window.Get());
        delegate.log.push_back("modal returned");
    });
    app->Run();
    EXPECT_EQ(modalResult, ak::ModalResponse::Abort);
    EXPECT_EQ(delegate.log,
              (std::vector<std::string>{"launched", "should terminate", "should terminate",
                                        "will terminate", "modal returned"}));
    EXPECT_TRUE(app->IsTerminating());
    // Once terminating, new runs end at once.
    EXPECT_EQ(app->RunModal(window.Get()), ak::ModalResponse::Abort);
    app->Run();
    window->Close();
    app->SetDelegate(nullptr);
}

} // namespace
