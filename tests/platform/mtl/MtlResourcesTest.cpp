#include "tests/platform/mtl/MtlTestKit.h"

#include <gtest/gtest.h>

#include <chrono>

using mtl_test::Kit;

namespace {

TEST(MtlTexture, SidesOutsideTheLimitMakeNoTexture) {
    Kit kit;
    const struct {
        size_t w, h;
        bool made;
    } cases[] = {{0, 4, false},     {4, 0, false}, {16385, 1, false},
                 {1, 16385, false}, {1, 1, true},  {16384, 1, true}};
    for (const auto& c : cases) {
        auto d = mtl::TextureDescriptor::texture2D(mtl::PixelFormatR8Unorm, c.w, c.h, false);
        EXPECT_EQ(kit.device->newTexture(d) != nullptr, c.made) << c.w << "x" << c.h;
    }
}

TEST(MtlTexture, StartsZeroedAndCopiesRegionsInAndOut) {
    Kit kit;
    auto t = kit.target(mtl::PixelFormatRGBA8Unorm, 3, 2);
    EXPECT_EQ(mtl_test::bytes_of(*t), std::vector<unsigned char>(24, 0));
    const unsigned char pixel[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_TRUE(t->replaceRegion(mtl::Region::make2D(1, 1, 2, 1), 0, pixel, 8));
    unsigned char out[8] = {};
    EXPECT_TRUE(t->getBytes(out, 8, mtl::Region::make2D(1, 1, 2, 1), 0));
    EXPECT_EQ(std::vector<unsigned char>(out, out + 8),
              std::vector<unsigned char>(pixel, pixel + 8));
    const mtl::Region outside[] = {mtl::Region::make2D(2, 0, 2, 1), mtl::Region::make2D(0, 2, 1, 1),
                                   mtl::Region::make2D(size_t(-1), 0, 2, 1)};
    for (const auto& r : outside) {
        EXPECT_FALSE(t->replaceRegion(r, 0, pixel, 8));
        EXPECT_FALSE(t->getBytes(out, 8, r, 0));
    }
    EXPECT_FALSE(t->replaceRegion(mtl::Region::make2D(0, 0, 1, 1), 1, pixel, 4)); // level 1
}

TEST(MtlTexture, SamplingFiltersAndAddressModes) {
    Kit kit;
    auto t = kit.target(mtl::PixelFormatR8Unorm, 2, 1);
    const unsigned char texels[2] = {0, 255};
    t->replaceRegion(mtl::Region::make2D(0, 0, 2, 1), 0, texels, 2);
    mtl::SamplerDescriptor nearest, linear, repeat;
    linear.minFilter = linear.magFilter = mtl::SamplerMinMagFilterLinear;
    repeat.sAddressMode = mtl::SamplerAddressModeRepeat;
    const mtl::SamplerState n(nearest), l(linear), r(repeat);
    float c[4];
    mtl::sample(t.get(), &n, 0.74f, 0.5f, c);
    EXPECT_EQ(c[0], 1.0f);
    EXPECT_EQ(c[3], 1.0f); // R8 reads as (r, 0, 0, 1)
    mtl::sample(t.get(), &l, 0.5f, 0.5f, c);
    EXPECT_FLOAT_EQ(c[0], 0.5f);
    mtl::sample(t.get(), &l, 0.25f, 0.5f, c); // a texel centre
    EXPECT_EQ(c[0], 0.0f);
    mtl::sample(t.get(), &r, 1.3f, 0.5f, c);
    EXPECT_EQ(c[0], 0.0f);
    mtl::sample(t.get(), &n, 1.3f, 0.5f, c); // clamped to the edge
    EXPECT_EQ(c[0], 1.0f);
    mtl::sample(nullptr, &n, 0.5f, 0.5f, c);
    EXPECT_EQ(c[3], 0.0f);
}

TEST(MtlLibrary, OnlyTheProjectBlobWithKnownNamesLoads) {
    Kit kit;
    const std::string unknown = std::string("MTLBsolid") + '\0' + "noSuchShader" + '\0';
    const struct {
        std::string data;
        bool loads;
    } cases[] = {{"", false},
                 {"MTL", false},
                 {"ABCDsolid", false},
                 {unknown, false},
                 {std::string("MTLBsolid", 9), false}, // unterminated name
                 {std::string("MTLBsolid\0", 10), true}};
    for (const auto& c : cases) {
        std::string error;
        auto library = kit.device->newLibraryWithData(c.data.data(), c.data.size(), error);
        EXPECT_EQ(library != nullptr, c.loads) << c.data.size();
        EXPECT_EQ(error.empty(), c.loads) << error;
    }
}

TEST(MtlPipeline, NeedsAVertexFunctionAndARenderableFormat) {
    Kit kit;
    mtl::RenderPipelineDescriptor d;
    std::string error;
    EXPECT_FALSE(kit.device->newRenderPipelineState(d, error));
    EXPECT_FALSE(error.empty());
    d.vertexFunction = kit.library->newFunction("testPixels");
    d.colorAttachment0.pixelFormat = mtl::PixelFormatStencil8;
    EXPECT_FALSE(kit.device->newRenderPipelineState(d, error));
    d.colorAttachment0.pixelFormat = mtl::PixelFormatBGRA8Unorm;
    EXPECT_TRUE(kit.device->newRenderPipelineState(d, error));
    EXPECT_EQ(kit.device->pipelinesMade(), 1);
}

TEST(MtlLayer, DrawablesAreThreeZeroedTexturesHandedOutInTurn) {
    Kit kit;
    mtl::MetalLayer layer;
    layer.setDevice(kit.device);
    EXPECT_FALSE(layer.nextDrawable()); // no size yet
    layer.drawableSize = {4, 2, 1};
    std::vector<std::shared_ptr<mtl::Drawable>> held;
    for (int i = 0; i < mtl::MetalLayer::kDrawableCount; ++i) {
        held.push_back(layer.nextDrawable());
        ASSERT_TRUE(held.back());
        EXPECT_EQ(held.back()->texture()->pixelFormat(), mtl::PixelFormatBGRA8Unorm);
        held.back()->texture()->pixels()[0] = 7;
    }
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(layer.nextDrawable()); // all busy: waits a bounded time
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900));
    held.pop_back();
    auto again = layer.nextDrawable();
    ASSERT_TRUE(again);
    EXPECT_EQ(again->texture()->pixels()[0], 0);
    layer.withholdDrawables(true);
    held.clear();
    EXPECT_FALSE(layer.nextDrawable());
}

TEST(MtlLayer, PresentingHandsTheFrameToThePresenterAfterItsPass) {
    Kit kit;
    mtl::MetalLayer layer;
    layer.setDevice(kit.device);
    auto presenter = std::make_shared<mtl::HeadlessPresenter>();
    layer.setPresenter(presenter);
    layer.drawableSize = {2, 1, 1};
    auto drawable = layer.nextDrawable();
    auto buffer = kit.queue->commandBuffer();
    mtl::RenderPassDescriptor pass;
    pass.colorAttachment0.texture = drawable->texture();
    pass.colorAttachment0.loadAction = mtl::LoadActionClear;
    pass.colorAttachment0.clearColor = {0.0, 0.5, 1.0, 1.0};
    buffer->renderCommandEncoder(pass)->endEncoding();
    buffer->presentDrawable(drawable);
    drawable.reset();
    buffer->commit();
    buffer->waitUntilCompleted();
    int w = 0, h = 0;
    const auto frame = presenter->lastFrame(&w, &h);
    EXPECT_EQ(presenter->framesPresented(), 1);
    EXPECT_EQ(w, 2);
    EXPECT_EQ(frame, (std::vector<unsigned char>{255, 128, 0, 255, 255, 128, 0, 255}));
}

} // namespace
