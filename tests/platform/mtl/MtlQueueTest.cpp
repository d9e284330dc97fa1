#include "tests/platform/mtl/MtlTestKit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <future>

using namespace std::chrono_literals;
using mtl_test::Kit;

namespace {

TEST(MtlQueue, BuffersRunInEnqueueOrderAndHandlersBeforeWaitReturns) {
    Kit kit;
    std::vector<int> order; // written by the worker only
    std::vector<std::shared_ptr<mtl::CommandBuffer>> buffers;
    for (int i = 0; i < 5; ++i) {
        buffers.push_back(kit.queue->commandBuffer());
        buffers.back()->enqueue();
        buffers.back()->addCompletedHandler(
            [&order, i](mtl::CommandBuffer&) { order.push_back(i * 10); });
        buffers.back()->addCompletedHandler(
            [&order, i](mtl::CommandBuffer&) { order.push_back(i * 10 + 1); });
    }
    for (int i = 4; i >= 0; --i) // committed in reverse, run as enqueued
        buffers[i]->commit();
    buffers[4]->waitUntilCompleted();
    EXPECT_EQ(order, (std::vector<int>{0, 1, 10, 11, 20, 21, 30, 31, 40, 41}));
    EXPECT_EQ(kit.device->commandBuffersMade(), 5);
}

TEST(MtlQueue, HeldCompletionsBlockWaitersUntilReleased) {
    Kit kit;
    kit.device->holdCompletions(true);
    auto buffer = kit.queue->commandBuffer();
    bool handled = false;
    buffer->addCompletedHandler([&handled](mtl::CommandBuffer&) { handled = true; });
    buffer->commit();
    auto waiter = std::async(std::launch::async, [&] { buffer->waitUntilCompleted(); });
    EXPECT_EQ(waiter.wait_for(100ms), std::future_status::timeout);
    EXPECT_NE(buffer->status(), mtl::CommandBuffer::Status::Completed);
    kit.device->holdCompletions(false);
    ASSERT_EQ(waiter.wait_for(5s), std::future_status::ready);
    EXPECT_TRUE(handled);
}

TEST(MtlQueue, CopiesOutWaitForCommittedWorkOnTheTexture) {
    Kit kit;
    auto color = kit.target(mtl::PixelFormatRGBA8Unorm, 2, 2);
    kit.device->holdCompletions(true);
    auto buffer = kit.queue->commandBuffer();
    mtl::RenderPassDescriptor pass;
    pass.colorAttachment0.texture = color;
    pass.colorAttachment0.loadAction = mtl::LoadActionClear;
    pass.colorAttachment0.clearColor = {1, 0, 0, 1};
    buffer->renderCommandEncoder(pass)->endEncoding();
    buffer->commit();
    auto reader = std::async(std::launch::async, [&] { return mtl_test::bytes_of(*color); });
    EXPECT_EQ(reader.wait_for(100ms), std::future_status::timeout);
    kit.device->holdCompletions(false);
    ASSERT_EQ(reader.wait_for(5s), std::future_status::ready);
    EXPECT_EQ(reader.get()[0], 255);
}

TEST(MtlQueue, ResourcesDroppedByTheCallerLiveUntilCompletion) {
    Kit kit;
    auto color = kit.target(mtl::PixelFormatRGBA8Unorm, 8, 8);
    kit.device->holdCompletions(true);
    auto buffer = kit.queue->commandBuffer();
    {
        mtl::RenderPassDescriptor pass;
        pass.colorAttachment0.texture = color;
        auto encoder = buffer->renderCommandEncoder(pass);
        encoder->setRenderPipelineState(
            kit.pipeline("solid", mtl_test::replace(mtl::PixelFormatRGBA8Unorm)));
        encoder->setVertexBuffer(kit.viewSize(8, 8), 0, 1);
        const std::vector<mtl_test::Vertex> v = {
            {0, 0, 0, 1, 0, 1}, {8, 0, 0, 1, 0, 1}, {0, 8, 0, 1, 0, 1}};
        encoder->setVertexBuffer(kit.vertices(v), 0, 0);
        auto sampled = kit.target(mtl::PixelFormatR8Unorm, 4, 4);
        encoder->setFragmentTexture(sampled, 0);
        encoder->drawPrimitives(mtl::PrimitiveTypeTriangle, 0, 3);
        encoder->endEncoding();
    } // the vertex buffer, pipeline and sampled texture now belong to the buffer alone
    color.reset();
    buffer->commit();
    kit.device->holdCompletions(false);
    buffer->waitUntilCompleted();
    EXPECT_EQ(kit.device->skippedDraws(), 0);
}

TEST(MtlQueue, DestroyingTheQueueRunsWhatWasCommitted) {
    Kit kit;
    bool handled = false;
    {
        auto queue = kit.device->newCommandQueue();
        auto buffer = queue->commandBuffer();
        buffer->addCompletedHandler([&handled](mtl::CommandBuffer&) { handled = true; });
        buffer->commit();
        auto never = queue->commandBuffer();
        never->enqueue(); // never committed: must not hold the queue's end
    }
    EXPECT_TRUE(handled);
}

} // namespace

