#include "render/view/ServiceRules.h"

#include <gtest/gtest.h>

namespace {

using vx::ui::EMsgBoxButtons;
using vx::ui::EMsgBoxResult;

TEST(ServiceRules, MessageBoxButtonsAndAnswers) {
    struct Case {
        EMsgBoxButtons type;
        size_t buttons;
        EMsgBoxResult answers[3];
    };
    using R = EMsgBoxResult;
    const Case cases[] = {
        {EMsgBoxButtons::OK, 1, {R::OK, R::OK, R::OK}},
        {EMsgBoxButtons::OKCancel, 2, {R::OK, R::Cancel, R::Cancel}},
        {EMsgBoxButtons::YesNoCancel, 3, {R::Yes, R::No, R::Cancel}},
        {EMsgBoxButtons::YesNo, 2, {R::Yes, R::No, R::No}},
        {EMsgBoxButtons::RetryCancel, 2, {R::Retry, R::Cancel, R::Cancel}},
        {static_cast<EMsgBoxButtons>(2), 0, {R::Cancel, R::Cancel, R::Cancel}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(vx::ui::MessageBoxButtonTitles(c.type).size(), c.buttons) << int(c.type);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(vx::ui::MessageBoxResultOf(c.type, i), c.answers[i]) << int(c.type) << i;
    }
    EXPECT_EQ(vx::ui::MessageBoxButtonTitles(EMsgBoxButtons::YesNoCancel)[1], "No");
}

TEST(ServiceRules, OnlyALeadingSchemeMakesAnAddress) {
    const std::pair<const char*, bool> cases[] = {
        {"https://example.org", true},
        {"mailto:someone@example.org", true},
        {"file:///tmp/x", true},
        {"/srv/httpdocs/index.html", false}, // "http" inside a path is no scheme
        {"httpdocs/readme", false},
        {"C:/Users/x", false}, // a drive letter
        {"notes.txt", false},
        {"1abc:x", false},
        {"", false},
        {"x-y.z+w:rest", true},
    };
    for (const auto& [text, scheme] : cases)
        EXPECT_EQ(vx::ui::StartsWithUriScheme(text), scheme) << text;
}

} // namespace

namespace {

TEST(ServiceRules, ExtensionsSplitAtBlanksAndChosenPathsGiveTheirFolder) {
    EXPECT_EQ(vx::ui::SplitExtensions("syx bnk"), (std::vector<std::string>{"syx", "bnk"}));
    EXPECT_EQ(vx::ui::SplitExtensions("  wav  "), (std::vector<std::string>{"wav"}));
    EXPECT_TRUE(vx::ui::SplitExtensions("").empty());
    EXPECT_TRUE(vx::ui::SplitExtensions(nullptr).empty());
    struct Case {
        const char* path;
        const char* folder;
    };
    const Case cases[] = {{"/home/u/a.syx", "/home/u/"},
                          {"/a.syx", "/"},
                          {"a.syx", ""},
                          {"/home/u/My Presets/", "/home/u/My Presets/"}};
    for (const Case& c : cases)
        EXPECT_EQ(vx::ui::FolderOfPath(c.path), c.folder) << c.path;
}

} // namespace
