#include "render/metal/MVGuniforms.h"

#include <cmath>
#include <cstring>

namespace {

void premultiplied(float out[4], const VGcolor& c) {
    out[0] = c.r * c.a;
    out[1] = c.g * c.a;
    out[2] = c.b * c.a;
    out[3] = c.a;
}

// A 2×3 transform as three matrix columns of four floats.
void as_columns(float m[12], const float t[6]) {
    const float columns[12] = {t[0], t[1], 0, 0, t[2], t[3], 0, 0, t[4], t[5], 1, 0};
    std::memcpy(m, columns, sizeof(columns));
}

} // namespace

void mvg_inverse_transform(float inverse[6], const float t[6]) {
    const double t0 = t[0], t1 = t[1], t2 = t[2], t3 = t[3], t4 = t[4], t5 = t[5];
    const double det = t0 * t3 - t2 * t1;
    if (std::fabs(det) < 1e-6) {
        const float identity[6] = {1, 0, 0, 1, 0, 0};
        std::memcpy(inverse, identity, sizeof(identity));
        return;
    }
    inverse[0] = static_cast<float>(t3 / det);
    inverse[2] = static_cast<float>(-t2 / det);
    inverse[4] = static_cast<float>((t2 * t5 - t3 * t4) / det);
    inverse[1] = static_cast<float>(-t1 / det);
    inverse[3] = static_cast<float>(t0 / det);
    inverse[5] = static_cast<float>((t1 * t4 - t0 * t5) / det);
}

int mvg_convert_paint(MVGfragUniforms* frag, const VGpaint& paint, const VGscissor& scissor,
                      float width, float fringe, float strokeThr, const MVGimageInfo* image,
                      bool imageMissing) {
    std::memset(frag, 0, sizeof(*frag));
    if (imageMissing)
        return 0;
    premultiplied(frag->innerCol, paint.innerColor);
    premultiplied(frag->outerCol, paint.outerColor);
    if (scissor.extent[0] < -0.5f || scissor.extent[1] < -0.5f) {
        frag->scissorExt[0] = frag->scissorExt[1] = 1.0f;
        frag->scissorScale[0] = frag->scissorScale[1] = 1.0f;
    } else {
        float inverse[6];
        mvg_inverse_transform(inverse, scissor.xform);
        as_columns(frag->scissorMat, inverse);
        const float* t = scissor.xform;
        frag->scissorExt[0] = scissor.extent[0];
        frag->scissorExt[1] = scissor.extent[1];
        frag->scissorScale[0] = std::sqrt(t[0] * t[0] + t[2] * t[2]) / fringe;
        frag->scissorScale[1] = std::sqrt(t[1] * t[1] + t[3] * t[3]) / fringe;
    }
    frag->extent[0] = paint.extent[0];
    frag->extent[1] = paint.extent[1];
    frag->strokeMult = (width * 0.5f + fringe * 0.5f) / fringe;
    frag->strokeThr = strokeThr;
    float inverse[6];
    if (image) {
        const float* t = paint.xform;
        const float h = paint.extent[1];
        const float flipped[6] = {t[0], t[1], -t[2], -t[3], t[4] + t[2] * h, t[5] + t[3] * h};
        mvg_inverse_transform(inverse, (image->flags & VG_IMAGE_FLIPY) ? flipped : t);
        frag->type = kMVGshaderImage;
        if (image->type == VG_TEXTURE_RGBA)
            frag->texType = (image->flags & VG_IMAGE_PREMULTIPLIED) ? 0 : 1;
        else
            frag->texType = 2;
    } else {
        frag->type = kMVGshaderGradient;
        frag->radius = paint.radius;
        frag->feather = paint.feather;
        mvg_inverse_transform(inverse, paint.xform);
    }
    as_columns(frag->paintMat, inverse);
    return 1;
}
