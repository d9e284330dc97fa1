#include "tests/render/support/MetalHarness.h"

#include "render/metal/MVGshaders.h"
#include "render/vg/VG.h"

#include <gtest/gtest.h>

#include <cstdio>

using render_test::MetalHarness;

namespace {

VGcolor rgba(float r, float g, float b, float a) {
    return vg_rgba_f(r, g, b, a);
}

class MetalRecording : public ::testing::Test {
protected:
    MetalHarness h;

    // The calls the renderer records for `draw`, read before the flush.
    std::vector<MVGcall> callsOf(const std::function<void(VGdrawContext*)>& draw) {
        std::vector<MVGcall> calls;
        VGrendererTable* table = vgmtl_renderer_table(h.ctx.get());
        const auto flush = table->renderFlush;
        static thread_local std::vector<MVGcall>* sink = nullptr;
        sink = &calls;
        table->renderFlush = [](void* uptr) {
            auto* r = static_cast<MVGcontext*>(uptr);
            sink->assign(r->buffers->calls.get(), r->buffers->calls.get() + r->buffers->ncalls);
            r->renderCancel();
        };
        vg_begin_frame(h.ctx.get(), 64, 64, 1);
        draw(h.ctx.get());
        vg_end_frame(h.ctx.get());
        table->renderFlush = flush;
        return calls;
    }
};

TEST_F(MetalRecording, ConvexPathIsOneConvexFillWithoutQuad) {
    const auto calls = callsOf([](VGdrawContext* c) {
        vg_begin_path(c);
        vg_rect(c, 4, 4, 20, 10);
        vg_fill_color(c, rgba(1, 0, 0, 1));
        vg_fill(c);
    });
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].type, MVG_CONVEXFILL);
    EXPECT_EQ(calls[0].triangleCount, 0);
    EXPECT_EQ(calls[0].indexCount, 6); // a quad's fan
}

TEST_F(MetalRecording, TwoPathsOrAConcavePathFillThroughTheStencilWithAQuad) {
    const std::function<void(VGdrawContext*)> scenes[] = {[](VGdrawContext* c) {
                                                              vg_begin_path(c);
                                                              vg_rect(c, 4, 4, 10, 10);
                                                              vg_rect(c, 30, 30, 10, 10);
                                                              vg_fill(c);
                                                          },
                                                          [](VGdrawContext* c) {
                                                              vg_begin_path(c);
                                                              vg_move_to(c, 4, 4);
                                                              vg_line_to(c, 40, 4);
                                                              vg_line_to(c, 20, 12);
                                                              vg_line_to(c, 40, 40);
                                                              vg_line_to(c, 4, 40);
                                                              vg_close_path(c);
                                                              vg_fill(c);
                                                          }};
    for (const auto& scene : scenes) {
        const auto calls = callsOf(scene);
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].type, MVG_FILL);
        ASSERT_EQ(calls[0].triangleCount, 4);
        const VGvertex* quad = h.renderer().cbuffers[0]->verts + calls[0].triangleOffset;
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(quad[i].u, 0.5f);
            EXPECT_EQ(quad[i].v, 1.0f);
        }
    }
}

TEST_F(MetalRecording, StrokeWithoutVerticesEncodesNothing) {
    VGpaint paint{};
    paint.xform[0] = paint.xform[3] = 1;
    paint.innerColor = paint.outerColor = rgba(1, 1, 1, 1);
    VGscissor scissor{{1, 0, 0, 1, 0, 0}, {-1, -1}};
    MVGcontext& r = h.renderer();
    r.renderViewport(64, 64, 1);
    VGpath path{};
    r.renderStroke(&paint, {VG_ONE, VG_ONE_MINUS_SRC_ALPHA, VG_ONE, VG_ONE_MINUS_SRC_ALPHA},
                   &scissor, 1, 1, &path, 1);
    ASSERT_EQ(r.buffers->ncalls, 1);
    EXPECT_EQ(r.buffers->calls[0].strokeCount, -2);
    r.renderFlush();
    EXPECT_EQ(h.device->skippedDraws(), 0);
}

TEST_F(MetalRecording, InvalidBlendFactorGivesSourceOver) {
    const MVGblend sourceOver{mtl::BlendFactorOne, mtl::BlendFactorOneMinusSourceAlpha,
                              mtl::BlendFactorOne, mtl::BlendFactorOneMinusSourceAlpha};
    EXPECT_EQ(MVGcontext::blendCompositeOperation({VG_ONE, VG_ONE_MINUS_SRC_ALPHA, 3, VG_ZERO}),
              sourceOver);
    const MVGblend all{mtl::BlendFactorSourceAlphaSaturated,
                       mtl::BlendFactorOneMinusDestinationAlpha, mtl::BlendFactorDestinationColor,
                       mtl::BlendFactorZero};
    EXPECT_EQ(MVGcontext::blendCompositeOperation(
                  {VG_SRC_ALPHA_SATURATE, VG_ONE_MINUS_DST_ALPHA, VG_DST_COLOR, VG_ZERO}),
              all);
}

