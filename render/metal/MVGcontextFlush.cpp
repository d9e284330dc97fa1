#include "render/metal/MVGcontext.h"

#include "render/metal/VGMetal.h"

#include <cmath>
#include <cstring>

void MVGcontext::renderViewport(float width, float height, float devicePixelRatio) {
    viewPortSize[0] = static_cast<unsigned>(std::max(0.0f, std::trunc(width * devicePixelRatio)));
    viewPortSize[1] = static_cast<unsigned>(std::max(0.0f, std::trunc(height * devicePixelRatio)));
    viewSize[0] = width;
    viewSize[1] = height;
    semaphore->acquire();
    buffers.reset();
    for (const auto& set : cbuffers) {
        if (!set->isBusy) {
            set->isBusy = true;
            buffers = set;
            break;
        }
    }
    if (!buffers) // cannot happen while the semaphore counts free sets
        return semaphore->release();
    if (!buffers->viewSizeBuffer)
        buffers->viewSizeBuffer = metalLayer->device()->newBuffer(
            2 * sizeof(float), mtl::ResourceCPUCacheModeWriteCombined);
    if (buffers->viewSizeBuffer) {
        const float size[2] = {width, height};
        std::memcpy(buffers->viewSizeBuffer->contents(), size, sizeof(size));
    }
}

void MVGcontext::renderCancel() {
    if (!buffers) // no set was taken: nothing to hand back
        return;
    {
        std::lock_guard lock(buffers->flightMutex);
        buffers->image = 0;
        buffers->clearCounts();
    }
    buffers->isBusy = false;
    buffers.reset();
    semaphore->release();
}

void MVGcontext::updateStencilTextureToSize(unsigned width, unsigned height) {
    auto& stencil = buffers->stencilTexture;
    if (stencil && (stencil->width() < width || stencil->height() < height))
        stencil.reset();
    if (stencil)
        return;
    mtl::TextureDescriptor d =
        mtl::TextureDescriptor::texture2D(mtl::PixelFormatStencil8, width, height, false);
    d.usage = mtl::TextureUsageRenderTarget;
    d.storageMode = mtl::StorageModePrivate;
    stencil = metalLayer->device()->newTexture(d);
}

void MVGcontext::renderFlush() {
    if (!buffers)
        return;
    if (viewPortSize[0] == 0 || viewPortSize[1] == 0 || !buffers->viewSizeBuffer)
        return renderCancel();
    MVGoffscreen* target = vgmtl_bound_offscreen();
    std::shared_ptr<mtl::Texture> color;
    int image = 0;
    unsigned size[2] = {viewPortSize[0], viewPortSize[1]};
    if (target && vgmtl_renderer(target->context) == this) {
        const auto texture = findTexture(target->image);
        if (target->image == 0 || !texture || !texture->tex)
            return renderCancel();
        image = target->image;
        color = texture->tex;
        size[0] = static_cast<unsigned>(color->width());
        size[1] = static_cast<unsigned>(color->height());
    }
    if (size[0] == 0 || size[1] == 0)
        return renderCancel();
    updateStencilTextureToSize(size[0], size[1]);
    std::shared_ptr<mtl::Drawable> drawable;
    if (!color) {
        drawable = metalLayer->nextDrawable();
        if (!drawable)
            return renderCancel();
        color = drawable->texture();
    }
    commitFrame(color, drawable, image);
}

