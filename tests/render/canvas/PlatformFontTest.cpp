// Platform fonts: the loaders, installed fonts and the descriptor cache.
#include "render/canvas/CoreTextFont.h"
#include "render/canvas/FontDescriptorCache.h"
#include "tests/render/support/TestAssets.h"
#include "tests/support/TempImageFolder.h"

#include <gtest/gtest.h>

namespace canvas_test {
namespace {

using namespace vx::ui;

TEST(PlatformFont, LoadersRefuseWhatIsNotAFont) {
    vx::test::TempImageFolder folder;
    EXPECT_EQ(LoadFontFromResource((folder.Folder() + "/missing.ttf").c_str(), "", ""), nullptr);
    const std::string fake = folder.AddFile("fake.ttf", "this is not a font at all");
    EXPECT_EQ(LoadFontFromResource(fake.c_str(), "", ""), nullptr);
    EXPECT_EQ(LoadFontFromMemory("true\0\0\0\0", 8), nullptr);
    EXPECT_EQ(LoadFontFromMemory(nullptr, 0), nullptr);
}

TEST(PlatformFont, ResourceAndMemoryFontsGiveTheirFirstFace) {
    const auto bytes = render_test::read_file(render_test::kDejaVuSans);
    std::vector<std::unique_ptr<CoreTextFont>> fonts;
    fonts.push_back(LoadFontFromResource(render_test::kDejaVuSans, "", ""));
    fonts.push_back(LoadFontFromMemory(bytes.data(), int(bytes.size())));
    for (const auto& font : fonts) {
        ASSERT_NE(font, nullptr);
        EXPECT_FALSE(font->system);
        const auto data = font->GetFontData();
        ASSERT_TRUE(data && data->IsValid());
        EXPECT_EQ(data->faceIndex, 0);
        EXPECT_EQ(data->family, "DejaVu Sans");
        EXPECT_EQ(data->Size(), bytes.size());
        EXPECT_EQ(font->GetDescriptor()->family, "DejaVu Sans");
    }
}

TEST(PlatformFont, InstalledFontsMatchFamilyAndStyleExactly) {
    const auto bold = LoadFontFromFamily("DejaVu Sans", 1);
    ASSERT_NE(bold, nullptr);
    EXPECT_TRUE(bold->system);
    const auto data = bold->GetFontData();
    ASSERT_TRUE(data && data->IsValid());
    EXPECT_EQ(data->style, "Bold");
    // DejaVu's regular style is called "Book".
    EXPECT_EQ(LoadFontFromFamily("DejaVu Sans", 0), nullptr);
    EXPECT_EQ(LoadFontFromFamily("No Such Family", 1), nullptr);
    EXPECT_EQ(TextStyleFromName("Italic"), 2);
    EXPECT_EQ(TextStyleFromName("Book"), 0);
}

TEST(PlatformFont, DescriptorCacheKeepsTheFirstFontOfAnId) {
    FontDescriptorCache cache;
    const auto regular = LoadFontFromResource(render_test::kDejaVuSans, "", "");
    const auto bold = LoadFontFromFamily("DejaVu Sans", 1);
    ASSERT_TRUE(regular && bold);
    cache.AddFont("Roboto-Regular", *regular);
    cache.AddFont("Roboto-Regular", *bold);
    EXPECT_EQ(cache.Size(), 1);
    const FontDescriptorEntry* entry = cache.FindFont("Roboto-Regular");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->descriptor, regular->GetDescriptor());
    const auto data = regular->GetFontData();
    EXPECT_DOUBLE_EQ(entry->emRatio, double(data->unitsPerEM) / (data->ascender - data->descender));
    EXPECT_EQ(FontDescriptorCache::Key("Roboto-Regular", 1.0), "Roboto-Regular-1.0x");
    EXPECT_EQ(cache.FindFont("Roboto"), nullptr);
}

} // namespace
} // namespace canvas_test
