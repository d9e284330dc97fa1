#include "controls/IFreqResponseGraph.h"
#include "controls/ITextControl.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using vx::ui::IColor;
using vx::ui::IRECT;

const IRECT kBounds(10.f, 20.f, 110.f, 40.f);

TEST(TextControl, RedrawsOnlyWhenTheTextChanges) {
    vx::ui::ITextControl label(kBounds, "05");
    EXPECT_TRUE(label.GetIgnoreMouse());

    struct Case {
        const char* text;
        const char* shown;
        bool dirty;
    };
    const Case cases[] = {
        {"05", "05", false},
        {"06", "06", true},
        {"", "", true},
        {nullptr, "", false},
        {"Preset 001", "Preset 001", true},
    };
    for (const Case& c : cases) {
        label.SetClean();
        label.SetString(c.text);
        EXPECT_STREQ(label.GetString(), c.shown);
        EXPECT_EQ(label.IsDirty(), c.dirty) << (c.text ? c.text : "null");
    }
    EXPECT_EQ(label.GetRECT().L, kBounds.L) << "a label that does not fit keeps its rectangle";
}

TEST(TextControl, TextColourChangesWithoutARedraw) {
    vx::ui::ITextControl row(kBounds, "row");
    row.SetClean();
    row.SetTextColor(IColor(255, 100, 255, 255));
    EXPECT_EQ(row.GetText().FGColor, IColor(255, 100, 255, 255));
    EXPECT_FALSE(row.IsDirty());
}

TEST(EditableTextControl, EnteredTextRunsTheActionOnce) {
    vx::ui::IEditableTextControl name(kBounds, "Old name");
    EXPECT_FALSE(name.GetIgnoreMouse());
    int actions = 0;
    name.SetActionFunction([&](vx::ui::IControl*) { ++actions; });
    name.OnTextEntryFinished("New name", 0);
    EXPECT_STREQ(name.GetString(), "New name");
    EXPECT_EQ(actions, 1);
}

TEST(FreqResponseGraph, ProcessBlockKeepsACopyAndRedraws) {
    vx::ui::IFreqResponseGraph graph(kBounds, IColor(255, 0, 200, 0), 16, 0);
    std::vector<double> impulse(16, 0.0);
    impulse[0] = 1.0;
    graph.SetClean();
    graph.ProcessBlock(impulse.data());
    impulse[0] = 0.5; // the caller's buffer is reused for the next IR
    ASSERT_EQ(graph.LastBlock().size(), 16u);
    EXPECT_EQ(graph.LastBlock()[0], 1.0);
    EXPECT_EQ(graph.LastBlock()[7], 0.0);
    EXPECT_TRUE(graph.IsDirty());
}

} // namespace
