#include "winlayer/draw/CursorFile.h"

#include "platform/ak/Image.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

using namespace winlayer;
using Bytes = std::vector<unsigned char>;

void Put16(Bytes& b, unsigned v) {
    b.push_back(v & 0xFF);
    b.push_back((v >> 8) & 0xFF);
}
void Put32(Bytes& b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

// A one-image 32-bit cursor: opaque red pixels, hot spot (hx, hy).
Bytes MakeCursor(int side, int hx, int hy, int type = 2, int count = 1, int reserved = 0) {
    const uint32_t maskRow = ((side + 31) / 32) * 4;
    const uint32_t imageBytes = 40 + side * side * 4 + maskRow * side;
    Bytes b;
    Put16(b, 0);
    Put16(b, type);
    Put16(b, count);
    b.push_back(side);
    b.push_back(side);
    b.push_back(0);
    b.push_back(reserved);
    Put16(b, hx);
    Put16(b, hy);
    Put32(b, imageBytes);
    Put32(b, 22);
    Put32(b, 40);
    Put32(b, side);
    Put32(b, side * 2);
    Put16(b, 1);
    Put16(b, 32);
    for (int i = 0; i < 6; ++i)
        Put32(b, 0);
    for (int i = 0; i < side * side; ++i)
        Put32(b, 0xFFFF0000);
    b.insert(b.end(), maskRow * side, 0);
    return b;
}

TEST(CursorFileTest, RewritesOneImageCursorsAsIcons) {
    const Bytes cur = MakeCursor(16, 3, 12);
    const auto icon = CursorToIcon(cur);
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->hotX, 3);
    EXPECT_EQ(icon->hotY, 12);
    ASSERT_EQ(icon->ico.size(), cur.size());
    EXPECT_EQ(icon->ico[2], 1);  // type icon
    EXPECT_EQ(icon->ico[10], 1); // planes
    EXPECT_EQ(icon->ico[12], 0); // bit count
    EXPECT_TRUE(std::equal(cur.begin() + 14, cur.end(), icon->ico.begin() + 14));
    ak::Ref<ak::Image> image = ak::Image::FromData(icon->ico.data(), icon->ico.size());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->PixelWidth(), 16);
    EXPECT_EQ(image->PixelAt(5, 5), 0xFFFF0000u);
}

TEST(CursorFileTest, RefusesWhatIsNoOneImageCursor) {
    struct Case {
        const char* name;
        Bytes bytes;
    };
    Bytes truncatedHeader = MakeCursor(16, 0, 0);
    truncatedHeader.resize(21);
    Bytes headerOnly = MakeCursor(16, 0, 0);
    headerOnly.resize(22);
    // The image offset (bytes 18..21) near 2 GB in a file of a few hundred bytes.
    Bytes farOffset = MakeCursor(16, 0, 0);
    farOffset[18] = farOffset[19] = farOffset[20] = 0xFF;
    farOffset[21] = 0x7F;
    // A colour table of 0x40FF0000 entries claimed by the bitmap header.
    Bytes hugePalette = MakeCursor(16, 0, 0);
    hugePalette[22 + 34] = 0xFF;
    hugePalette[22 + 35] = 0x40;
    const Case cases[] = {
        {"icon header", MakeCursor(16, 1, 1, 1)},
        {"two images", MakeCursor(16, 1, 1, 2, 2)},
        {"reserved byte set", MakeCursor(16, 1, 1, 2, 1, 7)},
        {"shorter than header and entry", truncatedHeader},
        {"nothing after the entry", headerOnly},
        {"image offset past the end", farOffset},
        {"colour table past the end", hugePalette},
        {"empty", {}},
        {"png",
         {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 0, 0, 1, 0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_FALSE(CursorToIcon(c.bytes)) << c.name;

    // A colour table the file holds is the reader's to judge.
    Bytes smallPalette = MakeCursor(16, 0, 0);
    smallPalette[22 + 32] = 2;
    EXPECT_TRUE(CursorToIcon(smallPalette));
}

TEST(CursorFileTest, TruncatedPixelsAreTheReadersToJudge) {
    for (const size_t keep : {size_t(30), size_t(62), size_t(600)}) {
        Bytes cur = MakeCursor(16, 2, 2);
        cur.resize(keep);
        const auto icon = CursorToIcon(cur);
        ASSERT_TRUE(icon) << keep; // the header is sound
        // Whatever the reader makes of the rest, it stays inside the bytes.
        if (ak::Ref<ak::Image> image = ak::Image::FromData(icon->ico.data(), icon->ico.size())) {
            EXPECT_EQ(image->PixelWidth(), 16) << keep;
        }
    }
}

} // namespace
