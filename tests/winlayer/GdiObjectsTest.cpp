#include "winlayer/BlitGeometry.h"
#include "winlayer/Gdi.h"
#include "winlayer/GdiRecords.h"
#include "winlayer/GdiText.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>

namespace {

using namespace winlayer;

HGDIOBJ Placeholder(int n) {
    return reinterpret_cast<HGDIOBJ>(std::uintptr_t(n));
}

struct MemoryContext {
    HDC hdc;
    MemoryContext(int w, int h) : hdc(WISP_CreateMemContext(nullptr, w, h)) {}
    ~MemoryContext() { WISP_DeleteGfxContext(hdc); }
};

TEST(GdiObjectsTest, SelectingSwapsSlotsAndPlaceholders) {
    MemoryContext context(8, 8);
    HDC hdc = context.hdc;
    ASSERT_TRUE(hdc);
    HPEN pen = CreatePen(0, 2, 0xFF0000);
    HBRUSH brush = CreateSolidBrush(0x00FF00);
    EXPECT_EQ(SelectObject(hdc, pen), Placeholder(1));
    EXPECT_EQ(SelectObject(hdc, brush), Placeholder(2));
    HPEN other = CreatePen(0, 0, 0);
    EXPECT_EQ(SelectObject(hdc, other), pen);
    EXPECT_EQ(SelectObject(hdc, Placeholder(1)), other);
    EXPECT_EQ(SelectObject(hdc, Placeholder(1)), Placeholder(1));
    EXPECT_EQ(SelectObject(hdc, Placeholder(2)), brush);
    // Not selectable: 0, 4, bitmaps, pooled records; no context.
    const uint32_t pixel = 0xFF000000;
    HBITMAP bitmap = CreateBitmap(1, 1, 1, 32, &pixel);
    EXPECT_EQ(SelectObject(hdc, nullptr), nullptr);
    EXPECT_EQ(SelectObject(hdc, Placeholder(4)), nullptr);
    EXPECT_EQ(SelectObject(hdc, bitmap), nullptr);
    EXPECT_EQ(SelectObject(nullptr, pen), nullptr);
    DeleteObject(other);
    EXPECT_EQ(SelectObject(hdc, other), nullptr);
    for (HGDIOBJ object : {pen, brush, bitmap})
        DeleteObject(object);
}

TEST(GdiObjectsTest, ClonesSurviveOneDeleteEach) {
    HBRUSH brush = CreateSolidBrush(0x123456);
    EXPECT_EQ(WISP_CloneGDIObject(brush), brush);
    DeleteObject(brush);
    EXPECT_TRUE(IsFillableBrush(brush));
    DeleteObject(brush);
    EXPECT_FALSE(IsFillableBrush(brush));
    EXPECT_EQ(WISP_CloneGDIObject(brush), nullptr);
    EXPECT_EQ(WISP_CloneGDIObject(Placeholder(2)), nullptr);
}

TEST(GdiObjectsTest, StockObjectsStay) {
    HGDIOBJ nullPen = GetStockObject(1);
    HGDIOBJ nullBrush = GetStockObject(2);
    ASSERT_TRUE(nullPen && nullBrush);
    EXPECT_EQ(GetStockObject(0), nullptr);
    EXPECT_EQ(GetStockObject(3), nullptr);
    DeleteObject(nullPen);
    DeleteObject(nullBrush);
    EXPECT_TRUE(IsObjectOfType(nullPen, kPen));
    EXPECT_FALSE(IsDrawablePen(nullPen));
    EXPECT_FALSE(IsFillableBrush(nullBrush));
    EXPECT_EQ(GetStockObject(1), nullPen);
}

TEST(GdiObjectsTest, PoolsRecycleUpToTheirLimit) {
    std::vector<HGDIOBJ> pens;
    for (int i = 0; i < 300; ++i)
        pens.push_back(CreatePen(0, 1, i));
    for (HGDIOBJ pen : pens)
        DeleteObject(pen);
    EXPECT_EQ(PooledObjectCount(), 200);
    HPEN reused = CreatePenAlpha(0, -5, 0x102030, 0.5f);
    EXPECT_EQ(PooledObjectCount(), 199);
    EXPECT_EQ(reused->width, 0);
    EXPECT_EQ(reused->colorValue, 0x102030);
    EXPECT_EQ(reused->extraRefs, 0);
    EXPECT_DOUBLE_EQ(reused->color.alpha, 0.5);
    DeleteObject(reused);
}

TEST(GdiObjectsTest, GetObjectDescribesBitmaps) {
    std::vector<uint32_t> pixels(6 * 3, 0xFF00FF00);
    HBITMAP bitmap = CreateBitmap(6, 3, 1, 32, pixels.data());
    BITMAP info;
    std::memset(&info, 0x5A, sizeof info);
    EXPECT_EQ(GetObject(bitmap, sizeof info, &info), 1);
    EXPECT_EQ(info.bmWidth, 6);
    EXPECT_EQ(info.bmHeight, 3);
    EXPECT_EQ(info.bmWidthBytes, 24);
    EXPECT_EQ(info.bmPlanes, 1);
    EXPECT_EQ(info.bmBitsPixel, 32);
    EXPECT_EQ(info.bmBits, nullptr);
    std::memset(&info, 0x5A, sizeof info);
    EXPECT_EQ(GetObject(bitmap, 8, &info), 1);
    EXPECT_EQ(info.bmWidth, 6);
    EXPECT_EQ(info.bmWidthBytes, 0x5A5A5A5A);
    std::memset(&info, 0x5A, sizeof info);
    HPEN pen = CreatePen(0, 1, 0);
    EXPECT_EQ(GetObject(pen, sizeof info, &info), 0);
    EXPECT_EQ(info.bmWidth, 0);
    EXPECT_EQ(GetObject(bitmap, 4, &info), 0);
    EXPECT_EQ(CreateBitmap(2, 2, 1, 24, pixels.data()), nullptr);
    DeleteObject(pen);
    DeleteObject(bitmap);
}

TEST(GdiObjectsTest, MemoryContextSizes) {
    struct Case {
        int w, h;
        bool made;
    };
    const Case cases[] = {
        {1, 1, true},          {640, 400, true},    {0, 10, false},
        {10, 0, false},        {-3, 5, false},      {5, -3, false},
        {65536, 65536, false}, {INT_MAX, 1, false}, {16384, 32767, false},
    };
    for (const Case& c : cases) {
        MemoryContext context(c.w, c.h);
        EXPECT_EQ(context.hdc != nullptr, c.made) << c.w << "x" << c.h;
        if (!context.hdc)
            continue;
        auto* pixels = static_cast<unsigned char*>(WISP_GetCtxFrameBuffer(context.hdc));
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(pixels) % 64, 0u);
        EXPECT_EQ(pixels[0], 0);
        EXPECT_EQ(GetTextColor(context.hdc), 0);
    }
    EXPECT_EQ(WISP_GetCtxFrameBuffer(nullptr), nullptr);
    EXPECT_EQ(GetTextColor(nullptr), -1);
}

