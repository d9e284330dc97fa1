#include "tests/platform/mtl/MtlTestKit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using mtl_test::counting_stencil;
using mtl_test::Kit;
using mtl_test::Vertex;

namespace {

Vertex at(float x, float y) {
    return {x, y, 1, 1, 1, 1};
}

void add_quad(std::vector<Vertex>& v, float x0, float y0, float x1, float y1) {
    for (const Vertex& p : {at(x0, y0), at(x1, y0), at(x1, y1), at(x0, y0), at(x1, y1), at(x0, y1)})
        v.push_back(p);
}

// Draws triangles counting coverage into a stencil texture.
std::vector<unsigned char> coverage(Kit& kit, const std::vector<Vertex>& v, int w, int h,
                                    mtl::PrimitiveType type = mtl::PrimitiveTypeTriangle,
                                    mtl::CullMode cull = mtl::CullModeNone) {
    auto stencil = kit.target(mtl::PixelFormatStencil8, w, h);
    auto pipeline = kit.pipeline(nullptr, mtl_test::replace(mtl::PixelFormatInvalid));
    auto state = kit.device->newDepthStencilState(counting_stencil());
    kit.draw(nullptr, stencil, [&](mtl::RenderCommandEncoder& e) {
        e.setRenderPipelineState(pipeline);
        e.setDepthStencilState(state);
        e.setCullMode(cull);
        e.setFrontFacingWinding(mtl::WindingCounterClockwise);
        e.setVertexBuffer(kit.vertices(v), 0, 0);
        e.drawPrimitives(type, 0, v.size());
    });
    return mtl_test::bytes_of(*stencil);
}

TEST(MtlRaster, AdjoiningTrianglesCoverEachPixelOnce) {
    Kit kit;
    // Edges on pixel centres, between them and on odd fractions.
    const float xs[] = {0, 2.5f, 5.0f, 7.3f, 11.75f, 16};
    const float ys[] = {0, 3.5f, 4.0f, 9.125f, 16};
    std::vector<Vertex> v;
    for (int i = 0; i + 1 < 6; ++i)
        for (int j = 0; j + 1 < 5; ++j)
            add_quad(v, xs[i], ys[j], xs[i + 1], ys[j + 1]);
    const auto counts = coverage(kit, v, 16, 16);
    for (size_t i = 0; i < counts.size(); ++i)
        ASSERT_EQ(counts[i], 1) << "pixel " << i % 16 << "," << i / 16;
}

TEST(MtlRaster, FanOverConvexPolygonLeavesStencilOne) {
    Kit kit;
    std::vector<Vertex> v;
    const float cx = 16.3f, cy = 15.7f, r = 12.2f;
    for (int i = 1; i + 1 < 12; ++i)
        for (int k : {0, i, i + 1}) {
            const float a = float(k) * 6.2831853f / 12.0f;
            v.push_back(at(cx + r * std::cos(a), cy + r * std::sin(a)));
        }
    const auto counts = coverage(kit, v, 32, 32);
    int covered = 0;
    for (unsigned char c : counts) {
        ASSERT_LE(c, 1);
        covered += c;
    }
    EXPECT_GT(covered, 300); // about π·12² pixels
}

TEST(MtlRaster, StripCullingFollowsAlternatingWinding) {
    Kit kit;
    // Counter-clockwise on screen (y down) as a strip: both triangles front.
    const std::vector<Vertex> front = {at(0, 8), at(8, 8), at(0, 0), at(8, 0)};
    const std::vector<Vertex> back = {at(0, 0), at(8, 0), at(0, 8), at(8, 8)};
    const struct {
        const char* name;
        const std::vector<Vertex>& strip;
        mtl::CullMode cull;
        int expected;
    } cases[] = {{"front kept", front, mtl::CullModeBack, 64},
                 {"front culled", front, mtl::CullModeFront, 0},
                 {"back culled", back, mtl::CullModeBack, 0},
                 {"back kept", back, mtl::CullModeFront, 64}};
    for (const auto& c : cases) {
        const auto counts = coverage(kit, c.strip, 8, 8, mtl::PrimitiveTypeTriangleStrip, c.cull);
        int covered = 0;
        for (unsigned char n : counts)
            covered += n;
        EXPECT_EQ(covered, c.expected) << c.name;
    }
}

TEST(MtlRaster, DegenerateTrianglesAndShortDrawsDrawNothing) {
    Kit kit;
    const std::vector<Vertex> v = {at(0, 0), at(4, 4), at(8, 8), at(1, 1), at(5, 5)};
    const auto counts = coverage(kit, v, 8, 8, mtl::PrimitiveTypeTriangleStrip);
    for (unsigned char c : counts)
        EXPECT_EQ(c, 0);
}

TEST(MtlRaster, DrawsReadingPastTheirBuffersAreSkipped) {
    Kit kit;
    auto color = kit.target(mtl::PixelFormatRGBA8Unorm, 4, 4);
    auto pipeline = kit.pipeline("solid", mtl_test::replace(mtl::PixelFormatRGBA8Unorm));
    std::vector<Vertex> v;
    add_quad(v, 0, 0, 4, 4);
    const uint32_t indices[] = {0, 1, 2, 3, 4, 99};
    auto indexBuffer = kit.device->newBuffer(indices, sizeof(indices), 0);
    kit.draw(color, nullptr, [&](mtl::RenderCommandEncoder& e) {
        e.setRenderPipelineState(pipeline);
        e.setVertexBuffer(kit.vertices(v), 0, 0);
        e.drawPrimitives(mtl::PrimitiveTypeTriangle, 3, 6); // vertices 3..8 of 6
        e.drawIndexedPrimitives(mtl::PrimitiveTypeTriangle, 6, mtl::IndexTypeUInt32, indexBuffer,
                                0);
        e.drawIndexedPrimitives(mtl::PrimitiveTypeTriangle, 3, mtl::IndexTypeUInt32, indexBuffer,
                                16);
    });
    EXPECT_EQ(kit.device->skippedDraws(), 3);
    for (unsigned char b : mtl_test::bytes_of(*color))
        EXPECT_EQ(b, 0);
}

TEST(MtlRaster, DiscardedFragmentsChangeNeitherColourNorStencil) {
    Kit kit;
    auto color = kit.target(mtl::PixelFormatRGBA8Unorm, 4, 2);
    auto stencil = kit.target(mtl::PixelFormatStencil8, 4, 2);
    auto pipeline = kit.pipeline("oddDiscard", mtl_test::replace(mtl::PixelFormatRGBA8Unorm));
    auto state = kit.device->newDepthStencilState(counting_stencil());
    std::vector<Vertex> v;
    add_quad(v, 0, 0, 4, 2);
    kit.draw(color, stencil, [&](mtl::RenderCommandEncoder& e) {
        e.setRenderPipelineState(pipeline);
        e.setDepthStencilState(state);
        e.setVertexBuffer(kit.vertices(v), 0, 0);
        e.drawPrimitives(mtl::PrimitiveTypeTriangle, 0, 6);
    });
    const auto pixels = mtl_test::bytes_of(*color);
    const auto counts = mtl_test::bytes_of(*stencil);
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(counts[x], x % 2 ? 0 : 1) << x;
        EXPECT_EQ(pixels[x * 4], x % 2 ? 0 : 255) << x;
    }
}

