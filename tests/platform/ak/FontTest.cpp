#include "platform/ak/Font.h"

#include <gtest/gtest.h>

namespace {

TEST(Font, UnknownFamiliesFallBackAndMeasuresFollowSizeAndWrapping) {
    const ak::Font system = ak::Font::System(13);
    const ak::Font unknown = ak::Font::Named("No Such Family 42", 13);
    EXPECT_EQ(unknown.Family(), system.Family());
    const ak::Font dejavu = ak::Font::Named("dejavu sans", 20, true);
    EXPECT_EQ(dejavu.Family(), "dejavu sans");
    EXPECT_EQ(dejavu.Description(), "dejavu sans Bold 20");
    EXPECT_EQ(ak::Font::System(-4).PointSize(), 13) << "a nonsense size";

    const ak::Size small = ak::Font::Named("DejaVu Sans", 10).Measure("Preset");
    const ak::Size large = ak::Font::Named("DejaVu Sans", 20).Measure("Preset");
    EXPECT_GT(small.width, 0);
    EXPECT_NEAR(large.width / small.width, 2, 0.25);
    const ak::Size wrapped =
        ak::Font::Named("DejaVu Sans", 10).Measure("one two three four five six", 40);
    EXPECT_LE(wrapped.width, 40);
    EXPECT_GT(wrapped.height, 2 * small.height);
    const ak::FontMetrics metrics = ak::Font::Named("DejaVu Sans", 20).Metrics();
    EXPECT_GT(metrics.ascent, metrics.descent);
    EXPECT_GE(metrics.lineHeight, metrics.ascent + metrics.descent - 1);

    EXPECT_TRUE(dejavu.HasGlyph(U'A'));
    EXPECT_FALSE(dejavu.HasGlyph(0x10FFFD));
    EXPECT_FALSE(ak::Font::RegisterFile("/nonexistent/font.ttf"));
    EXPECT_GT(ak::Font::Named("DejaVu Sans", 10).Measure("bad \xFF").width, 0);
}

} // namespace
