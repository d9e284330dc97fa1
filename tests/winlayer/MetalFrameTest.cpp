// The refresh list, sizes, gravity, texture reuse and pixel work of Metal
// window views, headless.
#include "winlayer/metal/MetalFrame.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

using namespace winlayer;

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(NeedRefreshListTest, UnionSingleListingAndRemoval) {
    NeedRefreshList list;
    int a = 0, b = 0;
    const RECT first{0, 0, 10, 10}, second{5, 5, 20, 30}, empty{4, 4, 4, 9};
    list.Add(&a, &first, false);
    list.Add(&a, &second, false);
    list.Add(&a, &empty, false);
    EXPECT_EQ(list.Size(), 1u);
    EXPECT_TRUE(SameRect(*list.AreaOf(&a), RECT{0, 0, 20, 30}));
    list.Add(&b, &empty, false); // nothing to show: not listed
    EXPECT_FALSE(list.Contains(&b));
    list.Add(&b, nullptr, false);
    EXPECT_EQ(list.AreaOf(&b)->right, 0x10000000);
    list.Remove(&a); // as hiding does: off the list, not drawn
    EXPECT_FALSE(list.Contains(&a));
    EXPECT_EQ(list.Size(), 1u);
}

TEST(NeedRefreshListTest, FlushDrawsVisibleNewestFirstOverASnapshot) {
    NeedRefreshList list;
    int views[4] = {};
    const RECT area{0, 0, 1, 1};
    for (int& view : views)
        list.Add(&view, &area, false);
    int shown = 0, hidden = 0;
    const std::map<const void*, const void*> windows = {
        {&views[0], &shown}, {&views[1], &hidden}, {&views[2], &shown}, {&views[3], &shown}};
    std::vector<const void*> drawn;
    list.Flush([&](const void* view) { return windows.at(view); },
               [&](const void* window) { return window == &shown; },
               [&](const void* view, RECT) {
                   drawn.push_back(view);
                   if (view == &views[3])
                       list.Remove(&views[0]); // a paint destroys another view
                   if (view == &views[2])
                       list.Add(&views[2], &area, false); // and one asks again
               });
    EXPECT_EQ(drawn, (std::vector<const void*>{&views[3], &views[2]}));
    EXPECT_TRUE(list.Contains(&views[1])); // its window is not visible
    EXPECT_TRUE(list.Contains(&views[2]));
    EXPECT_FALSE(list.Contains(&views[0]));
}

TEST(MetalFrameTest, DrawableSizes) {
    EXPECT_EQ(DrawableSize(10000, 10, true), (PixelSize{16384, 20}));
    EXPECT_EQ(DrawableSize(100, 50, false), (PixelSize{100, 50}));
    EXPECT_EQ(DrawableSize(0.5, 10, false), std::nullopt);
    EXPECT_EQ(DrawableSize(0.5, 10, true), (PixelSize{1, 20}));
    EXPECT_EQ(DrawableSize(10, 0, true), std::nullopt);
}

TEST(MetalFrameTest, GravityFollowsTheMovedEdge) {
    const FrameRect last{100, 100, 200, 200};
    EXPECT_EQ(UpdatedGravity(0, last, FrameRect{50, 100, 250, 200}), 1);  // left edge moved
    EXPECT_EQ(UpdatedGravity(1, last, FrameRect{100, 100, 250, 200}), 0); // right edge moved
    EXPECT_EQ(UpdatedGravity(0, last, FrameRect{100, 80, 200, 220}), 2);
    EXPECT_EQ(UpdatedGravity(3, last, FrameRect{50, 80, 200, 200}), 3); // moved, same size
    EXPECT_EQ(ContentsGravity(1, false), "topRight");
    EXPECT_EQ(ContentsGravity(0, true), "bottomLeft");
    EXPECT_EQ(ContentsGravity(3, true), "topRight");
    EXPECT_EQ(ContentsGravity(2, false), "bottomLeft");
}

TEST(MetalFrameTest, TextureReuse) {
    EXPECT_TRUE(KeepsTexture({104, 100}, {101, 100}));
    EXPECT_FALSE(KeepsTexture({100, 100}, {101, 100}));
    EXPECT_TRUE(KeepsTexture({208, 100}, {101, 100}));
    EXPECT_FALSE(KeepsTexture({212, 100}, {101, 100}));
}

TEST(MetalFrameTest, BlendAndDouble) {
    EXPECT_EQ(BlendOver(0xFF0000FF, 0x00FFFFFF), 0xFF0000FFu);
    EXPECT_EQ(BlendOver(0xFF0000FF, 0xFFFF0000), 0xFFFF0000u);
    // Half red over opaque blue: 128/255 of red, rounded.
    EXPECT_EQ(BlendOver(0xFF0000FF, 0x80FF0000), 0xFF80007Fu);
    const std::uint32_t source[] = {1, 2, 99, 3, 4, 99};
    EXPECT_EQ(DoublePixels(source, 2, 2, 3),
              (std::vector<std::uint32_t>{1, 1, 2, 2, 1, 1, 2, 2, 3, 3, 4, 4, 3, 3, 4, 4}));
}

struct RecordingUpload : PixelUploadTarget {
    bool open = false, retina = false;
    struct Call {
        int x, y, width, height, stride;
        bool retina;
        std::uint32_t first, last;
    };
    std::vector<Call> calls;
    bool FrameOpen() const override { return open; }
    bool FrameRetina() const override { return retina; }
    void Upload(const std::uint32_t* pixels, int x, int y, int width, int height, int stride,
                bool isRetina) override {
        calls.push_back({x, y, width, height, stride, isRetina, pixels[0],
                         pixels[static_cast<std::size_t>(width) * height - 1]});
    }
};

TEST(MetalFrameTest, FillsPickTheirBufferAndScale) {
    RecordingUpload target;
    EXPECT_EQ(MetalFill(&target, 0, 0, 64, 64, 7), FillBuffer::stack);
    EXPECT_EQ(MetalFill(&target, 0, 0, 65, 64, 7), FillBuffer::scratch);
    EXPECT_EQ(MetalFill(&target, 0, 0, 0, 64, 7), FillBuffer::none);
    EXPECT_EQ(MetalFill(nullptr, 0, 0, 5, 5, 7), FillBuffer::none);
    ASSERT_EQ(target.calls.size(), 2u);
    EXPECT_EQ(target.calls[1].last, 7u);

    target.open = target.retina = true;
    target.calls.clear();
    MetalFill(&target, 10, 20, 100, 100, 0xFF00FF00);
    ASSERT_EQ(target.calls.size(), 1u);
    const auto& call = target.calls[0];
    EXPECT_EQ(call.x, 20);
    EXPECT_EQ(call.y, 40);
    EXPECT_EQ(call.width, 200);
    EXPECT_EQ(call.height, 200);
    EXPECT_TRUE(call.retina);
    EXPECT_EQ(call.last, 0xFF00FF00u);

    // Huge sides are clipped to the largest drawable before any buffer grows.
    target.calls.clear();
    EXPECT_EQ(MetalFill(&target, 0, 0, 1 << 30, 1, 1), FillBuffer::scratch);
    EXPECT_EQ(target.calls[0].width, 16384);
}

} // namespace
