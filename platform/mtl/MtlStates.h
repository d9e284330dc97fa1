#pragma once

// Pipeline and depth-stencil states: immutable records made by the device.

#include "platform/mtl/MtlLibrary.h"

namespace mtl {

struct VertexAttribute {
    bool used = false;
    size_t offset = 0;
    int bufferIndex = 0;
    int floatCount = 2;
};

struct VertexDescriptor {
    VertexAttribute attributes[kMaxAttributes];
    size_t stride = 16; // of layout 0; every attribute reads per vertex
};

struct ColorAttachmentDescriptor {
    PixelFormat pixelFormat = PixelFormatInvalid;
    bool blendingEnabled = false;
    BlendFactor sourceRGBBlendFactor = BlendFactorOne;
    BlendFactor destinationRGBBlendFactor = BlendFactorZero;
    BlendFactor sourceAlphaBlendFactor = BlendFactorOne;
    BlendFactor destinationAlphaBlendFactor = BlendFactorZero;
    uint64_t writeMask = ColorWriteMaskAll;
};

struct RenderPipelineDescriptor {
    std::shared_ptr<Function> vertexFunction;
    std::shared_ptr<Function> fragmentFunction; // none: only stencil is written
    VertexDescriptor vertexDescriptor;
    ColorAttachmentDescriptor colorAttachment0;
    PixelFormat stencilAttachmentPixelFormat = PixelFormatInvalid;
};

class RenderPipelineState {
public:
    explicit RenderPipelineState(const RenderPipelineDescriptor& d) : descriptor_(d) {}
    const RenderPipelineDescriptor& descriptor() const { return descriptor_; }

private:
    RenderPipelineDescriptor descriptor_;
};

struct StencilDescriptor {
    CompareFunction stencilCompareFunction = CompareFunctionAlways;
    StencilOperation stencilFailureOperation = StencilOperationKeep;
    StencilOperation depthFailureOperation = StencilOperationKeep;
    StencilOperation depthStencilPassOperation = StencilOperationKeep;
    uint32_t readMask = 0xFF;
    uint32_t writeMask = 0xFF;
};

struct DepthStencilDescriptor {
    CompareFunction depthCompareFunction = CompareFunctionAlways;
    bool hasFrontFaceStencil = false;
    bool hasBackFaceStencil = false;
    StencilDescriptor frontFaceStencil;
    StencilDescriptor backFaceStencil;
};

class DepthStencilState {
public:
    explicit DepthStencilState(const DepthStencilDescriptor& d) : descriptor_(d) {}
    const DepthStencilDescriptor& descriptor() const { return descriptor_; }

private:
    DepthStencilDescriptor descriptor_;
};

} // namespace mtl
