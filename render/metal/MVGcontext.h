#pragma once

// The Metal renderer: records the vector renderer's calls into a buffer set
// during a frame and encodes them into one render pass at its end.

#include "platform/mtl/MtlLayer.h"
#include "render/metal/MVGuniforms.h"
#include "render/vg/VGRendererTable.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <semaphore>
#include <string>
#include <vector>

struct MVGblend {
    mtl::BlendFactor srcRGB, dstRGB, srcAlpha, dstAlpha;
    bool operator==(const MVGblend&) const = default;
};

enum MVGcallType : int { MVG_FILL = 1, MVG_CONVEXFILL = 2, MVG_STROKE = 3, MVG_TRIANGLES = 4 };

struct MVGcall {
    int type;
    int image;
    int triangleOffset, triangleCount;
    int indexOffset, indexCount;
    int strokeOffset, strokeCount;
    int uniformOffset;
    MVGblend blendFunc;
    bool clipped;          // whether `clip` bounds the pixels the scissor lets through
    mtl::ScissorRect clip; // in device pixels
};

// One buffer set. The completion handler runs on the queue's worker and
// touches only the fields under flightMutex and isBusy.
struct MVGbuffers {
    std::mutex flightMutex;
    std::shared_ptr<mtl::CommandBuffer> commandBuffer;
    int image = 0;
    std::atomic<bool> isBusy{false};

    std::shared_ptr<mtl::Buffer> viewSizeBuffer;
    std::shared_ptr<mtl::Texture> stencilTexture;
    std::unique_ptr<MVGcall[]> calls;
    int ccalls = 0, ncalls = 0;
    std::shared_ptr<mtl::Buffer> indexBuffer;
    uint32_t* indexes = nullptr;
    int cindexes = 0, nindexes = 0;
    std::shared_ptr<mtl::Buffer> vertBuffer;
    VGvertex* verts = nullptr;
    int cverts = 0, nverts = 0;
    std::shared_ptr<mtl::Buffer> uniformBuffer;
    unsigned char* uniforms = nullptr;
    int cuniforms = 0, nuniforms = 0;

    void clearCounts() { nindexes = nverts = ncalls = nuniforms = 0; }
};

struct MVGtexture {
    int id = 0;
    int type = 0;
    int flags = 0;
    std::shared_ptr<mtl::Texture> tex;
    std::shared_ptr<mtl::SamplerState> sampler;
};

// Counts free buffer sets; shared with completion handlers.
using MVGsemaphore = std::counting_semaphore<3>;

class MVGcontext {
public:
    // Creation flags.
    static constexpr int kAntiAlias = 0x1, kStencilStrokes = 0x2, kDebug = 0x4;
    static constexpr int kDoubleBuffer = 0x1000, kTripleBuffer = 0x2000;

    std::shared_ptr<mtl::CommandQueue> commandQueue;
    std::shared_ptr<mtl::MetalLayer> metalLayer;
    std::shared_ptr<mtl::RenderCommandEncoder> renderEncoder;
    mtl::ScissorRect encodedClip; // the encoder's scissor; all of the viewport when none was set
    int fragSize = 256;
    int indexSize = 4;
    int flags = 0;
    unsigned viewPortSize[2] = {0, 0};
    float viewSize[2] = {0, 0}; // the frame's size in units
    mtl::ClearColor clearColor{0, 0, 0, 0};
    bool clearBufferOnFlush = false;
    std::vector<std::shared_ptr<MVGtexture>> textures;
    int textureId = 0;
    std::shared_ptr<MVGbuffers> buffers;
    std::vector<std::shared_ptr<MVGbuffers>> cbuffers;
    int maxBuffers = 1;
    std::shared_ptr<MVGsemaphore> semaphore;
    std::unique_ptr<MVGblend> blendFunc;
    std::shared_ptr<mtl::DepthStencilState> defaultStencilState, fillShapeStencilState,
        fillAntiAliasStencilState, fillStencilState, strokeShapeStencilState,
        strokeAntiAliasStencilState, strokeClearStencilState;
    std::shared_ptr<mtl::Function> fragmentFunction, vertexFunction;
    mtl::PixelFormat piplelinePixelFormat = mtl::PixelFormatInvalid;
    std::shared_ptr<mtl::RenderPipelineState> pipelineState, stencilOnlyPipelineState;
    std::shared_ptr<mtl::SamplerState> pseudoSampler;
    std::shared_ptr<mtl::Texture> pseudoTexture;
    mtl::VertexDescriptor vertexDescriptor;

    // The renderer table's slots.
    int renderCreate();
    int renderCreateTexture(int type, int w, int h, int imageFlags, const unsigned char* data);
    int renderDeleteTexture(int image);
    int renderUpdateTexture(int image, int x, int y, int w, int h, const unsigned char* data);
    int renderGetTextureSize(int image, int* w, int* h);
    void renderViewport(float width, float height, float devicePixelRatio);
    void renderCancel();
    void renderFlush();
    void renderFill(const VGpaint* paint, VGcompositeOperationState op, const VGscissor* scissor,
                    float fringe, const float* bounds, const VGpath* paths, int npaths);
    void renderStroke(const VGpaint* paint, VGcompositeOperationState op, const VGscissor* scissor,
                      float fringe, float strokeWidth, const VGpath* paths, int npaths);
    void renderTriangles(const VGpaint* paint, VGcompositeOperationState op,
                         const VGscissor* scissor, const VGvertex* verts, int nverts, float fringe);
    void renderDelete();

    MVGcall* allocCall();
    int allocVerts(int n);
    int allocIndexes(int n);
    int allocFragUniforms(int n);
    MVGfragUniforms* fragUniformAtIndex(int offset);
    std::shared_ptr<MVGtexture> allocTexture();
    std::shared_ptr<MVGtexture> findTexture(int id) const;
    static MVGblend blendCompositeOperation(VGcompositeOperationState op);
    int convertPaintForFrag(MVGfragUniforms* frag, const VGpaint* paint, const VGscissor* scissor,
                            float width, float fringe, float strokeThr);
    void checkError(const std::string& error, const char* message) const;

    bool presentImage(int image, mtl::PixelRect damage);

    // Waits until no committed frame of this renderer draws into `image`.
    void waitForImage(int image);

private:
    void makeStencilStates();
    void dropCall();
    bool updateRenderPipelineStates(const MVGblend& blend, mtl::PixelFormat format);
    void updateStencilTextureToSize(unsigned width, unsigned height);
    bool renderCommandEncoderWithColorTexture(const std::shared_ptr<mtl::Texture>& color);
    void setUniforms(int uniformOffset, int image);
    void clipCall(MVGcall& call, const VGscissor& scissor, float fringe) const;
    void setClip(const MVGcall& call);
    void encodeCall(const MVGcall& call, mtl::PixelFormat format);
    void fill(const MVGcall& call);
    void convexFill(const MVGcall& call);
    void stroke(const MVGcall& call);
    void triangles(const MVGcall& call);
    void commitFrame(const std::shared_ptr<mtl::Texture>& color,
                     const std::shared_ptr<mtl::Drawable>& drawable, int image);
};
