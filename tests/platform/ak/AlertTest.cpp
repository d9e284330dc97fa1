#include "platform/ak/Alert.h"
#include "platform/ak/Application.h"
#include "platform/ak/ColorPanel.h"
#include "platform/ak/ModalPrompt.h"
#include "platform/ak/test/AkTest.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

constexpr unsigned kEscape = 0xff1b;

// Answers the alert the way the case says, from inside its modal loop.
void AnswerLater(std::function<void()> answer) {
    ak::Application::RunOnMainLater([answer = std::move(answer)] {
        ASSERT_TRUE(ak::test::PumpUntil(ak::test::IsAlertShown));
        answer();
    });
}

TEST(Alert, ButtonsInOrderAndTheEscapeRulesWithoutRunOrParent) {
    ASSERT_NE(ak::test::App(), nullptr);
    const std::vector<std::string> three = {"Save", "Cancel", "Don't Save"};
    const struct Case {
        const char* name;
        std::vector<std::string> buttons;
        std::function<void()> answer;
        int expected;
    } cases[] = {
        {"third button", three, [] { ak::test::AlertPressButton(2); }, 1002},
        {"escape picks Cancel", three, [] { ak::test::AlertKey(kEscape); }, 1001},
        {"close box picks Cancel", three, [] { ak::test::AlertCloseBox(); }, 1001},
        {"return picks the first", three, [] { ak::test::AlertKey(0xff0d); }, 1000},
        {"escape picks a lone button", {"OK"}, [] { ak::test::AlertKey(kEscape); }, 1000},
        {"no buttons means OK", {}, [] { ak::test::AlertCloseBox(); }, 1000},
        {"escape without Cancel does nothing",
         {"Yes", "No"},
         [] {
             ak::test::AlertKey(kEscape);
             ak::test::AlertCloseBox();
             ASSERT_TRUE(ak::test::WaitUntilServed());
             ASSERT_TRUE(ak::test::IsAlertShown());
             ak::test::AlertPressButton(1);
         },
         1001},
        // A quit over the box: it must end with an answer, whatever its buttons.
        {"dismissed from outside picks Cancel", three, [] { ak::DismissModalPrompt(); }, 1001},
        {"dismissed from outside without Cancel picks the last",
         {"Yes", "No"},
         [] { ak::DismissModalPrompt(); },
         1001},
    };
    for (const auto& c : cases) {
        auto alert = ak::MakeRef<ak::Alert>();
        alert->SetMessageText("Bank not saved");
        alert->SetInformativeText(c.name);
        for (const auto& button : c.buttons)
            alert->AddButton(button);
        AnswerLater(c.answer);
        testing::internal::CaptureStderr();
        const int response = alert->RunModal();
        const std::string logged = testing::internal::GetCapturedStderr();
        EXPECT_EQ(response, c.expected) << c.name;
        EXPECT_NE(logged.find("alert: Bank not saved: " + std::string(c.name) + "\n"),
                  std::string::npos)
            << logged;
    }
}

} // namespace

namespace {

TEST(ChooserPanels, ColourChangesReportedAndModalAnswersOrNone) {
    ASSERT_NE(ak::test::App(), nullptr);
    std::vector<ak::Color> changes;
    ak::ColorPanel::Show({1, 0, 0, 1}, true, [&](ak::Color c) { changes.push_back(c); });
    EXPECT_TRUE(ak::ColorPanel::IsShown());
    for (const ak::Color c : {ak::Color{0, 1, 0, 1}, ak::Color{0, 0, 1, 0.5}})
        ak::test::ColorPanelPick(c);
    EXPECT_EQ(changes, (std::vector<ak::Color>{{0, 1, 0, 1}, {0, 0, 1, 0.5}}));
    ak::test::PanelAnswer(ak::ColorPanel::Dialog(), false);
    EXPECT_TRUE(ak::test::PumpUntil([] { return !ak::ColorPanel::IsShown(); }));

    for (const bool accept : {true, false}) {
        ak::Application::RunOnMainLater([accept] {
            ak::test::ColorPanelPick({0.2, 0.4, 0.6, 1});
            ak::test::PanelAnswer(ak::ColorPanel::Dialog(), accept);
        });
        const auto chosen = ak::ColorPanel::RunModal({1, 1, 1, 1}, false);
        EXPECT_EQ(chosen.has_value(), accept);
        if (chosen) {
            EXPECT_NEAR(chosen->blue, 0.6, 1e-6);
        }

        ak::Application::RunOnMainLater([accept] {
            ak::test::FontPanelPick("DejaVu Serif Bold 17");
            ak::test::PanelAnswer(ak::FontPanel::Dialog(), accept);
        });
        const auto font = ak::FontPanel::RunModal(ak::Font::Named("DejaVu Sans", 12));
        ASSERT_EQ(font.has_value(), accept);
        if (font) {
            EXPECT_EQ(font->Family(), "DejaVu Serif");
            EXPECT_EQ(font->PointSize(), 17);
            EXPECT_TRUE(font->IsBold());
        }
    }
}

} // namespace
