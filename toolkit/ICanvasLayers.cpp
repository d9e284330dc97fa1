// Off-screen layers: drawing targets a control fills once and then reuses,
// with a drop shadow made from the layer's alpha.
#include "toolkit/ICanvas.h"

#include <cmath>
#include <vector>

namespace vx::ui {

void ICanvas::BeginOffscreenLayer(IControl* owner, const IRECT& r, bool cacheable) {
    const float s = GetTotalScale();
    const IRECT aligned{std::floor(r.L * s) / s, std::floor(r.T * s) / s, std::ceil(r.R * s) / s,
                        std::ceil(r.B * s) / s};
    const int w = static_cast<int>(std::ceil(s * std::ceil(aligned.W())));
    const int h = static_cast<int>(std::ceil(s * std::ceil(aligned.H())));
    auto layer = std::make_unique<IOffscreenLayer>();
    layer->bitmap = CreateOffscreenBitmap(w, h, cacheable, screenScale, drawScale);
    layer->owner = owner;
    layer->ownerRect = owner ? owner->GetRECT() : IRECT();
    layer->bounds = aligned;
    PushLayerTarget(std::move(layer));
}

ILayerPtr ICanvas::FinishOffscreenLayer() {
    return PopLayerTarget();
}

void ICanvas::PushLayerTarget(ILayerPtr layer) {
    const IRECT bounds = layer->bounds;
    layerStack.push_back(std::move(layer));
    RetargetToTopLayer();
    transform = IAffineMatrix();
    PathSetTransform(transform);
    SetClipRect(bounds);
    PathSetTransform(transform);
    PathReset();
}

ILayerPtr ICanvas::PopLayerTarget() {
    ILayerPtr top;
    if (!layerStack.empty()) {
        top = std::move(layerStack.back());
        layerStack.pop_back();
    }
    RetargetToTopLayer();
    transform = IAffineMatrix();
    PathSetTransform(transform);
    SetClipRect(layerStack.empty() ? clipRect : layerStack.back()->bounds);
    PathReset();
    return top;
}

bool ICanvas::IsLayerCurrent(IOffscreenLayer* layer) {
    if (!layer || !layer->bitmap)
        return false;
    if (layer->owner && !(layer->owner->GetRECT() == layer->ownerRect)) {
        layer->ownerRect = layer->owner->GetRECT();
        layer->invalidated = true;
    }
    if (layer->invalidated)
        return false;
    return layer->bitmap->drawScale == drawScale && layer->bitmap->scale == screenScale;
}

void ICanvas::DrawOffscreenLayer(const IOffscreenLayer& layer, const IBlendSetting* blend) {
    PathMatrixPush();
    PathMatrixReset(false);
    DrawBitmapRegion(IBitmapHandle(layer.bitmap.get(), "", 1, false), layer.bounds, 0, 0, blend);
    PathMatrixPop();
}

void ICanvas::DrawFittedLayer(const IOffscreenLayer& layer, const IRECT& bounds,
                              const IBlendSetting* blend) {
    const float w = layer.bounds.W(), h = layer.bounds.H();
    if (w <= 0.f || h <= 0.f)
        return;
    PathMatrixPush();
    PathMatrixTranslate(bounds.L, bounds.T);
    PathMatrixScale(bounds.W() / w, bounds.H() / h);
    DrawBitmapRegion(IBitmapHandle(layer.bitmap.get(), "", 1, false), {0.f, 0.f, w, h}, 0, 0,
                     blend);
    PathMatrixPop();
}

void ICanvas::DrawRotatedLayer(const IOffscreenLayer& layer, double angle) {
    PathMatrixPush();
    PathMatrixReset(false);
    DrawRotatedBitmap(IBitmapHandle(layer.bitmap.get(), "", 1, false), layer.bounds.MW(),
                      layer.bounds.MH(), angle, nullptr);
    PathMatrixPop();
}

namespace {

// One blur pass over `rows` rows of `length` samples read with a stride; the
// result is written transposed (row r, column x goes to row x, column r).
void BlurAlphaRows(const uint8_t* src, int rows, int length, int rowStride, int sampleStride,
                   uint8_t* dst, int dstRowStride, int dstSampleStride,
                   const std::vector<uint8_t>& weight, int norm) {
    const int n = static_cast<int>(weight.size());
    for (int r = 0; r < rows; ++r) {
        const uint8_t* row = src + r * rowStride;
        for (int x = 0; x < length; ++x) {
            int acc = 0;
            for (int j = -(n - 1); j <= n - 1; ++j) {
                const int at = x + j;
                if (at >= 0 && at < length) // samples outside the row count as 0
                    acc += row[at * sampleStride] * weight[static_cast<size_t>(j < 0 ? -j : j)];
            }
            dst[x * dstRowStride + r * dstSampleStride] =
                static_cast<uint8_t>(std::min(255, acc / norm));
        }
    }
}

} // namespace

void ICanvas::DropShadowOnLayer(IOffscreenLayer& layer, const ILayerShadow& shadow) {
    if (!layer.bitmap)
        return;
    VxHeapBuf pixels(4096);
    ReadLayerPixels(layer, pixels);
    const int w = layer.bitmap->width, h = layer.bitmap->height;
    if (pixels.GetSize() == 0 || w <= 0 || h <= 0 || pixels.GetSize() < w * h * 4)
        return;
    const APIBitmap& bmp = *layer.bitmap;
    const float k = std::max(1.f, bmp.scale * bmp.drawScale * shadow.blurSize + 1.f);
    const int n = static_cast<int>(std::ceil(k));
    std::vector<uint8_t> weight(static_cast<size_t>(n));
    int norm = 0;
    for (int i = 0; i < n; ++i) {
        weight[static_cast<size_t>(i)] =
            static_cast<uint8_t>(std::lround(255.0 * std::exp(-double(i * i) * 4.5 / (k * k))));
        norm += (i == 0 ? 1 : 2) * weight[static_cast<size_t>(i)];
    }
    if (norm == 0)
        return;
    const int stride = pixels.GetSize() / h;
    uint8_t* bytes = static_cast<uint8_t*>(pixels.Get()) + AlphaByteIndex();
    // Rows stay in their stored order; a bottom-up layer is blurred the same way.
    std::vector<uint8_t> temp(static_cast<size_t>(w) * static_cast<size_t>(h));
    BlurAlphaRows(bytes, h, w, stride, 4, temp.data(), h, 1, weight, norm);
    BlurAlphaRows(temp.data(), w, h, h, 1, bytes, stride, 4, weight, norm);
    ApplyLayerShadow(layer, pixels, shadow);
}

} // namespace vx::ui
