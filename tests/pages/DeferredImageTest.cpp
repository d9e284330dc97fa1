// Whole-window images of pages hidden at start wait for their first draw:
// the layout reads only their size, a first draw decodes them.

#include "pages/DeferredImage.h"
#include "pages/PageNames.h"
#include "tests/pages/PagesFixture.h"
#include "tests/support/HeadlessCanvas.h"
#include "toolkit/IBitmapControl.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace omnar::test {
namespace {

namespace fs = std::filesystem;
using namespace omnar::pages;

TEST(ReadPngSize, ReadsTheHeaderAndRefusesWhatIsNoPng) {
    const fs::path folder =
        fs::temp_directory_path() / ("omnar-png-size-" + std::to_string(getpid()));
    fs::create_directories(folder);
    // A PNG's first 24 bytes: signature, IHDR length and name, width 1920, height 1200.
    const std::string head("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\x07\x80\0\0\x04\xb0", 24);
    const struct {
        const char* name;
        std::string bytes;
        bool readable;
    } cases[] = {
        {"whole.png", head + std::string(40, '\0'), true},
        {"header-only.png", head, true},
        {"cut.png", head.substr(0, 20), false},
        {"text.png", std::string("not an image at all, only text"), false},
        {"other-chunk.png", head.substr(0, 12) + "IDAT" + head.substr(16), false},
        {"zero-width.png", head.substr(0, 16) + std::string(4, '\0') + head.substr(20), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::ofstream(folder / c.name, std::ios::binary) << c.bytes;
        const auto size = ReadPngSize((folder / c.name).c_str());
        ASSERT_EQ(size.has_value(), c.readable);
        if (size) {
            EXPECT_EQ(size->width, 1920);
            EXPECT_EQ(size->height, 1200);
        }
    }
    EXPECT_FALSE(ReadPngSize((folder / "missing.png").c_str()));
    fs::remove_all(folder);
}

class DeferredImageFixture : public PagesFixture {
protected:
    DeferredImageFixture() {
        editor->SetMakeGraphicsFunc([this] {
            return std::make_unique<vx::test::AttachingHeadlessCanvas>(*editor, 1920, 1200, 1.f);
        });
        editor->OpenEditor(nullptr);
    }
    vx::test::AttachingHeadlessCanvas& Headless() {
        return static_cast<vx::test::AttachingHeadlessCanvas&>(*editor->GetGraphics());
    }
    const vx::ui::IBitmapControl* Background(const char* group) {
        const vx::ui::IBitmapControl* found = nullptr;
        Headless().ForEachControlInGroup(group, [&](vx::ui::IControl* c) {
            if (auto* image = dynamic_cast<const DeferredImageControl*>(c); image && !found)
                found = image;
        });
        return found;
    }
};

TEST_F(DeferredImageFixture, HiddenPagesDecodeTheirImageOnlyWhenFirstShown) {
    for (const char* group : {group::kAbout, group::kGlobalSettings, group::kMidiCC,
                              group::kMidiProgram, group::kFirmwareBackground}) {
        SCOPED_TRACE(group);
        const vx::ui::IBitmapControl* image = Background(group);
        ASSERT_NE(image, nullptr);
        EXPECT_FALSE(image->GetBitmap().IsValid());
        EXPECT_EQ(image->GetRECT(), vx::ui::IRECT(0, 0, 1920, 1200));
    }
    const auto* red = dynamic_cast<const vx::ui::IBitmapControl*>(
        Headless().FindControlByTag(tag::kRedBackground));
    ASSERT_NE(red, nullptr);
    EXPECT_FALSE(red->GetBitmap().IsValid());

    Headless().MarkAllControlsDirty();
    ASSERT_TRUE(Headless().DrawFrame());
    const std::vector<unsigned char> panel = Headless().LastFrame();

    Headless().ForEachControlInGroup(group::kAbout, [](vx::ui::IControl* c) { c->Hide(false); });
    Headless().MarkAllControlsDirty();
    ASSERT_TRUE(Headless().DrawFrame());
    const vx::ui::IBitmapControl* about = Background(group::kAbout);
    ASSERT_TRUE(about->GetBitmap().IsValid());
    EXPECT_EQ(about->GetBitmap().W, 1920);
    EXPECT_EQ(about->GetBitmap().H, 1200);
    EXPECT_NE(Headless().LastFrame(), panel); // the page covers the panel
    // Pages still hidden have decoded nothing.
    EXPECT_FALSE(Background(group::kGlobalSettings)->GetBitmap().IsValid());
}

} // namespace
} // namespace omnar::test