TEST_F(MetalRecording, PaintNamingAMissingImageRecordsNothing) {
    VGpaint paint{};
    paint.xform[0] = paint.xform[3] = 1;
    paint.image = 99;
    VGscissor scissor{{1, 0, 0, 1, 0, 0}, {-1, -1}};
    const VGvertex verts[3] = {{0, 0, 0, 0}, {10, 0, 1, 0}, {0, 10, 0, 1}};
    MVGcontext& r = h.renderer();
    r.renderViewport(64, 64, 1);
    r.renderTriangles(&paint, {VG_ONE, VG_ZERO, VG_ONE, VG_ZERO}, &scissor, verts, 3, 1);
    EXPECT_EQ(r.buffers->ncalls, 0);
    r.renderCancel();
}

TEST_F(MetalRecording, CallsWhoseBuffersCannotGrowAreDropped) {
    h.device->setBufferLimit(1024); // smaller than the first vertex buffer
    const auto calls = callsOf([](VGdrawContext* c) {
        vg_begin_path(c);
        vg_rect(c, 4, 4, 20, 10);
        vg_fill(c);
        vg_stroke(c);
    });
    EXPECT_TRUE(calls.empty());
    h.device->setBufferLimit(size_t(1) << 31);
    EXPECT_EQ(callsOf([](VGdrawContext* c) {
                  vg_begin_path(c);
                  vg_rect(c, 4, 4, 20, 10);
                  vg_fill(c);
              }).size(),
              1u);
}

TEST(MetalBackend, BufferSetsFollowTheFlags) {
    const struct { int flags, sets; } cases[] = {{0, 1}, {0x1000, 2}, {0x2000, 3}, {0x3000, 3}};
    for (const auto& c : cases) {
        MetalHarness h(c.flags);
        ASSERT_TRUE(h.ctx);
        EXPECT_EQ(h.renderer().maxBuffers, c.sets) << c.flags;
        EXPECT_EQ(int(h.renderer().cbuffers.size()), c.sets);
    }
}

// A scissored draw over the whole frame: its rows and spans stop at the
// scissor's box, unless its blend changes pixels a zero source reaches
// (copy clears them), where every pixel of the geometry is still visited.
TEST(MetalBackend, ScissoredDrawsVisitOnlyTheScissorsPixels) {
    const struct {
        const char* name;
        int composite;
        bool fill, stroke;
        long most; // pixels at ratio 1
    } cases[] = {
        {"convex fill", VG_SOURCE_OVER, true, false, 2 * 16 * 16},
        {"stroke", VG_SOURCE_OVER, false, true, 8 * 16 * 16}, // its sides overlap
        {"stencil fill", VG_SOURCE_OVER, true, true, 4 * 16 * 16},
        {"destination out", VG_DESTINATION_OUT, true, false, 2 * 16 * 16},
        {"copy", VG_COPY, true, false, 64 * 64 * 2},
    };
    for (float ratio : {1.0f, 2.0f}) {
        for (const auto& c : cases) {
            MetalHarness h;
            const auto pixels = h.renderOffscreen(
                64, 64, ratio,
                [&](VGdrawContext* ctx) {
                    vg_scissor(ctx, 30, 30, 10, 10);
                    vg_composite_operation(ctx, c.composite);
                    vg_begin_path(ctx);
                    if (c.stroke && c.fill) { // two rectangles: a fill through the stencil
                        vg_rect(ctx, 0, 0, 64, 30);
                        vg_rect(ctx, 0, 30, 64, 34);
                    } else {
                        vg_rect(ctx, 0, 0, 64, 64);
                    }
                    vg_fill_color(ctx, rgba(1, 0, 0, 1));
                    vg_stroke_color(ctx, rgba(1, 0, 0, 1));
                    vg_set_stroke_width(ctx, 200);
                    if (c.fill)
                        vg_fill(ctx);
                    else
                        vg_stroke(ctx);
                },
                rgba(0, 0, 1, 1));
            const long visited = h.device->visitedPixels();
            const bool cleared = c.composite == VG_COPY;
            EXPECT_GT(visited, 0) << c.name;
            EXPECT_LE(visited, long(c.most * ratio * ratio)) << c.name << " at " << ratio;
            // Outside the scissor the frame is the clear colour, or nothing where copied.
            EXPECT_EQ(pixels[2], cleared ? 0 : 255) << c.name;
            EXPECT_EQ(pixels[3], cleared ? 0 : 255) << c.name;
        }
    }
}

