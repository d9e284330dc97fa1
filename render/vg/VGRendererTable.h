#pragma once

#include "render/vg/VGTypes.h"

// The back end's callbacks; each receives userPtr first and runs inside the
// call that triggers it. Arrays handed to renderFill, renderStroke and
// renderTriangles are valid only during the call.
struct VGrendererTable {
    void* userPtr;
    int edgeAntiAlias;
    int (*renderCreate)(void* uptr);
    int (*renderCreateTexture)(void* uptr, int type, int w, int h, int imageFlags,
                               const unsigned char* data);
    int (*renderDeleteTexture)(void* uptr, int image);
    int (*renderUpdateTexture)(void* uptr, int image, int x, int y, int w, int h,
                               const unsigned char* data);
    int (*renderGetTextureSize)(void* uptr, int image, int* w, int* h);
    void (*renderViewport)(void* uptr, float width, float height, float devicePixelRatio);
    void (*renderCancel)(void* uptr);
    void (*renderFlush)(void* uptr);
    void (*renderFill)(void* uptr, const VGpaint* paint,
                       VGcompositeOperationState compositeOperation, const VGscissor* scissor,
                       float fringe, const float* bounds, const VGpath* paths, int npaths);
    void (*renderStroke)(void* uptr, const VGpaint* paint,
                         VGcompositeOperationState compositeOperation, const VGscissor* scissor,
                         float fringe, float strokeWidth, const VGpath* paths, int npaths);
    void (*renderTriangles)(void* uptr, const VGpaint* paint,
                            VGcompositeOperationState compositeOperation, const VGscissor* scissor,
                            const VGvertex* verts, int nverts, float fringe);
    void (*renderDelete)(void* uptr); // may be null
};