void MVGcontext::commitFrame(const std::shared_ptr<mtl::Texture>& color,
                             const std::shared_ptr<mtl::Drawable>& drawable, int image) {
    auto commandBuffer = commandQueue->commandBuffer();
    commandBuffer->enqueue();
    std::shared_ptr<MVGbuffers> set = buffers;
    std::shared_ptr<MVGsemaphore> free = semaphore;
    commandBuffer->addCompletedHandler([set, free](mtl::CommandBuffer&) {
        {
            std::lock_guard lock(set->flightMutex);
            set->commandBuffer.reset();
            set->image = 0;
            set->clearCounts();
        }
        set->isBusy = false;
        free->release();
    });
    {
        std::lock_guard lock(set->flightMutex);
        set->commandBuffer = commandBuffer;
        set->image = image;
    }
    if (renderCommandEncoderWithColorTexture(color)) {
        for (int i = 0; i < set->ncalls; ++i)
            encodeCall(set->calls[i], color->pixelFormat());
        renderEncoder->endEncoding();
        renderEncoder.reset();
    }
    if (drawable && !metalLayer->presentsWithTransaction)
        commandBuffer->presentDrawable(drawable);
    if (vgmtl_bound_offscreen()) {
        auto blit = commandBuffer->blitCommandEncoder();
        blit->synchronizeResource(color);
        blit->endEncoding();
    }
    buffers.reset(); // the set now belongs to the frame in flight
    commandBuffer->commit();
    if (drawable && metalLayer->presentsWithTransaction) {
        commandBuffer->waitUntilScheduled();
        drawable->present();
    }
}

bool MVGcontext::renderCommandEncoderWithColorTexture(const std::shared_ptr<mtl::Texture>& color) {
    MVGbuffers& set = *buffers;
    mtl::RenderPassDescriptor pass;
    pass.colorAttachment0.clearColor = clearColor;
    pass.colorAttachment0.loadAction =
        clearBufferOnFlush ? mtl::LoadActionClear : mtl::LoadActionLoad;
    pass.colorAttachment0.storeAction = mtl::StoreActionStore;
    pass.colorAttachment0.texture = color;
    clearBufferOnFlush = false;
    pass.stencilAttachment.clearStencil = 0;
    pass.stencilAttachment.loadAction = mtl::LoadActionClear;
    pass.stencilAttachment.storeAction = mtl::StoreActionDontCare;
    pass.stencilAttachment.texture = set.stencilTexture;
    renderEncoder = set.commandBuffer->renderCommandEncoder(pass);
    if (!renderEncoder)
        return false;
    renderEncoder->setCullMode(mtl::CullModeBack);
    renderEncoder->setFrontFacingWinding(mtl::WindingCounterClockwise);
    renderEncoder->setStencilReferenceValue(0);
    renderEncoder->setViewport({0, 0, double(viewPortSize[0]), double(viewPortSize[1]), 0, 1});
    encodedClip = {0, 0, viewPortSize[0], viewPortSize[1]};
    renderEncoder->setVertexBuffer(set.vertBuffer, 0, 0);
    renderEncoder->setVertexBuffer(set.viewSizeBuffer, 0, 1);
    renderEncoder->setFragmentBuffer(set.uniformBuffer, 0, 0);
    return true;
}

bool MVGcontext::updateRenderPipelineStates(const MVGblend& blend, mtl::PixelFormat format) {
    if (pipelineState && stencilOnlyPipelineState && format == piplelinePixelFormat &&
        blend == *blendFunc)
        return true;
    mtl::RenderPipelineDescriptor d;
    d.colorAttachment0.pixelFormat = format;
    d.colorAttachment0.blendingEnabled = true;
    d.colorAttachment0.sourceRGBBlendFactor = blend.srcRGB;
    d.colorAttachment0.sourceAlphaBlendFactor = blend.srcAlpha;
    d.colorAttachment0.destinationRGBBlendFactor = blend.dstRGB;
    d.colorAttachment0.destinationAlphaBlendFactor = blend.dstAlpha;
    d.stencilAttachmentPixelFormat = mtl::PixelFormatStencil8;
    d.vertexFunction = vertexFunction;
    d.fragmentFunction = fragmentFunction;
    d.vertexDescriptor = vertexDescriptor;
    *blendFunc = blend;
    auto device = metalLayer->device();
    std::string error;
    pipelineState = device->newRenderPipelineState(d, error);
    checkError(error, "init pipeline state");
    d.fragmentFunction = nullptr;
    d.colorAttachment0.writeMask = mtl::ColorWriteMaskNone;
    error.clear();
    stencilOnlyPipelineState = device->newRenderPipelineState(d, error);
    checkError(error, "init pipeline stencil only state");
    piplelinePixelFormat = format;
    return pipelineState && stencilOnlyPipelineState;
}
