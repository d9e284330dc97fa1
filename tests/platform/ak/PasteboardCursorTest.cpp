#include "platform/ak/Cursor.h"
#include "platform/ak/Pasteboard.h"
#include "platform/ak/Window.h"
#include "platform/ak/test/AkTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

namespace pb = ak::Pasteboard;

TEST(Pasteboard, RoundTripsOfTextFilesAndTypedData) {
    ASSERT_NE(ak::test::App(), nullptr);
    pb::SetText("Préset – 1");
    EXPECT_EQ(pb::Text(), "Préset – 1");

    const std::string preset("\x00\x01\xF7 raw", 6);
    pb::SetContents({{"application/x-omnar-preset", preset}, {pb::kTextType, "Preset 1"}});
    const auto types = pb::Types();
    ASSERT_FALSE(types.empty());
    EXPECT_EQ(types.front(), "application/x-omnar-preset");
    EXPECT_NE(std::find(types.begin(), types.end(), "UTF8_STRING"), types.end());
    EXPECT_EQ(pb::Data("application/x-omnar-preset"), preset);
    EXPECT_EQ(pb::Text(), "Preset 1");
    EXPECT_EQ(pb::Data("application/x-absent"), std::nullopt);

    pb::SetFilePaths({"/tmp/My Banks/a.bank", "/tmp/b%.bank"});
    EXPECT_EQ(pb::FilePaths(), (std::vector<std::string>{"/tmp/My Banks/a.bank", "/tmp/b%.bank"}));

    // Other people's contents: foreign URIs skipped, broken text mended.
    pb::SetContents({{pb::kFilesType, "https://example.com/x\r\nfile:///tmp/z\r\nmailto:a@b\r\n"}});
    EXPECT_EQ(pb::FilePaths(), std::vector<std::string>{"/tmp/z"});
    pb::SetContents({{pb::kTextType, "a\xFF"
                                     "b"}});
    EXPECT_EQ(pb::Text(), "a\xEF\xBF\xBD"
                          "b");

    pb::Clear();
    EXPECT_EQ(pb::Text(), std::nullopt);
    EXPECT_TRUE(pb::FilePaths().empty());
}

// The window system may refuse us the clipboard (a request stamped later than
// its clock); the setters then say so and the old contents stay.
TEST(Pasteboard, SettersAnswerWhetherTheClipboardTookTheContents) {
    ASSERT_NE(ak::test::App(), nullptr);
    auto window = ak::MakeRef<ak::Window>(ak::Rect{{0, 0}, {200, 100}}, ak::StyleMask::Titled);
    window->MakeKeyAndOrderFront();
    ASSERT_TRUE(ak::test::WaitUntilShown(*window));
    pb::Clear();
    bool text = true, files = true, typed = true;
    ak::test::RunDuringLateStampedEvent(*window, [&] {
        text = pb::SetText("refused");
        files = pb::SetFilePaths({"/tmp/refused.wav"});
        typed = pb::SetContents({{"application/x-omnar-preset", "x"}});
    });
    EXPECT_FALSE(text);
    EXPECT_FALSE(files);
    EXPECT_FALSE(typed);
    EXPECT_EQ(pb::Text(), std::nullopt);
    EXPECT_TRUE(pb::FilePaths().empty());

    EXPECT_TRUE(pb::SetText("taken"));
    EXPECT_EQ(pb::Text(), "taken");
    EXPECT_TRUE(pb::SetFilePaths({"/tmp/taken.wav"}));
    EXPECT_EQ(pb::FilePaths(), std::vector<std::string>{"/tmp/taken.wav"});
}

TEST(Cursor, ShapesImagesHidingAndAWarpReadBack) {
    ASSERT_NE(ak::test::App(), nullptr);
    auto window = ak::MakeRef<ak::Window>(ak::Rect{{0, 0}, {300, 200}}, ak::StyleMask::Titled);
    window->MakeKeyAndOrderFront();
    ASSERT_TRUE(ak::test::WaitUntilShown(*window));
    for (int shape = 0; shape <= static_cast<int>(ak::CursorShape::ClosedHand); ++shape) {
        auto cursor = ak::Cursor::WithShape(static_cast<ak::CursorShape>(shape));
        ASSERT_NE(cursor->NativeCursor(), nullptr) << ak::Cursor::ShapeName(ak::CursorShape(shape));
        cursor->Set();
        EXPECT_EQ(ak::Cursor::Current(), cursor.Get());
    }
    std::vector<uint32_t> pixels(16 * 16, 0xFF000000);
    auto image = ak::Image::FromPixels(pixels.data(), 16, 16);
    EXPECT_EQ(image->PixelAt(3, 3), 0xFF000000u);
    auto custom = ak::Cursor::FromImage(image.Get(), {40, -3}); // clamped into the image
    ASSERT_NE(custom->NativeCursor(), nullptr);
    custom->Set();
    ak::Cursor::Hide();
    EXPECT_TRUE(ak::Cursor::IsHidden());
    ak::Cursor::Unhide();
    EXPECT_FALSE(ak::Cursor::IsHidden());
    EXPECT_EQ(ak::Cursor::Current(), custom.Get());
    EXPECT_EQ(ak::test::CursorOfWindow(*window), custom->NativeCursor());

    // A window made after the cursor was set shows it too.
    auto later = ak::MakeRef<ak::Window>(ak::Rect{{320, 0}, {200, 100}}, ak::StyleMask::Titled);
    later->MakeKeyAndOrderFront();
    ASSERT_TRUE(ak::test::WaitUntilShown(*later));
    EXPECT_EQ(ak::test::CursorOfWindow(*later), custom->NativeCursor());
    later->Close();

    for (const ak::Point at : {ak::Point{300, 200}, ak::Point{12, 7}}) {
        ak::Cursor::Warp(at);
        EXPECT_TRUE(ak::test::PumpUntil([&] { return ak::Cursor::MouseLocation() == at; }))
            << at.x << "," << at.y;
    }
    window->Close();
    ak::test::WaitUntilServed();
}

} // namespace
