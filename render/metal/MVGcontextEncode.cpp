#include "render/metal/MVGcontext.h"

#include "render/metal/MVGclip.h"

void MVGcontext::setUniforms(int uniformOffset, int image) {
    renderEncoder->setFragmentBufferOffset(size_t(uniformOffset), 0);
    const auto texture = image != 0 ? findTexture(image) : nullptr;
    if (texture && texture->tex) {
        renderEncoder->setFragmentTexture(texture->tex, 0);
        renderEncoder->setFragmentSamplerState(texture->sampler ? texture->sampler : pseudoSampler,
                                               0);
    } else {
        renderEncoder->setFragmentTexture(pseudoTexture, 0);
        renderEncoder->setFragmentSamplerState(pseudoSampler, 0);
    }
}

void MVGcontext::clipCall(MVGcall& call, const VGscissor& scissor, float fringe) const {
    call.clipped = false;
    if (viewSize[0] <= 0.0f || viewSize[1] <= 0.0f)
        return;
    const float toDevice[2] = {float(viewPortSize[0]) / viewSize[0],
                               float(viewPortSize[1]) / viewSize[1]};
    call.clipped = mvg_scissor_box(scissor, fringe, toDevice, viewPortSize, call.clip);
}

// Every pass of a call (stencil, fringe, cover) takes the same box, so the
// stencil left outside it is the untouched zero either way.
void MVGcontext::setClip(const MVGcall& call) {
    const mtl::ScissorRect rect = call.clipped && mvg_blend_keeps_unreached(call.blendFunc)
                                      ? call.clip
                                      : mtl::ScissorRect{0, 0, viewPortSize[0], viewPortSize[1]};
    const mtl::ScissorRect& was = encodedClip;
    if (rect.x == was.x && rect.y == was.y && rect.width == was.width && rect.height == was.height)
        return;
    renderEncoder->setScissorRect(rect);
    encodedClip = rect;
}

void MVGcontext::encodeCall(const MVGcall& call, mtl::PixelFormat format) {
    // A pipeline that could not be made draws nothing rather than empty.
    if (!updateRenderPipelineStates(call.blendFunc, format))
        return;
    setClip(call);
    switch (call.type) {
    case MVG_FILL:
        return fill(call);
    case MVG_CONVEXFILL:
        return convexFill(call);
    case MVG_STROKE:
        return stroke(call);
    case MVG_TRIANGLES:
        return triangles(call);
    default:
        return;
    }
}

void MVGcontext::fill(const MVGcall& call) {
    auto& e = *renderEncoder;
    e.setCullMode(mtl::CullModeNone);
    e.setDepthStencilState(fillShapeStencilState);
    e.setRenderPipelineState(stencilOnlyPipelineState);
    if (call.indexCount > 0)
        e.drawIndexedPrimitives(mtl::PrimitiveTypeTriangle, size_t(call.indexCount),
                                mtl::IndexTypeUInt32, buffers->indexBuffer,
                                size_t(call.indexOffset) * indexSize);
    e.setCullMode(mtl::CullModeBack);
    e.setRenderPipelineState(pipelineState);
    setUniforms(call.uniformOffset, call.image);
    if ((flags & kAntiAlias) && call.strokeCount > 0) {
        e.setDepthStencilState(fillAntiAliasStencilState);
        e.drawPrimitives(mtl::PrimitiveTypeTriangleStrip, size_t(call.strokeOffset),
                         size_t(call.strokeCount));
    }
    e.setDepthStencilState(fillStencilState);
    e.drawPrimitives(mtl::PrimitiveTypeTriangleStrip, size_t(call.triangleOffset),
                     size_t(call.triangleCount));
    e.setDepthStencilState(defaultStencilState);
}

void MVGcontext::convexFill(const MVGcall& call) {
    auto& e = *renderEncoder;
    setUniforms(call.uniformOffset, call.image);
    e.setRenderPipelineState(pipelineState);
    if (call.indexCount > 0)
        e.drawIndexedPrimitives(mtl::PrimitiveTypeTriangle, size_t(call.indexCount),
                                mtl::IndexTypeUInt32, buffers->indexBuffer,
                                size_t(call.indexOffset) * indexSize);
    if (call.strokeCount > 0)
        e.drawPrimitives(mtl::PrimitiveTypeTriangleStrip, size_t(call.strokeOffset),
                         size_t(call.strokeCount));
}

void MVGcontext::stroke(const MVGcall& call) {
    if (call.strokeCount <= 0)
        return;
    auto& e = *renderEncoder;
    const auto strip = [&] {
        e.drawPrimitives(mtl::PrimitiveTypeTriangleStrip, size_t(call.strokeOffset),
                         size_t(call.strokeCount));
    };
    if (flags & kStencilStrokes) {
        setUniforms(call.uniformOffset + fragSize, call.image);
        e.setDepthStencilState(strokeShapeStencilState);
        e.setRenderPipelineState(pipelineState);
        strip();
        setUniforms(call.uniformOffset, call.image);
        e.setDepthStencilState(strokeAntiAliasStencilState);
        strip();
        e.setDepthStencilState(strokeClearStencilState);
        e.setRenderPipelineState(stencilOnlyPipelineState);
        strip();
        e.setDepthStencilState(defaultStencilState);
        return;
    }
    setUniforms(call.uniformOffset, call.image);
    e.setRenderPipelineState(pipelineState);
    strip();
}

void MVGcontext::triangles(const MVGcall& call) {
    setUniforms(call.uniformOffset, call.image);
    renderEncoder->setRenderPipelineState(pipelineState);
    renderEncoder->drawPrimitives(mtl::PrimitiveTypeTriangle, size_t(call.triangleOffset),
                                  size_t(call.triangleCount));
}
