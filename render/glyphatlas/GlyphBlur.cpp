#include "render/glyphatlas/GlyphBlur.h"

#include <cmath>

namespace {

constexpr int kAlphaPrecision = 16;
constexpr int kZeroPrecision = 7;

// One recursive pass along each line (column or row), forth and back.
void blur_pass(unsigned char* dst, int lines, int length, int lineStep, int pixelStep, int alpha) {
    for (int line = 0; line < lines; ++line) {
        unsigned char* p = dst + line * lineStep;
        int z = 0;
        for (int i = 1; i < length; ++i) {
            z += (alpha * ((static_cast<int>(p[i * pixelStep]) << kZeroPrecision) - z)) >>
                 kAlphaPrecision;
            p[i * pixelStep] = static_cast<unsigned char>(z >> kZeroPrecision);
        }
        p[(length - 1) * pixelStep] = 0;
        z = 0;
        for (int i = length - 2; i >= 0; --i) {
            z += (alpha * ((static_cast<int>(p[i * pixelStep]) << kZeroPrecision) - z)) >>
                 kAlphaPrecision;
            p[i * pixelStep] = static_cast<unsigned char>(z >> kZeroPrecision);
        }
        p[0] = 0;
    }
}

} // namespace

void glyph_blur(unsigned char* dst, int w, int h, int stride, int blur) {
    if (blur < 1 || w < 1 || h < 1)
        return;
    const float sigma = static_cast<float>(blur) * 0.57735f;
    const int alpha =
        static_cast<int>((1 << kAlphaPrecision) * (1.0f - std::exp(-2.3f / (sigma + 1.0f))));
    blur_pass(dst, w, h, 1, stride, alpha);
    blur_pass(dst, h, w, stride, 1, alpha);
    blur_pass(dst, w, h, 1, stride, alpha);
    blur_pass(dst, h, w, stride, 1, alpha);
}
