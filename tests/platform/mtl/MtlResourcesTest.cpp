#include "tests/platform/mtl/MtlTestKit.h"

#include "platform/mtl/MtlSampler.h"

#include <gtest/gtest.h>

#include <bit>
#include <chrono>
#include <cmath>
#include <limits>
#include <random>
#include <string>

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

struct SampleRun {
    std::string name;
    std::vector<float> u, v;
};

// Runs of coordinates over a 7×5 texture: whole rows at texel centres (the
// 1:1 case), rows reaching past the edges, centres nudged by a rounding
// step, a scattered grid, and values no texture has.
std::vector<SampleRun> sample_runs() {
    std::vector<SampleRun> runs;
    const auto centre = [](int i, int n) { return (static_cast<float>(i) + 0.5f) / n; };
    for (int y = -1; y < 6; ++y) {
        SampleRun row{"row " + std::to_string(y), {}, {}};
        SampleRun wide{"wide row " + std::to_string(y), {}, {}};
        SampleRun nudged{"nudged row " + std::to_string(y), {}, {}};
        for (int x = 0; x < 7; ++x) {
            row.u.push_back(centre(x, 7));
            row.v.push_back(centre(y, 5));
            nudged.u.push_back(x % 3 == 1 ? std::nextafter(centre(x, 7), 0.0f) : centre(x, 7));
            nudged.v.push_back(x == 0 ? std::nextafter(centre(y, 5), 1.0f) : centre(y, 5));
        }
        for (int x = -2; x < 10; ++x) {
            wide.u.push_back(centre(x, 7));
            wide.v.push_back(centre(y, 5));
        }
        runs.push_back(row);
        runs.push_back(wide);
        runs.push_back(nudged);
    }
    SampleRun grid{"grid", {}, {}};
    for (int y = -2; y < 8; ++y)
        for (int x = -3; x < 9; ++x) {
            grid.u.push_back(x * 0.173f);
            grid.v.push_back(y * 0.291f);
        }
    runs.push_back(grid);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    runs.push_back({"odd values", {nan, 0.5f, 3e9f, -3e9f, 0.5f}, {0.5f, nan, 0.5f, 0.5f, 3e9f}});
    return runs;
}

// Span sampling against sample(), pixel by pixel: centred and off-centre
// coordinates, the edges and beyond them, odd sizes, every format and filter.
TEST(MtlTexture, SpanSamplingMatchesSingleSamples) {
    Kit kit;
    std::mt19937 random(3);
    std::uniform_int_distribution<int> byte(0, 255);
    for (mtl::PixelFormat format :
         {mtl::PixelFormatR8Unorm, mtl::PixelFormatRGBA8Unorm, mtl::PixelFormatBGRA8Unorm}) {
        auto t = kit.target(format, 7, 5);
        std::vector<unsigned char> texels(7 * 5 * mtl::bytes_per_pixel(format));
        for (auto& b : texels)
            b = static_cast<unsigned char>(byte(random));
        t->replaceRegion(mtl::Region::make2D(0, 0, 7, 5), 0, texels.data(),
                         7 * mtl::bytes_per_pixel(format));
        for (int mode = 0; mode < 4; ++mode) {
            mtl::SamplerDescriptor d;
            d.minFilter = d.magFilter =
                mode % 2 ? mtl::SamplerMinMagFilterLinear : mtl::SamplerMinMagFilterNearest;
            d.sAddressMode =
                mode >= 2 ? mtl::SamplerAddressModeRepeat : mtl::SamplerAddressModeClampToEdge;
            const mtl::SamplerState sampler(d);
            const mtl::TextureView view = mtl::TextureView::of(t.get(), &sampler);
            for (const SampleRun& run : sample_runs()) {
                const int count = static_cast<int>(run.u.size());
                float r[mtl::kMaxSpan], g[mtl::kMaxSpan], b[mtl::kMaxSpan], a[mtl::kMaxSpan];
                mtl::sample_span(view, run.u.data(), run.v.data(), count, {r, g, b, a});
                for (int i = 0; i < count; ++i) {
                    float c[4];
                    mtl::sample(view, run.u[i], run.v[i], c);
                    const float got[4] = {r[i], g[i], b[i], a[i]};
                    for (int k = 0; k < 4; ++k)
                        ASSERT_EQ(std::bit_cast<uint32_t>(got[k]), std::bit_cast<uint32_t>(c[k]))
                            << "format " << format << ", mode " << mode << ", run " << run.name
                            << ", sample " << i << ", channel " << k;
                }
            }
        }
    }
    float r[1], g[1], b[1], a[1];
    const float half = 0.5f;
    mtl::sample_span(mtl::TextureView{}, &half, &half, 1, {r, g, b, a});
    EXPECT_EQ(a[0], 0.0f); // nothing bound reads as zero
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
    // A drawer that presents only what it rewrites keeps the old pixels.
    again->texture()->pixels()[0] = 9;
    again.reset();
    layer.clearsDrawables = false;
    auto kept = layer.nextDrawable();
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->texture()->pixels()[0], 9);
    kept.reset();
    layer.withholdDrawables(true);
    held.clear();
    EXPECT_FALSE(layer.nextDrawable());
}

// Presenters take only the damage a frame names, once they hold a frame of
// its size; a damage reaching past the frame is cut to it.
TEST(MtlLayer, PresentersKeepTheirFrameAndTakeOnlyTheDamage) {
    mtl::HeadlessPresenter presenter;
    const std::vector<unsigned char> ones(4 * 3 * 4, 1), twos(4 * 3 * 4, 2);
    presenter.present(ones.data(), 4, 3, 16, {1, 1, 1, 1}); // the first frame: whole
    EXPECT_EQ(presenter.lastDamage().width, 4);
    presenter.present(twos.data(), 4, 3, 16, {2, 1, 9, 1});
    const mtl::PixelRect damage = presenter.lastDamage();
    EXPECT_EQ(damage.x, 2);
    EXPECT_EQ(damage.width, 2);
    EXPECT_EQ(damage.height, 1);
    const auto frame = presenter.lastFrame();
    const auto at = [&](int x, int y) { return frame[(size_t(y) * 4 + size_t(x)) * 4]; };
    EXPECT_EQ(at(1, 1), 1);
    EXPECT_EQ(at(2, 1), 2);
    EXPECT_EQ(at(3, 1), 2);
    EXPECT_EQ(at(3, 2), 1);
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
