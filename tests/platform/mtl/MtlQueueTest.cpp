#include "tests/platform/mtl/MtlTestKit.h"

#include <gtest/gtest.h>

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