TEST(MetalBackend, ClearColourIsStoredPremultiplied) {
    MetalHarness h;
    vgmtl_clear_with_color(h.ctx.get(), rgba(1, 0, 0, 0.5f));
    EXPECT_EQ(h.renderer().clearColor.red, 0.5);
    EXPECT_EQ(h.renderer().clearColor.green, 0.0);
    EXPECT_EQ(h.renderer().clearColor.alpha, 0.5);
    EXPECT_TRUE(h.renderer().clearBufferOnFlush);
}

TEST(MetalBackend, OffscreenTargetsAndTheirDeletion) {
    MetalHarness h;
    vgmtl_delete_offscreen(nullptr);
    MVGoffscreen* bad = vgmtl_create_offscreen(h.ctx.get(), 0, 10, 0);
    ASSERT_TRUE(bad);
    EXPECT_EQ(bad->image, 0);
    vgmtl_delete_offscreen(bad);
    MVGoffscreen* good = vgmtl_create_offscreen(h.ctx.get(), 8, 8, 0);
    EXPECT_GT(good->image, 0);
    EXPECT_EQ(h.renderer().findTexture(good->image)->flags, VG_IMAGE_PREMULTIPLIED);
    vgmtl_bind_offscreen(good);
    vgmtl_delete_offscreen(good); // bound: must not leave a dangling target
    EXPECT_EQ(vgmtl_bound_offscreen(), nullptr);
    EXPECT_EQ(vgmtl_target(), 1);
}

TEST(MetalBackend, FreedSlotsAreReusedWithNewIds) {
    MetalHarness h;
    MVGcontext& r = h.renderer();
    const int a = r.renderCreateTexture(VG_TEXTURE_RGBA, 4, 4, 0, nullptr);
    const int b = r.renderCreateTexture(VG_TEXTURE_ALPHA, 4, 4, 0, nullptr);
    const size_t slots = r.textures.size();
    EXPECT_EQ(r.renderDeleteTexture(a), 1);
    EXPECT_EQ(r.renderDeleteTexture(a), 0);
    const int c = r.renderCreateTexture(VG_TEXTURE_RGBA, 2, 2, 0, nullptr);
    EXPECT_GT(c, b);
    EXPECT_EQ(r.textures.size(), slots); // the freed slot was taken again
    EXPECT_EQ(r.renderCreateTexture(VG_TEXTURE_RGBA, 16385, 2, 0, nullptr), 0);
    EXPECT_EQ(r.renderCreateTexture(VG_TEXTURE_RGBA, 0, 2, 0, nullptr), 0);
    int w = 0, hgt = 0;
    EXPECT_EQ(r.renderGetTextureSize(c, &w, &hgt), 1);
    EXPECT_EQ(w, 2);
    EXPECT_EQ(r.renderGetTextureSize(a, &w, &hgt), 0);
}

TEST(MetalBackend, UnownedTexturesSurviveTheirImage) {
    MetalHarness h;
    auto d = mtl::TextureDescriptor::texture2D(mtl::PixelFormatRGBA8Unorm, 2, 2, false);
    auto texture = h.device->newTexture(d);
    const int owned = vgmtl_image_from_texture(h.ctx.get(), texture, 0);
    const int unowned = vgmtl_image_from_texture(h.ctx.get(), texture, 0x10000);
    auto slotOwned = h.renderer().findTexture(owned);
    auto slotUnowned = h.renderer().findTexture(unowned);
    EXPECT_EQ(vgmtl_texture_of_image(h.ctx.get(), unowned), texture);
    h.renderer().renderDeleteTexture(owned);
    h.renderer().renderDeleteTexture(unowned);
    EXPECT_FALSE(slotOwned->tex);
    EXPECT_EQ(slotUnowned->tex, texture);
    EXPECT_FALSE(vgmtl_texture_of_image(h.ctx.get(), unowned));
}