TEST(MtlRaster, ScissorAndViewportClipTheTarget) {
    Kit kit;
    auto stencil = kit.target(mtl::PixelFormatStencil8, 8, 8);
    auto pipeline = kit.pipeline(nullptr, mtl_test::replace(mtl::PixelFormatInvalid));
    auto state = kit.device->newDepthStencilState(counting_stencil());
    std::vector<Vertex> v;
    add_quad(v, -100, -100, 100, 100);
    kit.draw(nullptr, stencil, [&](mtl::RenderCommandEncoder& e) {
        e.setRenderPipelineState(pipeline);
        e.setDepthStencilState(state);
        e.setViewport({0, 0, 6, 8, 0, 1});
        e.setScissorRect({2, 1, 100, 3});
        e.setVertexBuffer(kit.vertices(v), 0, 0);
        e.drawPrimitives(mtl::PrimitiveTypeTriangle, 0, 6);
    });
    const auto counts = mtl_test::bytes_of(*stencil);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(counts[y * 8 + x], (x >= 2 && x < 6 && y >= 1 && y < 4) ? 1 : 0)
                << x << "," << y;
}

TEST(MtlRaster, SpanPathMatchesReferencePathOnRandomScenes) {
    for (unsigned seed = 1; seed <= 6; ++seed) {
        Kit kit;
        kit.device->setRasterPath(mtl::RasterPath::Spans);
        const auto spans = mtl_test::random_scene(kit, seed);
        kit.device->setRasterPath(mtl::RasterPath::Reference);
        const auto reference = mtl_test::random_scene(kit, seed);
        EXPECT_EQ(spans, reference) << "seed " << seed;
    }
}

} // namespace