TEST(GdiObjectsTest, DeletedContextsAreInvalid) {
    HDC hdc = WISP_CreateMemContext(nullptr, 4, 4);
    WISP_DeleteGfxContext(hdc);
    // Pooled: every call treats it as invalid.
    EXPECT_EQ(SelectObject(hdc, Placeholder(1)), nullptr);
    EXPECT_EQ(GetTextColor(hdc), -1);
    EXPECT_EQ(WISP_GetCtxGC(hdc), nullptr);
    EXPECT_FALSE(LineTo(hdc, 1, 1));
}

TEST(GdiObjectsTest, SystemColours) {
    // No desktop in this test: the light colours.
    const std::pair<int, int> cases[] = {{0, 0x606060}, {1, 0xE0E0E0}, {2, 0xE8E8E8}, {3, 0x000000},
                                         {4, 0xE8E8E8}, {5, 0x202020}, {6, 0x303030}, {7, 0xE8E8E8},
                                         {8, 0xFFF0C8}, {9, 0},        {-1, 0}};
    for (const auto& [index, colour] : cases)
        EXPECT_EQ(GetSysColor(index), colour) << index;
    EXPECT_TRUE(WISP_osx_is_dark_mode(1));
    EXPECT_FALSE(WISP_osx_is_dark_mode(0));
}

