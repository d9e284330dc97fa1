#include "platform/ak/FilePanel.h"
#include "platform/ak/Application.h"
#include "platform/ak/Window.h"
#include "platform/ak/test/AkTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

TEST(FileTypes, ExtensionsAreCleanedAndStarMeansAll) {
    const struct {
        std::vector<std::string> given;
        std::vector<std::string> kept;
    } cases[] = {
        {{"bank", ".syx", " ", "", "BANK", "..wav "}, {"bank", "syx", "wav"}},
        {{"bank", "*"}, {}},
        {{}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ak::NormalizedExtensions(c.given), c.kept);
}

struct FilePanelTest : ::testing::Test {
    void SetUp() override {
        ASSERT_NE(ak::test::App(), nullptr);
        fs::create_directories(folder);
        for (const char* name : {"a.bank", "B.BANK", "c.txt"})
            std::ofstream(folder / name) << "x";
    }
    void TearDown() override { fs::remove_all(folder); }
    // The answer comes from inside the panel's loop, once it shows.
    static void AnswerLater(std::function<void()> answer) {
        ak::Application::RunOnMainLater([answer = std::move(answer)] {
            ASSERT_TRUE(ak::test::PumpUntil(ak::test::IsFilePanelShown));
            answer();
        });
    }
    fs::path folder = fs::temp_directory_path() / ("omnar-panel-" + std::to_string(getpid()));
};

TEST_F(FilePanelTest, OpenFiltersWithoutCaseAndAnswersFullPaths) {
    auto panel = ak::MakeRef<ak::OpenPanel>();
    panel->SetDirectory(folder.string());
    panel->SetAllowedExtensions({".bank"});
    panel->SetAllowsMultipleSelection(true);
    std::vector<bool> shown;
    AnswerLater([&] {
        EXPECT_EQ(ak::test::FilePanelFolder(), folder.string());
        for (const char* name : {"a.bank", "B.BANK", "c.txt"})
            shown.push_back(ak::test::FilePanelShows(name));
        panel->SetAllowedExtensions({"txt"}); // while open
        shown.push_back(ak::test::FilePanelShows("c.txt"));
        panel->SetAllowedExtensions({"bank"});
        ak::test::FilePanelAccept({(folder / "B.BANK").string()});
    });
    EXPECT_EQ(panel->RunModal(), ak::PanelResponse::OK);
    EXPECT_EQ(shown, (std::vector<bool>{true, true, false, true}));
    EXPECT_EQ(panel->Paths(), std::vector<std::string>{(folder / "B.BANK").string()});
}

// Several files chosen at once come back whole, each as a full path; a
// panel without multiple selection keeps to one.
TEST_F(FilePanelTest, OpenAnswersEveryChosenFileWhenSeveralAreAllowed) {
    const std::vector<std::string> both{(folder / "a.bank").string(), (folder / "B.BANK").string()};
    for (const bool multiple : {true, false}) {
        SCOPED_TRACE(multiple);
        auto panel = ak::MakeRef<ak::OpenPanel>();
        panel->SetDirectory(folder.string());
        panel->SetAllowedExtensions({"bank"});
        panel->SetAllowsMultipleSelection(multiple);
        bool accepted = false;
        AnswerLater([&] {
            accepted = ak::test::FilePanelAccept(multiple ? both : std::vector{both.back()});
            if (!accepted)
                ak::test::FilePanelCancel();
        });
        EXPECT_EQ(panel->RunModal(), ak::PanelResponse::OK);
        EXPECT_TRUE(accepted);
        std::vector<std::string> paths = panel->Paths();
        std::sort(paths.begin(), paths.end());
        std::vector<std::string> want = multiple ? both : std::vector{both.back()};
        std::sort(want.begin(), want.end());
        EXPECT_EQ(paths, want);
    }
}

TEST_F(FilePanelTest, SaveStartsAtHomeForAMissingFolderAndCancelAnswersNothing) {
    auto panel = ak::MakeRef<ak::SavePanel>();
    panel->SetDirectory((folder / "missing").string());
    panel->SetNameFieldValue("Bank 1.bank");
    panel->SetAllowedExtensions({"bank"});
    std::string startFolder;
    std::string startName;
    AnswerLater([&] {
        startFolder = ak::test::FilePanelFolder();
        startName = ak::test::FilePanelName();
        ak::test::FilePanelCancel();
    });
    EXPECT_EQ(panel->RunModal(), ak::PanelResponse::Cancel);
    EXPECT_EQ(startFolder, std::string(std::getenv("HOME")));
    EXPECT_EQ(startName, "Bank 1.bank");
    EXPECT_TRUE(panel->Paths().empty());

    panel->SetDirectory(folder.string());
    AnswerLater([] { ak::test::FilePanelAccept({"New Bank"}); });
    EXPECT_EQ(panel->RunModal(), ak::PanelResponse::OK);
    EXPECT_EQ(panel->Paths(), std::vector<std::string>{(folder / "New Bank.bank").string()});
}

TEST_F(FilePanelTest, ASheetRunsAfterTheCurrentEventAndThenCompletes) {
    auto window = ak::MakeRef<ak::Window>(ak::Rect{{50, 50}, {300, 200}}, ak::StyleMask::Titled);
    window->MakeKeyAndOrderFront();
    ASSERT_TRUE(ak::test::WaitUntilShown(*window));
    auto panel = ak::MakeRef<ak::OpenPanel>();
    panel->SetDirectory(folder.string());
    std::vector<std::string> order;
    panel->BeginSheet(window.Get(), [&](int response) {
        order.push_back("completion " + std::to_string(response));
    });
    order.push_back("returned");
    AnswerLater([&] {
        order.push_back("shown");
        ak::test::FilePanelCancel();
    });
    ASSERT_TRUE(ak::test::PumpUntil([&] { return order.size() == 3; }));
    EXPECT_EQ(order, (std::vector<std::string>{"returned", "shown", "completion 0"}));
    window->Close();
    ak::test::WaitUntilServed();
}

} // namespace