// Texture copies: a region 1:1, the two four-byte orders swapping red and
// blue as a draw of the texels would; regions past a texture, or formats
// that are not colour orders of each other, copy nothing.
// Bands of rows on worker threads replay the same draws, so the colour and
// stencil bytes are those of one thread: even and uneven bands, and two
// queues sharing the device's workers at once. Translucent source-over and a
// counting stencil show any row drawn twice or not at all.
TEST(MtlBands, RasterThreadsGiveTheBytesOfOneThread) {
    Kit kit;
    kit.device->setRasterThreads(1);
    std::vector<std::vector<unsigned char>> oneThread;
    for (unsigned seed = 1; seed <= 4; ++seed)
        oneThread.push_back(mtl_test::random_scene(kit, seed));
    EXPECT_EQ(kit.device->bandsRun(), 0);
    for (int threads : {2, 3, 4}) {
        kit.device->setRasterThreads(threads);
        for (unsigned seed = 1; seed <= 4; ++seed)
            EXPECT_EQ(mtl_test::random_scene(kit, seed), oneThread[seed - 1])
                << threads << " threads, seed " << seed;
    }
    EXPECT_GT(kit.device->bandsRun(), 0);
    Kit second(kit);
    second.queue = kit.device->newCommandQueue();
    auto first = std::async(std::launch::async, [&] {
        std::vector<std::vector<unsigned char>> scenes;
        for (unsigned seed = 1; seed <= 4; ++seed)
            scenes.push_back(mtl_test::random_scene(kit, seed));
        return scenes;
    });
    for (unsigned seed = 1; seed <= 4; ++seed)
        EXPECT_EQ(mtl_test::random_scene(second, seed), oneThread[seed - 1]) << "seed " << seed;
    EXPECT_EQ(first.get(), oneThread);
}

TEST(MtlBlit, TextureCopiesMoveTheRegionAndOnlyBetweenColourOrders) {
    const struct {
        const char* name;
        mtl::PixelFormat from, to;
        mtl::Region region;
        mtl::Origin at;
        bool copies;
    } cases[] = {
        {"same order",
         mtl::PixelFormatBGRA8Unorm,
         mtl::PixelFormatBGRA8Unorm,
         mtl::Region::make2D(1, 1, 2, 1),
         {1, 1, 0},
         true},
        {"rgba to bgra",
         mtl::PixelFormatRGBA8Unorm,
         mtl::PixelFormatBGRA8Unorm,
         mtl::Region::make2D(1, 1, 2, 1),
         {1, 1, 0},
         true},
        {"moved",
         mtl::PixelFormatRGBA8Unorm,
         mtl::PixelFormatRGBA8Unorm,
         mtl::Region::make2D(1, 1, 2, 1),
         {0, 2, 0},
         true},
        {"past the edge",
         mtl::PixelFormatRGBA8Unorm,
         mtl::PixelFormatRGBA8Unorm,
         mtl::Region::make2D(3, 1, 2, 1),
         {3, 1, 0},
         false},
        {"one channel",
         mtl::PixelFormatR8Unorm,
         mtl::PixelFormatBGRA8Unorm,
         mtl::Region::make2D(0, 0, 1, 1),
         {0, 0, 0},
         false},
    };
    for (const auto& c : cases) {
        Kit kit;
        const auto source = kit.target(c.from, 4, 3), target = kit.target(c.to, 4, 3);
        const size_t from = mtl::bytes_per_pixel(c.from);
        for (size_t i = 0; i < source->bytesPerRow() * 3; ++i)
            source->pixels()[i] = static_cast<unsigned char>(i + 1);
        std::fill(target->pixels(), target->pixels() + target->bytesPerRow() * 3, 0);
        auto buffer = kit.queue->commandBuffer();
        auto blit = buffer->blitCommandEncoder();
        blit->copyFromTexture(source, c.region, target, c.at);
        blit->endEncoding();
        buffer->commit();
        buffer->waitUntilCompleted();
        const unsigned char* in =
            source->pixels() + c.region.origin.y * source->bytesPerRow() + c.region.origin.x * from;
        const unsigned char* out = target->pixels() + c.at.y * target->bytesPerRow() + c.at.x * 4;
        const bool swap = c.from != c.to;
        if (!c.copies) {
            EXPECT_EQ(std::count(target->pixels(), target->pixels() + target->bytesPerRow() * 3, 0),
                      long(target->bytesPerRow() * 3))
                << c.name;
            continue;
        }
        for (size_t p = 0; p < c.region.size.width * 4; p += 4) {
            EXPECT_EQ(out[p + 0], in[p + (swap ? 2 : 0)]) << c.name;
            EXPECT_EQ(out[p + 1], in[p + 1]) << c.name;
            EXPECT_EQ(out[p + 2], in[p + (swap ? 0 : 2)]) << c.name;
            EXPECT_EQ(out[p + 3], in[p + 3]) << c.name;
        }
        EXPECT_EQ(target->pixels()[0], 0) << c.name << ": outside the region";
    }
}
