#include "tests/e2e/ProgramSession.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

// The program as a user starts, looks at, resizes and quits it.
namespace e2e {
namespace {

// The scale "scale=" keeps in settings.ini; nothing when there is none.
std::optional<double> StoredScale(const std::string& settings) {
    const auto at = settings.find("scale=");
    if (at == std::string::npos)
        return std::nullopt;
    return std::strtod(settings.c_str() + at + 6, nullptr);
}

// The window's frame is the panel at its scale plus, once the application
// shell brings it, the menu bar above.
void ExpectPanelAt(const std::optional<WindowSize>& window, double scale) {
    ASSERT_TRUE(window);
    EXPECT_NEAR(window->width, 1920 * scale, 1.0);
    EXPECT_GE(window->height, 1200 * scale - 1.0);
    EXPECT_LT(window->height, 1200 * scale + 50.0) << "more than a menu bar above the panel";
}

TEST_F(ProgramTest, FirstStartShowsThePanelAndACloseRequestEndsIt) {
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    // No scale stored yet: the panel at its default half scale.
    ExpectPanelAt(Size(), 0.5);
    Shot("first-start");
    EXPECT_EQ(CloseWindow(), 0) << "the program did not end with 0";
    // Closing the panel keeps its scale for the next start.
    EXPECT_EQ(StoredScale(SettingsText()), 0.5) << SettingsText();
}

// A stored scale sizes the window, and a restart keeps it; one that is no
// usable number gives the default.
struct ScaleCase {
    const char* stored;
    double scale;
};

class SavedScale : public ProgramTest, public ::testing::WithParamInterface<ScaleCase> {};

TEST_P(SavedScale, SizesTheWindowAndSurvivesARestart) {
    WriteSettings(std::string("[GUI]\nscale=") + GetParam().stored + "\n");
    for (int run = 1; run <= 2; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        ASSERT_NO_FATAL_FAILURE(StartProgram());
        ExpectPanelAt(Size(), GetParam().scale);
        if (run == 1)
            Shot("scale");
        ASSERT_EQ(CloseWindow(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Stored, SavedScale,
                         ::testing::Values(ScaleCase{"0.75", 0.75}, ScaleCase{"0.333333", 1 / 3.0},
                                           ScaleCase{"garbage", 0.5}, ScaleCase{"40", 0.5}));

// A drag on the corner resizer scales the panel; the next start opens at that scale.
TEST_F(ProgramTest, TheScaleSetByTheCornerSurvivesARestart) {
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    const auto before = Size();
    ASSERT_TRUE(before);
    // The corner resizer sits in the panel's bottom-right corner, the window's.
    Drag({before->width - 3, before->height - 3}, {before->width + 237, before->height + 147});
    Shot("resized");
    ASSERT_EQ(CloseWindow(), 0);
    const auto scale = StoredScale(SettingsText());
    ASSERT_TRUE(scale) << SettingsText();
    EXPECT_GT(*scale, 0.55) << "the drag left the scale at " << *scale;
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    ExpectPanelAt(Size(), *scale);
    Shot("restarted");
    EXPECT_EQ(CloseWindow(), 0);
}

// Ctrl+Q is the File menu's Quit, which the application shell brings.
TEST_F(ProgramTest, CtrlQQuits) {
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    Keys("ctrl+q");
    EXPECT_EQ(WaitForExit(kExitWait), 0);
    EXPECT_TRUE(StoredScale(SettingsText()));
}

} // namespace
} // namespace e2e
