#include "platform/ak/MenuText.h"

#include <gtest/gtest.h>

namespace {

TEST(MenuText, AmpersandsBecomeGtkMnemonicsAndUnderscoresStayVisible) {
    const struct {
        const char* title;
        const char* label;
    } cases[] = {
        {"&File", "_File"},
        {"Save &As...", "Save _As..."},
        {"Bass && Treble", "Bass & Treble"},
        {"snake_case", "snake__case"},
        {"&&&Edit", "&_Edit"},
        {"Trailing&", "Trailing"},
        {"", ""},
        {"bad \xff byte", "bad \xEF\xBF\xBD byte"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ak::GtkMnemonicLabel(c.title), c.label) << c.title;
}

} // namespace