TEST(MetalBackend, UpdatesTakeTheRegionFromTheWholeImage) {
    MetalHarness h;
    MVGcontext& r = h.renderer();
    const int image = r.renderCreateTexture(VG_TEXTURE_ALPHA, 3, 2, 0, nullptr);
    const unsigned char whole[6] = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(r.renderUpdateTexture(image, 1, 1, 2, 1, whole), 1);
    EXPECT_EQ(r.renderUpdateTexture(image, 2, 1, 2, 1, whole), 0); // past the right edge
    EXPECT_EQ(r.renderUpdateTexture(image + 7, 0, 0, 1, 1, whole), 0);
    unsigned char out[6] = {};
    vgmtl_read_pixels(h.ctx.get(), image, 0, 0, 3, 2, out);
    const unsigned char expected[6] = {0, 0, 0, 0, 5, 6};
    EXPECT_TRUE(std::equal(out, out + 6, expected));
}

TEST(MetalBackend, ZeroViewportFlushActsAsCancel) {
    MetalHarness h;
    vg_begin_frame(h.ctx.get(), 0, 0, 1);
    vg_end_frame(h.ctx.get());
    EXPECT_EQ(h.device->commandBuffersMade(), 0);
    for (const auto& set : h.renderer().cbuffers)
        EXPECT_FALSE(set->isBusy);
}

TEST(MetalBackend, CancelWithoutATakenSetSignalsNothing) {
    MetalHarness h(0); // one set
    MVGcontext& r = h.renderer();
    r.renderViewport(8, 8, 1);
    r.renderCancel();
    r.renderCancel(); // a second cancel must not free a set twice
    EXPECT_TRUE(r.semaphore->try_acquire());
    EXPECT_FALSE(r.semaphore->try_acquire());
    r.semaphore->release();
}

TEST(MetalBackend, PipelinesAreRebuiltWhenTheBlendChanges) {
    MetalHarness h;
    const long before = h.device->pipelinesMade();
    h.renderOffscreen(16, 16, 1, [](VGdrawContext* c) {
        for (int op : {VG_SOURCE_OVER, VG_LIGHTER, VG_SOURCE_OVER}) {
            vg_composite_operation(c, op);
            vg_begin_path(c);
            vg_rect(c, 2, 2, 8, 8);
            vg_fill(c);
        }
    });
    EXPECT_EQ(h.device->pipelinesMade() - before, 6); // three switches, two states each
}

TEST(MetalBackend, FailedPipelineSkipsItsCalls) {
    MetalHarness h;
    h.renderer().vertexFunction = nullptr; // every pipeline now fails
    const auto pixels = h.renderOffscreen(8, 8, 1, [](VGdrawContext* c) {
        vg_begin_path(c);
        vg_rect(c, 0, 0, 8, 8);
        vg_fill_color(c, rgba(1, 1, 1, 1));
        vg_fill(c);
    });
    EXPECT_EQ(h.device->skippedDraws(), 0);
    for (unsigned char b : pixels)
        EXPECT_EQ(b, 0);
}

TEST(MetalBackend, OtherContextsTargetMakesThisFlushDrawToTheScreen) {
    MetalHarness a, b;
    MVGoffscreen* target = vgmtl_create_offscreen(b.ctx.get(), 8, 8, 0);
    vgmtl_bind_offscreen(target);
    vg_begin_frame(a.ctx.get(), 64, 64, 1);
    vg_begin_path(a.ctx.get());
    vg_rect(a.ctx.get(), 0, 0, 4, 4);
    vg_fill_color(a.ctx.get(), rgba(0, 0, 1, 1));
    vg_fill(a.ctx.get());
    vg_end_frame(a.ctx.get());
    vgmtl_bind_offscreen(nullptr);
    vgmtl_delete_offscreen(target);
    a.ctx.reset(); // waits for the frame
    int w = 0;
    const auto frame = a.presenter->lastFrame(&w);
    ASSERT_EQ(w, 64);
    EXPECT_EQ(frame[0], 255); // blue in BGRA
    EXPECT_EQ(frame[3], 255);
}

TEST(MetalBackend, BadLibraryDataFailsCreationAndDebugPrintsWhy) {
    const unsigned char notALibrary[] = "MTLBnoSuchFunction";
    mvg_use_shader_library(notALibrary, sizeof(notALibrary));
    testing::internal::CaptureStdout();
    MetalHarness quiet(VGMTL_ANTIALIAS);
    MetalHarness debug(VGMTL_ANTIALIAS | VGMTL_DEBUG);
    const std::string out = testing::internal::GetCapturedStdout();
    mvg_use_shader_library(nullptr, 0);
    EXPECT_FALSE(quiet.ctx);
    EXPECT_FALSE(debug.ctx);
    EXPECT_EQ(out, "Error occurs after init library: unknown shader function \"noSuchFunction\"\n");
}

} // namespace
