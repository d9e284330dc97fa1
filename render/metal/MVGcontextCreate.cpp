#include "render/metal/MVGcontext.h"

#include "render/metal/MVGshaders.h"

#include <cstdio>

namespace {

mtl::StencilDescriptor stencil(mtl::CompareFunction compare, mtl::StencilOperation fail,
                               mtl::StencilOperation pass) {
    mtl::StencilDescriptor s;
    s.stencilCompareFunction = compare;
    s.stencilFailureOperation = fail;
    s.depthFailureOperation = fail;
    s.depthStencilPassOperation = pass;
    return s;
}

mtl::DepthStencilDescriptor front_only(const mtl::StencilDescriptor& front) {
    mtl::DepthStencilDescriptor d;
    d.hasFrontFaceStencil = true;
    d.frontFaceStencil = front;
    return d;
}

} // namespace

void MVGcontext::checkError(const std::string& error, const char* message) const {
    if (!error.empty() && (flags & kDebug))
        std::printf("Error occurs after %s: %s\n", message, error.c_str());
}

void MVGcontext::makeStencilStates() {
    using namespace mtl;
    auto device = metalLayer->device();
    defaultStencilState = device->newDepthStencilState(DepthStencilDescriptor{});
    DepthStencilDescriptor shape = front_only(
        stencil(CompareFunctionAlways, StencilOperationKeep, StencilOperationIncrementWrap));
    shape.hasBackFaceStencil = true;
    shape.backFaceStencil =
        stencil(CompareFunctionAlways, StencilOperationKeep, StencilOperationDecrementWrap);
    fillShapeStencilState = device->newDepthStencilState(shape);
    fillAntiAliasStencilState = device->newDepthStencilState(
        front_only(stencil(CompareFunctionEqual, StencilOperationKeep, StencilOperationZero)));
    fillStencilState = device->newDepthStencilState(
        front_only(stencil(CompareFunctionNotEqual, StencilOperationZero, StencilOperationZero)));
    strokeShapeStencilState = device->newDepthStencilState(front_only(
        stencil(CompareFunctionEqual, StencilOperationKeep, StencilOperationIncrementClamp)));
    strokeAntiAliasStencilState = device->newDepthStencilState(
        front_only(stencil(CompareFunctionEqual, StencilOperationKeep, StencilOperationKeep)));
    strokeClearStencilState = device->newDepthStencilState(
        front_only(stencil(CompareFunctionAlways, StencilOperationZero, StencilOperationZero)));
}

int MVGcontext::renderCreate() {
    if (!metalLayer)
        return 0;
    if (!metalLayer->device())
        metalLayer->setDevice(mtl::Device::createSystemDefaultDevice());
    metalLayer->opaque = false;
    auto device = metalLayer->device();
    mvg_register_shaders();
    std::string error;
    auto library =
        device->newLibraryWithData(mvg_shader_library_data(), mvg_shader_library_size(), error);
    checkError(error, "init library");
    if (!library)
        return 0;
    vertexFunction = library->newFunction("vertexShader");
    fragmentFunction =
        library->newFunction((flags & kAntiAlias) ? "fragmentShaderAA" : "fragmentShader");
    commandQueue = device->newCommandQueue();
    maxBuffers = (flags & kTripleBuffer) ? 3 : (flags & kDoubleBuffer) ? 2 : 1;
    cbuffers.clear();
    for (int i = 0; i < maxBuffers; ++i)
        cbuffers.push_back(std::make_shared<MVGbuffers>());
    clearBufferOnFlush = false;
    semaphore = std::make_shared<MVGsemaphore>(maxBuffers);
    vertexDescriptor = {};
    vertexDescriptor.attributes[0] = {true, 0, 0, 2};
    vertexDescriptor.attributes[1] = {true, 8, 0, 2};
    vertexDescriptor.stride = sizeof(VGvertex);
    textureId = 0;
    textures.clear();
    pseudoSampler = device->newSamplerState(mtl::SamplerDescriptor{});
    blendFunc = std::make_unique<MVGblend>(
        MVGblend{mtl::BlendFactorOne, mtl::BlendFactorOneMinusSourceAlpha, mtl::BlendFactorOne,
                 mtl::BlendFactorOneMinusSourceAlpha});
    makeStencilStates();
    return 1;
}

void MVGcontext::renderDelete() {
    // Handlers of frames still in flight use the sets: let them finish first.
    for (const auto& set : cbuffers) {
        std::shared_ptr<mtl::CommandBuffer> inFlight;
        {
            std::lock_guard lock(set->flightMutex);
            inFlight = set->commandBuffer;
        }
        if (inFlight && inFlight->status() >= mtl::CommandBuffer::Status::Committed)
            inFlight->waitUntilCompleted();
    }
    buffers.reset();
    cbuffers.clear();
    textures.clear();
    blendFunc.reset();
    renderEncoder.reset();
    commandQueue.reset();
    defaultStencilState = fillShapeStencilState = fillAntiAliasStencilState = fillStencilState =
        strokeShapeStencilState = strokeAntiAliasStencilState = strokeClearStencilState = nullptr;
    fragmentFunction = vertexFunction = nullptr;
    pipelineState = stencilOnlyPipelineState = nullptr;
    pseudoSampler.reset();
    pseudoTexture.reset();
    if (metalLayer)
        metalLayer->setDevice(nullptr);
    metalLayer.reset();
}
