#pragma once

// The fragment uniform block the shaders read and the conversion of a paint
// and scissor into it.

#include "render/vg/VGTypes.h"

#include <cstddef>

struct MVGfragUniforms {
    float scissorMat[12]; // three columns of four floats
    float paintMat[12];
    float innerCol[4];
    float outerCol[4];
    float scissorExt[2];
    float scissorScale[2];
    float extent[2];
    float radius;
    float feather;
    float strokeMult;
    float strokeThr;
    int texType;
    int type;
};
static_assert(sizeof(MVGfragUniforms) == 176);
static_assert(offsetof(MVGfragUniforms, innerCol) == 96);
static_assert(offsetof(MVGfragUniforms, scissorExt) == 128);
static_assert(offsetof(MVGfragUniforms, strokeMult) == 160);
static_assert(offsetof(MVGfragUniforms, type) == 172);

inline constexpr int kMVGshaderGradient = 0;
inline constexpr int kMVGshaderImage = 1;
inline constexpr int kMVGshaderTriangles = 2;

// The second pass of a stencil stroke only touches fully covered pixels.
inline constexpr float kMVGstencilStrokeThreshold = 1.0f - 0.5f / 255.0f;

// What the conversion needs of the paint's image.
struct MVGimageInfo {
    int type;  // VG_TEXTURE_ALPHA or VG_TEXTURE_RGBA
    int flags; // image flags
};

// Inverse of a 2×3 transform in double precision; near-singular: identity.
void mvg_inverse_transform(float inverse[6], const float t[6]);

// Fills the block; `image` is the paint's image, null when the paint names
// none. Answers 0 (block zeroed) when the paint names an image that does not
// exist, which the caller passes as `imageMissing`.
int mvg_convert_paint(MVGfragUniforms* frag, const VGpaint& paint, const VGscissor& scissor,
                      float width, float fringe, float strokeThr, const MVGimageInfo* image,
                      bool imageMissing);