TEST(GdiObjectsTest, ImageListSlots) {
    const uint32_t pixel = 0xFF0000FF;
    HBITMAP a = CreateBitmap(1, 1, 1, 32, &pixel);
    HBITMAP b = CreateBitmap(2, 2, 1, 32, std::vector<uint32_t>(4, pixel).data());
    HIMAGELIST list = ImageList_CreateEx();
    EXPECT_EQ(ImageList_Add(list, a, nullptr), 0);
    EXPECT_EQ(ImageList_Add(list, b, nullptr), 1);
    EXPECT_EQ(ImageList_Add(list, a, nullptr), 2);
    EXPECT_EQ(ImageList_Add(nullptr, a, nullptr), -1);
    EXPECT_EQ(ImageList_Add(list, Placeholder(3), nullptr), -1);
    // Copies: the source can go.
    EXPECT_NE(GetNSImageFromHICON(WISP_ImageList_GetImage(list, 0)), GetNSImageFromHICON(a));
    EXPECT_EQ(ImageList_ReplaceIcon(list, 1, a), 1);
    EXPECT_EQ(GetNSImageFromHICON(WISP_ImageList_GetImage(list, 1)), GetNSImageFromHICON(a));
    EXPECT_EQ(ImageList_ReplaceIcon(list, 7, b), 3);
    EXPECT_EQ(ImageList_ReplaceIcon(list, -1, b), 4);
    EXPECT_EQ(ImageList_Remove(list, 9), FALSE);
    EXPECT_EQ(ImageList_Remove(list, 2), TRUE);
    // The slot stays, empty.
    EXPECT_EQ(ImageList_GetImageCount(list), 5);
    EXPECT_EQ(WISP_ImageList_GetImage(list, 2), nullptr);
    EXPECT_EQ(GetNSImageFromHICON(WISP_ImageList_GetImage(list, 2)), nullptr);
    EXPECT_EQ(ImageList_Remove(list, 2), TRUE);
    EXPECT_EQ(ImageList_Remove(list, -1), TRUE);
    EXPECT_EQ(ImageList_GetImageCount(list), 0);
    EXPECT_EQ(ImageList_Add(list, b, nullptr), 0);
    ImageList_Destroy(list);
    DeleteObject(a);
    DeleteObject(b);
}

TEST(GdiObjectsTest, IconsShareTheColourImage) {
    const uint32_t pixel = 0xFF102030;
    HBITMAP colour = CreateBitmap(1, 1, 1, 32, &pixel);
    ICONINFO info{TRUE, 0, 0, nullptr, colour};
    HICON icon = CreateIconIndirect(&info);
    ASSERT_TRUE(icon);
    EXPECT_EQ(GetNSImageFromHICON(icon), GetNSImageFromHICON(colour));
    info.fIcon = FALSE;
    EXPECT_EQ(CreateIconIndirect(&info), nullptr);
    info = {TRUE, 0, 0, nullptr, nullptr};
    EXPECT_EQ(CreateIconIndirect(&info), nullptr);
    DeleteObject(icon);
    DeleteObject(colour);
}

TEST(BlitGeometryTest, PlansStretchedCopies) {
    struct Case {
        const char* name;
        BlitRect destination, source;
        int bitmapW, bitmapH;
        std::optional<BlitPlan> expected;
    };
    const Case cases[] = {
        {"plain", {5, 6, 10, 10}, {0, 0, 10, 10}, 20, 20, BlitPlan{{5, 6, 10, 10}, {0, 0, 10, 10}}},
        {"negative origin moves and shortens",
         {0, 0, 100, 20},
         {-10, 0, 100, 20},
         100,
         20,
         BlitPlan{{10, 0, 90, 20}, {0, 0, 90, 20}}},
        {"negative origin scaled",
         {0, 0, 200, 10},
         {-10, -2, 100, 10},
         100,
         10,
         BlitPlan{{20, 2, 180, 8}, {0, 0, 90, 8}}},
        {"cut to the bitmap",
         {0, 0, 50, 50},
         {80, 0, 50, 50},
         100,
         100,
         BlitPlan{{0, 0, 20, 50}, {80, 0, 20, 50}}},
        {"cut and stretched",
         {0, 0, 100, 100},
         {80, 0, 50, 50},
         100,
         100,
         BlitPlan{{0, 0, 40, 100}, {80, 0, 20, 50}}},
        {"source outside", {0, 0, 10, 10}, {100, 0, 10, 10}, 100, 100, std::nullopt},
        {"source entirely left", {0, 0, 10, 10}, {-10, 0, 10, 10}, 100, 100, std::nullopt},
        {"zero source width", {0, 0, 10, 10}, {0, 0, 0, 10}, 100, 100, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlanStretchBlt(c.destination, c.source, c.bitmapW, c.bitmapH), c.expected)
            << c.name;
}

} // namespace
